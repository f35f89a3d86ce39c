// SPDX-License-Identifier: MIT
// md5b64sum's command line: the options in md5sum's manner, their checks and the file names.
#ifndef MD5B64_FRONT_END_SUMOPTIONS_H
#define MD5B64_FRONT_END_SUMOPTIONS_H

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace md5b64 {

struct TSumOptions {
  bool Check = false;
  bool Tag = false;
  bool Zero = false;
  bool Hex = false;
  /// The marker asked for with -b (true) or -t (false); unset when neither was given.
  std::optional<bool> Binary;
  /// The part size of --etag; 0 when the option is not given.
  std::uint64_t ETagPartSize = 0;
  bool Quiet = false;
  bool Status = false;
  bool Warn = false;
  bool Strict = false;
  bool IgnoreMissing = false;
  bool Help = false;
  bool Version = false;
  std::vector<std::string> Files;
};

/// A command line that cannot be run. The message is shown after the program's name, and
/// followed by the hint to look at --help.
class ESumUsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

/// Reads a part size: a positive whole number of bytes with an optional K, M or G (either
/// case) for KiB, MiB or GiB. Nothing for anything else, or a size beyond 64 bits.
std::optional<std::uint64_t> ParsePartSize(std::string_view Text) noexcept;

/// Reads the arguments after the program's name. Long options may be shortened to any
/// unambiguous beginning, short ones grouped, and options and names mixed; "--" ends the
/// options. --help and --version end the reading where they stand. Raises ESumUsageError.
TSumOptions ParseSumOptions(const std::vector<std::string>& Args);

} // namespace md5b64

#endif
