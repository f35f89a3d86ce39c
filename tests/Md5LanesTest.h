// SPDX-License-Identifier: MIT
// What the MD5 lane tests share: every lane path this machine has, and a guard that puts the
// path back after a test forced one.
#ifndef MD5B64_TESTS_MD5LANESTEST_H
#define MD5B64_TESTS_MD5LANESTEST_H

#include "coders/internal/Md5Lanes.h"

#include <string>
#include <vector>

namespace md5b64::test {

inline std::vector<internal::TMd5LanesPath> Md5LanePaths() {
  using internal::TMd5LanesPath;
  std::vector<TMd5LanesPath> Paths;
  for (TMd5LanesPath Path : {TMd5LanesPath::Portable, TMd5LanesPath::Avx2, TMd5LanesPath::Avx512})
    if (internal::HasMd5LanesPath(Path))
      Paths.push_back(Path);
  return Paths;
}

inline std::string Md5LanePathName(internal::TMd5LanesPath Path) {
  switch (Path) {
  case internal::TMd5LanesPath::Avx512:
    return "AVX-512";
  case internal::TMd5LanesPath::Avx2:
    return "AVX2";
  default:
    return "plain";
  }
}

/// Puts back the path that was in use when it was made.
class TMd5LanesPathGuard {
public:
  TMd5LanesPathGuard() : FSaved(internal::Md5LanesPath()) {}
  ~TMd5LanesPathGuard() { internal::SetMd5LanesPath(FSaved); }
  TMd5LanesPathGuard(const TMd5LanesPathGuard&) = delete;
  TMd5LanesPathGuard& operator=(const TMd5LanesPathGuard&) = delete;

private:
  internal::TMd5LanesPath FSaved;
};

} // namespace md5b64::test

#endif
