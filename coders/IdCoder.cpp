// SPDX-License-Identifier: MIT
#include "coders/IdCoder.h"

#include "platform/IdGlobal.h"

namespace md5b64 {

std::string TIdEncoder::EncodeText(std::string_view Text) {
  TIdReadMemoryStream Stream(Text.data(), static_cast<std::int64_t>(Text.size()));
  return EncodeStream(Stream, NoLimit);
}

std::string TIdEncoder::EncodeStream(TStream&, std::int32_t) {
  throw EAbstractError();
}

void TIdDecoder::DecodeToStream(std::string_view, TStream&) {
  throw EAbstractError();
}

std::string TIdDecoder::DecodeText(std::string_view In) {
  TMemoryStream Stream;
  DecodeToStream(In, Stream);
  return Stream.Bytes();
}

} // namespace md5b64
