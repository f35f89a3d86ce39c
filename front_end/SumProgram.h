// SPDX-License-Identifier: MIT
// md5b64sum: Base64 MD5 digests of files and standard input, and checking lists of them.
#ifndef MD5B64_FRONT_END_SUMPROGRAM_H
#define MD5B64_FRONT_END_SUMPROGRAM_H

#include <string>
#include <vector>

namespace md5b64 {

/// The whole program on the arguments after its name. Returns the exit status: 0, or 1
/// after any failure (a usage error, a file that could not be read, a failed check, a
/// failed write).
int RunSum(const std::vector<std::string>& Args);

} // namespace md5b64

#endif
