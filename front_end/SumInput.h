// SPDX-License-Identifier: MIT
// The digest of one file or of standard input, read in constant memory.
#ifndef MD5B64_FRONT_END_SUMINPUT_H
#define MD5B64_FRONT_END_SUMINPUT_H

#include "front_end/SumDigest.h"

#include <cstdint>
#include <string>
#include <vector>

namespace md5b64 {

/// The digest text of each file in the form the options ask for.
enum class TSumForm { Base64, Hex, ETag };

/// Reads inputs through one buffer that it owns, so that memory does not grow with the
/// size of a file.
class TSumReader {
public:
  /// PartSize is the ETag's part size (unused by the other forms).
  TSumReader(TSumForm Form, std::uint64_t PartSize);

  /// Reads Name ("-" for standard input) to its end and sets Text to its digest. Returns 0
  /// or the error number of the open or the read; Opened tells which of them failed.
  int Digest(const std::string& Name, std::string& Text, bool& Opened);

private:
  TSumForm FForm;
  std::uint64_t FPartSize;
  std::vector<char> FBuffer;
  TMD5Digest FWhole;
  TMD5Digest FParts;
};

} // namespace md5b64

#endif
