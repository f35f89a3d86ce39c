// SPDX-License-Identifier: MIT
// Lets a test start and stop the coding modules without disturbing the tests after it.
#ifndef MD5B64_TESTS_MODULESTATEGUARD_H
#define MD5B64_TESTS_MODULESTATEGUARD_H

#include "coders/CodingModules.h"
#include "coders/IdCoderMIME.h"
#include "coders/IdCoderOld.h"
#include "platform/IdGlobal.h"
#include "platform/Modules.h"

#include <memory>
#include <string>

namespace md5b64::test {

/// Takes the process-wide objects of the coding modules aside while it lives (the registry
/// is moved out, so the test starts without one) and puts them back when it goes.
class TSavedModuleState {
public:
  TSavedModuleState()
      : FMimeAlphabet(MimeAlphabet), FMimeDecodeTable(MimeDecodeTable),
        FCoderRegistry(std::move(CoderRegistry)), FSearchText(SearchText) {}
  TSavedModuleState(const TSavedModuleState&) = delete;
  TSavedModuleState& operator=(const TSavedModuleState&) = delete;
  ~TSavedModuleState() {
    MimeAlphabet = FMimeAlphabet;
    MimeDecodeTable = FMimeDecodeTable;
    CoderRegistry = std::move(FCoderRegistry);
    SearchText = FSearchText;
  }

private:
  std::string FMimeAlphabet;
  TIdDecodeTable FMimeDecodeTable;
  std::unique_ptr<TIdCoderCollection> FCoderRegistry;
  TSearchText FSearchText;
};

/// The coding modules started for the length of a test, then shut down, with the
/// process-wide objects put back as they were before.
class TStartedCodingModules {
public:
  TStartedCodingModules() { FModules.Start(); }

private:
  // Declared first, so that it is destroyed last: after the modules' shutdown.
  TSavedModuleState FSaved;
  TModuleSequence FModules{CodingModules()};
};

} // namespace md5b64::test

#endif
