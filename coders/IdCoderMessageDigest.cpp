#include "coders/IdCoderMessageDigest.h"

#include "coders/internal/MdCompress.h"

#include <cstring>
#include <typeinfo>

namespace md5b64 {

using internal::StoreLE32;

const std::array<std::uint32_t, 64> Md5SineTable = {
    // clang-format off
    0xD76AA478, 0xE8C7B756, 0x242070DB, 0xC1BDCEEE, 0xF57C0FAF, 0x4787C62A, 0xA8304613, 0xFD469501,
    0x698098D8, 0x8B44F7AF, 0xFFFF5BB1, 0x895CD7BE, 0x6B901122, 0xFD987193, 0xA679438E, 0x49B40821,
    0xF61E2562, 0xC040B340, 0x265E5A51, 0xE9B6C7AA, 0xD62F105D, 0x02441453, 0xD8A1E681, 0xE7D3FBC8,
    0x21E1CDE6, 0xC33707D6, 0xF4D50D87, 0x455A14ED, 0xA9E3E905, 0xFCEFA3F8, 0x676F02D9, 0x8D2A4C8A,
    0xFFFA3942, 0x8771F681, 0x6D9D6122, 0xFDE5380C, 0xA4BEEA44, 0x4BDECFA9, 0xF6BB4B60, 0xBEBFBC70,
    0x289B7EC6, 0xEAA127FA, 0xD4EF3085, 0x04881D05, 0xD9D4D039, 0xE6DB99E5, 0x1FA27CF8, 0xC4AC5665,
    0xF4292244, 0x432AFF97, 0xAB9423A7, 0xFC93A039, 0x655B59C3, 0x8F0CCC92, 0xFFEFF47D, 0x85845DD1,
    0x6FA87E4F, 0xFE2CE6E0, 0xA3014314, 0x4E0811A1, 0xF7537E82, 0xBD3AF235, 0x2AD7D2BB, 0xEB86D391,
    // clang-format on
};

namespace {

// The test suite of RFC 1320 and RFC 1321, appendix A.5: inputs and digests.
struct TMdTestVector {
  const char* Input;
  const char* Md4Digest;
  const char* Md5Digest;
};

constexpr TMdTestVector MdTestVectors[] = {
    {"", "31D6CFE0D16AE931B73C59D7E0C089C0", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "BDE52CB31DE33E46245E05FBDBD6FB24", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "A448017AAF21D8525FC10AE87AA6729D", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "D9130A8164549FE818874806E1C7014B", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "D79E1C308AA5BBCDEEA8ED63DF412DA9",
     "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "043F8582F241DB351CE627E153E7F0E4", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "E33B4DDC9C38F2199C3E7B164FCC0536", "57edf4a22be3c955ac49da2e2107b67a"},
};

// Each input line, then two blanks and the digest its suite gives for it.
void AppendTestVectors(TStrings& AList, const char* TMdTestVector::*Digest) {
  for (const TMdTestVector& Vector : MdTestVectors) {
    AList.Add(Vector.Input);
    AList.Add(std::string("  ") + Vector.*Digest);
  }
}

} // namespace

TIdCoderMD4::TIdCoderMD4(TComponent* AOwner) : TIdCoder(AOwner) {
  ApplyChunkSize(BlockSize);
  SetAppendLineBreak(false);
}

template <class T> bool TIdCoderMD4::IsExactly() const noexcept {
  return typeid(*this) == typeid(T);
}

void TIdCoderMD4::Reset() {
  TIdCoder::Reset();
  FChainState = InitialChainState;
  FMessageLength = 0;
}

std::uint32_t TIdCoderMD4::RoundF(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
  return (X & Y) | (~X & Z);
}

std::uint32_t TIdCoderMD4::RoundG(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
  return (X & Y) | (X & Z) | (Y & Z);
}

std::uint32_t TIdCoderMD4::RoundH(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
  return X ^ Y ^ Z;
}

void TIdCoderMD4::ListTestVectors(TStrings& AList) const {
  AppendTestVectors(AList, &TMdTestVector::Md4Digest);
}

void TIdCoderMD4::CodeChunk() {
  const auto* Block = reinterpret_cast<const unsigned char*>(FChunk.data());
  // Only the exact class may skip its virtual round functions: a derived class that
  // replaces one must see it called at every step.
  if (IsExactly<TIdCoderMD4>())
    internal::Md4Compress(FChainState, Block, internal::TMd4InlineRounds{});
  else
    internal::Md4Compress(FChainState, Block, internal::TVirtualRounds<TIdCoderMD4>{*this});
  FMessageLength += BlockSize;
  FChunkFill = 0;
}

void TIdCoderMD4::CodeFinalChunk() {
  FFinishing = true;
  if (FChunkFill >= BlockSize)
    CodeChunk();
  // RFC 1321, section 3.2: the length is that of the message before padding, in bits,
  // modulo 2^64.
  const std::uint64_t BitLength = (FMessageLength + FChunkFill) * 8U;
  auto* Block = reinterpret_cast<unsigned char*>(FChunk.data());

  // Section 3.1: a single 1 bit, then zeros up to 56 bytes modulo 64.
  Block[FChunkFill++] = 0x80;
  if (FChunkFill > BlockSize - 8) {
    std::memset(Block + FChunkFill, 0, BlockSize - FChunkFill);
    FChunkFill = BlockSize;
    CodeChunk();
  }
  std::memset(Block + FChunkFill, 0, BlockSize - 8 - FChunkFill);
  StoreLE32(Block + 56, static_cast<std::uint32_t>(BitLength));
  StoreLE32(Block + 60, static_cast<std::uint32_t>(BitLength >> 32));
  FChunkFill = BlockSize;
  CodeChunk();

  // Section 3.5: A, B, C, D, each least significant byte first.
  unsigned char Out[DigestSize];
  for (std::size_t I = 0; I < FChainState.size(); ++I)
    StoreLE32(Out + 4 * I, FChainState[I]);
  EmitOutput(MakePiece(reinterpret_cast<const char*>(Out), DigestSize));
}

std::uint32_t TIdCoderMD5::RoundG(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
  return (X & Z) | (Y & ~Z);
}

std::uint32_t TIdCoderMD5::RoundI(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
  return Y ^ (X | ~Z);
}

void TIdCoderMD5::ListTestVectors(TStrings& AList) const {
  AppendTestVectors(AList, &TMdTestVector::Md5Digest);
}

void TIdCoderMD5::CodeChunk() {
  const auto* Block = reinterpret_cast<const unsigned char*>(FChunk.data());
  if (IsExactly<TIdCoderMD5>())
    internal::Md5Compress(FChainState, Block, internal::TMd5InlineRounds{});
  else
    internal::Md5Compress(FChainState, Block, internal::TVirtualRounds<TIdCoderMD5>{*this});
  FMessageLength += BlockSize;
  FChunkFill = 0;
}

} // namespace md5b64
