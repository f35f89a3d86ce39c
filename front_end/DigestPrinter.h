// SPDX-License-Identifier: MIT
// The program: the Base64 form of the MD5 digest of its first argument.
#ifndef MD5B64_FRONT_END_DIGESTPRINTER_H
#define MD5B64_FRONT_END_DIGESTPRINTER_H

#include "coders/IdCoderMIME.h"
#include "coders/IdCoderMessageDigest.h"
#include "platform/Modules.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace md5b64 {

/// Returns the part of Text before the first Delimiter; with Remove on, Text keeps only
/// what follows that Delimiter. The one-byte delimiter holding the byte 0 is searched through
/// the whole text; any other delimiter with the multibyte-aware search, which stops at the
/// first zero byte of either text. Without a match the head is the whole text (and Text
/// becomes empty when Remove is on).
std::string SplitAt(std::string& Text, std::string_view Delimiter, bool Remove);

/// How the printer makes its two objects; a test can hand in objects that fail.
struct TDigestPrinterFactory {
  std::function<std::unique_ptr<TIdCoderMD5>()> CreateCoder;
  std::function<std::unique_ptr<TIdEncoderMIME>()> CreateEncoder;
};

/// Writes the 24-character Base64 form of the MD5 digest of Argument to standard output,
/// with no line end; nothing for the empty text. The result is written, flushed and
/// checked even when a step fails; the failure then reaches the caller (a failing output
/// check takes its place).
void PrintDigest(std::string_view Argument, const TDigestPrinterFactory& Factory = {});

/// The program's modules, in start-up order.
std::span<const TModuleStep> ProgramModules() noexcept;

/// The whole program: starts the modules, prints the digest of the first argument, reports
/// a failure and shuts down. Returns the exit status. Modules and Factory are for tests that
/// inject failures; the program passes the defaults.
int RunDigestPrinter(int ArgCount, char** Args,
                     std::span<const TModuleStep> Modules = ProgramModules(),
                     const TDigestPrinterFactory& Factory = {});

} // namespace md5b64

#endif
