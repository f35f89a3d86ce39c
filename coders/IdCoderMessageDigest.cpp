// SPDX-License-Identifier: MIT
#include "coders/IdCoderMessageDigest.h"

#include "coders/internal/Md2Transform.h"
#include "coders/internal/MdCompress.h"
#include "coders/internal/MdFinal.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

namespace md5b64 {

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

const std::array<std::uint8_t, 256> PiSubstitution = {
    // clang-format off
     41,  46,  67, 201, 162, 216, 124,   1,  61,  54,  84, 161, 236, 240,   6,  19,
     98, 167,   5, 243, 192, 199, 115, 140, 152, 147,  43, 217, 188,  76, 130, 202,
     30, 155,  87,  60, 253, 212, 224,  22, 103,  66, 111,  24, 138,  23, 229,  18,
    190,  78, 196, 214, 218, 158, 222,  73, 160, 251, 245, 142, 187,  47, 238, 122,
    169, 104, 121, 145,  21, 178,   7,  63, 148, 194,  16, 137,  11,  34,  95,  33,
    128, 127,  93, 154,  90, 144,  50,  39,  53,  62, 204, 231, 191, 247, 151,   3,
    255,  25,  48, 179,  72, 165, 181, 209, 215,  94, 146,  42, 172,  86, 170, 198,
     79, 184,  56, 210, 150, 164, 125, 182, 118, 252, 107, 226, 156, 116,   4, 241,
     69, 157, 112,  89, 100, 113, 135,  32, 134,  91, 207, 101, 230,  45, 168,   2,
     27,  96,  37, 173, 174, 176, 185, 246,  28,  70,  97, 105,  52,  64, 126,  15,
     85,  71, 163,  35, 221,  81, 175,  58, 195,  92, 249, 206, 186, 197, 234,  38,
     44,  83,  13, 110, 133,  40, 132,   9, 211, 223, 205, 244,  65, 129,  77,  82,
    106, 220,  55, 200, 108, 193, 171, 250,  36, 225, 123,   8,  12, 189, 177,  74,
    120, 136, 149, 139, 227,  99, 232, 109, 233, 203, 213, 254,  59,   0,  29,  57,
    242, 239, 183,  14, 102,  88, 208, 228, 166, 119, 114, 248, 235, 117,  75,  10,
     49,  68,  80, 180, 143, 237,  31,  26, 219, 153, 141,  51, 159,  17, 131,  20,
    // clang-format on
};

namespace {

// The test suite of RFC 1319, RFC 1320 and RFC 1321, appendix A.5: the same inputs for
// all three, and their digests.
struct TMdTestVector {
  const char* Input;
  const char* Md2Digest;
  const char* Md4Digest;
  const char* Md5Digest;
};

constexpr TMdTestVector MdTestVectors[] = {
    {"", "8350E5A3E24C153DF2275C9F80692773", "31D6CFE0D16AE931B73C59D7E0C089C0",
     "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "32EC01EC4A6DAC72C0AB96FB34C0B5D1", "BDE52CB31DE33E46245E05FBDBD6FB24",
     "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "DA853B0D3F88D99B30283A69E6DED6BB", "A448017AAF21D8525FC10AE87AA6729D",
     "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "AB4F496BFB2A530B219FF33031FE06B0", "D9130A8164549FE818874806E1C7014B",
     "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "4E8DDFF3650292AB5A4108C3AA47940B",
     "D79E1C308AA5BBCDEEA8ED63DF412DA9", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "DA33DEF2A42DF13975352846C30338CD", "043F8582F241DB351CE627E153E7F0E4",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "D5976F79D83D3A0DC9806C3C66F3EFD8", "E33B4DDC9C38F2199C3E7B164FCC0536",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

// Each input line, then two blanks and the digest its suite gives for it.
void AppendTestVectors(TStrings& List, const char* TMdTestVector::*Digest) {
  for (const TMdTestVector& Vector : MdTestVectors) {
    List.Add(Vector.Input);
    List.Add(std::string("  ") + Vector.*Digest);
  }
}

// Compresses the chunk of Coder, whose class is TExact or derived from it, into State. Only
// the exact class may skip its virtual round functions: a derived class that replaces one
// must see it called at every step.
template <class TExact>
void CompressChunk(TIdMDChainState& State, const std::string& Chunk, const TExact& Coder,
                   void (*Exact)(TIdMDChainState&, const unsigned char*) noexcept,
                   void (*Virtual)(TIdMDChainState&, const unsigned char*, const TExact&)) {
  const auto* Block = reinterpret_cast<const unsigned char*>(Chunk.data());
  if (typeid(Coder) == typeid(TExact))
    Exact(State, Block);
  else
    Virtual(State, Block, Coder);
}

} // namespace

TIdCoderMD4::TIdCoderMD4(TComponent* Owner) : TIdCoder(Owner) {
  ApplyChunkSize(BlockSize);
  SetAppendLineBreak(false);
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

void TIdCoderMD4::ListTestVectors(TStrings& List) const {
  AppendTestVectors(List, &TMdTestVector::Md4Digest);
}

void TIdCoderMD4::CodeChunk() {
  CompressChunk(FChainState, FChunk, *this, internal::CompressMD4, internal::CompressMD4Virtual);
  FMessageLength += BlockSize;
  FChunkFill = 0;
}

void TIdCoderMD4::CodeFinalChunk() {
  FFinishing = true;
  if (FChunkFill >= BlockSize)
    CodeChunk();
  auto* Block = reinterpret_cast<unsigned char*>(FChunk.data());
  internal::MdPadAndCompress(Block, FChunkFill, FMessageLength + FChunkFill, [this] {
    FChunkFill = BlockSize;
    CodeChunk();
  });
  unsigned char Out[DigestSize];
  internal::MdStoreDigest(FChainState, Out);
  EmitOutput(std::string_view(reinterpret_cast<const char*>(Out), DigestSize));
}

std::uint32_t TIdCoderMD5::RoundG(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
  return (X & Z) | (Y & ~Z);
}

std::uint32_t TIdCoderMD5::RoundI(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
  return Y ^ (X | ~Z);
}

void TIdCoderMD5::ListTestVectors(TStrings& List) const {
  AppendTestVectors(List, &TMdTestVector::Md5Digest);
}

void TIdCoderMD5::CodeChunk() {
  CompressChunk(FChainState, FChunk, *this, internal::CompressMD5, internal::CompressMD5Virtual);
  FMessageLength += BlockSize;
  FChunkFill = 0;
}

TIdCoderMD2::TIdCoderMD2(TComponent* Owner) : TIdCoder(Owner) {
  ApplyChunkSize(BlockSize);
  SetAppendLineBreak(false);
}

void TIdCoderMD2::Reset() {
  TIdCoder::Reset();
  FChecksum.fill(0);
  FChecksumLink = 0;
  FDigestValue.fill(0);
  FWorkArea.fill(0);
}

void TIdCoderMD2::ListTestVectors(TStrings& List) const {
  AppendTestVectors(List, &TMdTestVector::Md2Digest);
}

void TIdCoderMD2::CodeChunk() {
  const auto* Block = reinterpret_cast<const std::uint8_t*>(FChunk.data());
  internal::Md2ChecksumStep(FChecksum, FChecksumLink, Block);
  internal::Md2Transform(FWorkArea, Block);
  std::copy_n(FWorkArea.begin(), FDigestValue.size(), FDigestValue.begin());
  FChunkFill = 0;
}

void TIdCoderMD2::CodeFinalChunk() {
  FFinishing = true;
  if (FChunkFill >= BlockSize)
    CodeChunk();
  auto* Block = reinterpret_cast<std::uint8_t*>(FChunk.data());

  // Section 3.1: n bytes of value n complete the block, a whole block of 16 when the
  // message fills its blocks exactly.
  const auto Pad = static_cast<std::uint8_t>(BlockSize - FChunkFill);
  std::fill(Block + FChunkFill, Block + BlockSize, Pad);
  FChunkFill = BlockSize;
  CodeChunk();

  // Section 3.2: the checksum, as it stands after the pad block, is the last block.
  std::copy(FChecksum.begin(), FChecksum.end(), Block);
  FChunkFill = BlockSize;
  CodeChunk();

  EmitOutput(std::string_view(reinterpret_cast<const char*>(FDigestValue.data()), DigestSize));
}

void InitializeIdCoderMessageDigest() {
  const struct {
    TIdCoderClass CoderClass;
    std::string_view TransferEncoding;
  } Digests[] = {
      {CoderClassOf<TIdCoderMD2>("TIdCoderMD2"), "x-rsa-md2"},
      {CoderClassOf<TIdCoderMD4>("TIdCoderMD4"), "x-rsa-md4"},
      {CoderClassOf<TIdCoderMD5>("TIdCoderMD5"), "x-rsa-md5"},
  };
  for (const auto& Digest : Digests) {
    RegisterCoder(Digest.CoderClass, 0, 0, "", Digest.TransferEncoding);
    RegisterCoder(Digest.CoderClass, 128, 0, "", Digest.TransferEncoding);
  }
}

void FinalizeIdCoderMessageDigest() {}

} // namespace md5b64
