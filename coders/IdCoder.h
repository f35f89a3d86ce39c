// SPDX-License-Identifier: MIT
// IdCoder: the stream encoder and decoder bases of the three-to-four text coders, and the
// coding modules' error class.
#ifndef MD5B64_CODERS_IDCODER_H
#define MD5B64_CODERS_IDCODER_H

#include "md5b64/Export.h"

#include "platform/Component.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace md5b64 {

/// The coding modules' own error class.
class MD5B64_API EIdException : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EIdException"; }
};

/// Base of the stream encoders.
class MD5B64_API TIdEncoder : public TIdBaseComponent {
public:
  /// The byte limit that means "no limit".
  static constexpr std::int32_t NoLimit = 2147483647;

  using TIdBaseComponent::TIdBaseComponent;

  /// The encoding of all the bytes of Text. The text is read in place, not copied.
  std::string EncodeText(std::string_view Text);
  /// Encodes at most Bytes bytes read from Stream's position, which advances past them.
  /// Raises EAbstractError in this class, which cannot encode.
  virtual std::string EncodeStream(TStream& Stream, std::int32_t Bytes);
};

/// Base of the stream decoders.
class MD5B64_API TIdDecoder : public TIdBaseComponent {
public:
  using TIdBaseComponent::TIdBaseComponent;

  /// Decodes In and writes the bytes to Dest at its position, in a single write.
  /// Raises EAbstractError in this class, which cannot decode.
  virtual void DecodeToStream(std::string_view In, TStream& Dest);

  /// The bytes that DecodeToStream makes of In, as a text: the counterpart of
  /// TIdEncoder::EncodeText. Raises what DecodeToStream raises.
  std::string DecodeText(std::string_view In);
};

} // namespace md5b64

#endif
