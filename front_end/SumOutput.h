// SPDX-License-Identifier: MIT
// md5b64sum's standard output, buffered and checked, and its messages on standard error.
#ifndef MD5B64_FRONT_END_SUMOUTPUT_H
#define MD5B64_FRONT_END_SUMOUTPUT_H

#include <string>
#include <string_view>

namespace md5b64 {

/// Standard output through a buffer. The first failing write is kept and ends all output;
/// Close reports it. On a terminal every line goes out as soon as it ends.
class TSumOutput {
public:
  TSumOutput();
  void Write(std::string_view Text);
  /// Ends a line: writes Delimiter, and flushes on a terminal.
  void EndLine(char Delimiter);
  void Flush();
  /// Flushes; the error number of the first failed write, or 0.
  int Close();

private:
  std::string FBuffer;
  bool FLineBuffered = false;
  int FError = 0;
};

/// Writes "md5b64sum: ", Message and a line feed to standard error.
void ReportError(std::string_view Message);

} // namespace md5b64

#endif
