// SPDX-License-Identifier: MIT
// md5b64sum: Base64 MD5 digests of files and standard input, and checking lists of them.
#include "front_end/SumProgram.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::vector<std::string> Args;
  for (int Index = 1; Index < argc; ++Index)
    Args.emplace_back(argv[Index]);
  return md5b64::RunSum(Args);
}
