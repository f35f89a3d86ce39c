// SPDX-License-Identifier: MIT
#include "front_end/SumDigest.h"

#include "coders/IdCoderMIME.h"
#include "coders/IdCoderMessageDigest.h"

#include <cstring>

namespace md5b64 {

struct TSumMD5::TState {
  TIdCoderMD5 Coder;
};

TSumMD5::TSumMD5() : FState(std::make_unique<TState>()) {
  FState->Coder.SetDropNotices(true);
}

TSumMD5::~TSumMD5() = default;

void TSumMD5::Update(const char* Data, std::size_t Count) {
  FState->Coder.FeedText(std::string_view(Data, Count));
}

TSumDigestBytes TSumMD5::Finish() {
  const std::string Output = FState->Coder.FinishInput();
  // The coder queues its digest as "0;" and the 16 bytes.
  TSumDigestBytes Digest{};
  if (Output.size() == 2 + Digest.size())
    std::memcpy(Digest.data(), Output.data() + 2, Digest.size());
  Reset();
  return Digest;
}

void TSumMD5::Reset() {
  FState->Coder.Reset();
}

std::string DigestToBase64(const TSumDigestBytes& Digest) {
  TIdEncoderMIME Encoder;
  return Encoder.EncodeText(
      std::string_view(reinterpret_cast<const char*>(Digest.data()), Digest.size()));
}

std::string DigestToHex(const TSumDigestBytes& Digest) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string Text;
  for (const std::uint8_t Byte : Digest) {
    Text += Digits[Byte >> 4];
    Text += Digits[Byte & 15];
  }
  return Text;
}

namespace {

int HexValue(char Digit) noexcept {
  if (Digit >= '0' && Digit <= '9')
    return Digit - '0';
  if (Digit >= 'a' && Digit <= 'f')
    return Digit - 'a' + 10;
  if (Digit >= 'A' && Digit <= 'F')
    return Digit - 'A' + 10;
  return -1;
}

} // namespace

bool DigestFromText(std::string_view Text, TSumDigestBytes& Digest) {
  if (Text.size() == 2 * Digest.size()) {
    for (std::size_t Index = 0; Index < Digest.size(); ++Index) {
      const int High = HexValue(Text[2 * Index]);
      const int Low = HexValue(Text[2 * Index + 1]);
      if (High < 0 || Low < 0)
        return false;
      Digest[Index] = static_cast<std::uint8_t>(High * 16 + Low);
    }
    return true;
  }
  if (Text.size() != 24)
    return false;
  // Strict: only the text the encoder itself writes for some 16 bytes is a digest.
  std::string Bytes;
  try {
    TIdDecoderMIME Decoder;
    Bytes = Decoder.DecodeText(Text);
  } catch (const std::exception&) {
    return false;
  }
  if (Bytes.size() != Digest.size())
    return false;
  std::memcpy(Digest.data(), Bytes.data(), Digest.size());
  return DigestToBase64(Digest) == Text;
}

} // namespace md5b64
