// SPDX-License-Identifier: MIT
#include "platform/CommandLine.h"

#include "platform/internal/OsCommandLine.h"

namespace md5b64 {

namespace {

bool IsSeparator(unsigned char Byte) {
  return Byte >= 1 && Byte <= 32;
}

// Skips separators and empty quoted arguments before a piece.
std::size_t SkipToPiece(std::string_view Line, std::size_t At) {
  for (;;) {
    while (At < Line.size() && IsSeparator(static_cast<unsigned char>(Line[At])))
      ++At;
    if (At + 1 < Line.size() && Line[At] == '"' && Line[At + 1] == '"')
      At += 2;
    else
      return At;
  }
}

// Reads one piece starting at At; returns the position after it.
std::size_t ReadPiece(std::string_view Line, std::size_t At, TLeadBytePredicate IsLeadByte,
                      std::string* Piece) {
  bool Quoted = false;
  while (At < Line.size()) {
    const unsigned char Byte = static_cast<unsigned char>(Line[At]);
    if (Byte == '"') {
      Quoted = !Quoted;
      ++At;
      continue;
    }
    if (!Quoted && Byte <= 32)
      break;
    // A double-byte character moves as one; a lead byte at the very end stands alone.
    const std::size_t Width = (IsLeadByte(Byte) && At + 1 < Line.size()) ? 2 : 1;
    if (Piece != nullptr)
      Piece->append(Line.substr(At, Width));
    At += Width;
  }
  return At;
}

} // namespace

std::string GetParamFromCommandLine(std::string_view CommandLine, int Index,
                                    TLeadBytePredicate IsLeadByte) {
  const std::string_view Line = UpToFirstZero(CommandLine);
  if (Index < 0)
    return {};
  std::size_t At = 0;
  for (int Piece = 0;; ++Piece) {
    At = SkipToPiece(Line, At);
    if (At >= Line.size())
      return {};
    if (Piece == Index) {
      std::string Result;
      ReadPiece(Line, At, IsLeadByte, &Result);
      return Result;
    }
    At = ReadPiece(Line, At, IsLeadByte, nullptr);
  }
}

namespace {

TProgramArguments ProgramArguments;

} // namespace

void SetProgramArguments(int ArgCount, char** Args) noexcept {
  ProgramArguments = {ArgCount, Args};
}

std::string ParamStr(int Index) {
  return OsParamStr(Index, ProgramArguments);
}

} // namespace md5b64
