// SPDX-License-Identifier: MIT
#include "front_end/SumInput.h"

#include "platform/internal/OsFiles.h"

#include <algorithm>

namespace md5b64 {

namespace {

// Large enough that the system calls cost little beside the digest, small enough to stay
// in the cache.
constexpr std::size_t ReadSize = 128 * 1024;

} // namespace

TSumReader::TSumReader(TSumForm Form, std::uint64_t PartSize)
    : FForm(Form), FPartSize(PartSize), FBuffer(ReadSize) {}

int TSumReader::Digest(const std::string& Name, std::string& Text, bool& Opened) {
  TOsInputFile File = OsStdInFile();
  Opened = true;
  if (Name != "-") {
    const int Error = OsOpenInputFile(Name, File);
    if (Error != 0) {
      Opened = false;
      return Error;
    }
  }
  FWhole.Reset();
  FParts.Reset();
  // For an ETag: FWhole holds the part being read, FParts the digests of the parts done.
  std::uint64_t PartCount = 0;
  std::uint64_t PartFill = 0;
  int Error = 0;
  for (;;) {
    std::size_t Got = 0;
    Error = OsReadInputFile(File, FBuffer.data(), FBuffer.size(), Got);
    if (Error != 0 || Got == 0)
      break;
    if (FForm != TSumForm::ETag) {
      FWhole.Update(std::string_view(FBuffer.data(), Got));
      continue;
    }
    const char* Data = FBuffer.data();
    while (Got > 0) {
      if (PartFill == FPartSize) {
        FParts.Update(std::span<const std::uint8_t>(FWhole.Finish()));
        FWhole.Reset();
        ++PartCount;
        PartFill = 0;
      }
      const std::size_t Take =
          static_cast<std::size_t>(std::min<std::uint64_t>(Got, FPartSize - PartFill));
      FWhole.Update(std::string_view(Data, Take));
      PartFill += Take;
      Data += Take;
      Got -= Take;
    }
  }
  OsCloseInputFile(File);
  if (Error != 0)
    return Error;

  const TDigestBytes Last = FWhole.Finish();
  switch (FForm) {
  case TSumForm::Base64:
    Text = DigestToBase64(Last);
    break;
  case TSumForm::Hex:
    Text = DigestToHex(Last);
    break;
  case TSumForm::ETag:
    // One part (or none) is uploaded whole, and its ETag is the plain MD5.
    if (PartCount == 0) {
      Text = DigestToHex(Last);
    } else {
      FParts.Update(std::span<const std::uint8_t>(Last));
      Text = DigestToHex(FParts.Finish()) + "-" + std::to_string(PartCount + 1);
    }
    break;
  }
  return 0;
}

} // namespace md5b64
