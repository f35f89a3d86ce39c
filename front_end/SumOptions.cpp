// SPDX-License-Identifier: MIT
#include "front_end/SumOptions.h"

#include <array>
#include <limits>

namespace md5b64 {

namespace {

enum class TOptionId {
  Binary,
  Check,
  ETag,
  Help,
  Hex,
  IgnoreMissing,
  Quiet,
  Status,
  Strict,
  Tag,
  Text,
  Version,
  Warn,
  Zero,
};

struct TLongOption {
  std::string_view Name;
  TOptionId Id;
  bool TakesValue;
};

// In the order that --help lists them, which is also the order an ambiguity is reported in.
constexpr std::array<TLongOption, 14> LongOptions{{
    {"binary", TOptionId::Binary, false},
    {"check", TOptionId::Check, false},
    {"etag", TOptionId::ETag, true},
    {"hex", TOptionId::Hex, false},
    {"tag", TOptionId::Tag, false},
    {"text", TOptionId::Text, false},
    {"zero", TOptionId::Zero, false},
    {"ignore-missing", TOptionId::IgnoreMissing, false},
    {"quiet", TOptionId::Quiet, false},
    {"status", TOptionId::Status, false},
    {"strict", TOptionId::Strict, false},
    {"warn", TOptionId::Warn, false},
    {"help", TOptionId::Help, false},
    {"version", TOptionId::Version, false},
}};

std::optional<TOptionId> ShortOption(char Letter) noexcept {
  switch (Letter) {
  case 'b':
    return TOptionId::Binary;
  case 'c':
    return TOptionId::Check;
  case 't':
    return TOptionId::Text;
  case 'w':
    return TOptionId::Warn;
  case 'z':
    return TOptionId::Zero;
  default:
    return std::nullopt;
  }
}

const TLongOption& FindLongOption(std::string_view Name, std::string_view Written) {
  const TLongOption* Found = nullptr;
  std::string Candidates;
  int Matches = 0;
  for (const TLongOption& Option : LongOptions) {
    if (Option.Name == Name)
      return Option;
    if (Option.Name.substr(0, Name.size()) == Name) {
      Found = &Option;
      ++Matches;
      Candidates += " '--" + std::string(Option.Name) + "'";
    }
  }
  if (Matches == 0)
    throw ESumUsageError("unrecognized option '" + std::string(Written) + "'");
  if (Matches > 1)
    throw ESumUsageError("option '--" + std::string(Name) +
                         "' is ambiguous; possibilities:" + Candidates);
  return *Found;
}

// Applies one option; true when it ends the reading (--help, --version).
bool Apply(TSumOptions& Options, TOptionId Id, std::string_view Value) {
  switch (Id) {
  case TOptionId::Binary:
    Options.Binary = true;
    break;
  case TOptionId::Text:
    Options.Binary = false;
    break;
  case TOptionId::Check:
    Options.Check = true;
    break;
  case TOptionId::ETag: {
    const std::optional<std::uint64_t> Size = ParsePartSize(Value);
    if (!Size)
      throw ESumUsageError("invalid --etag part size '" + std::string(Value) +
                           "': a positive whole number of bytes with an optional K, M or G "
                           "is expected");
    Options.ETagPartSize = *Size;
    break;
  }
  case TOptionId::Hex:
    Options.Hex = true;
    break;
  case TOptionId::Tag:
    Options.Tag = true;
    break;
  case TOptionId::Zero:
    Options.Zero = true;
    break;
  case TOptionId::IgnoreMissing:
    Options.IgnoreMissing = true;
    break;
  // The three report levels replace one another, as md5sum's do.
  case TOptionId::Quiet:
    Options.Quiet = true;
    Options.Status = Options.Warn = false;
    break;
  case TOptionId::Status:
    Options.Status = true;
    Options.Quiet = Options.Warn = false;
    break;
  case TOptionId::Warn:
    Options.Warn = true;
    Options.Quiet = Options.Status = false;
    break;
  case TOptionId::Strict:
    Options.Strict = true;
    break;
  case TOptionId::Help:
    Options.Help = true;
    return true;
  case TOptionId::Version:
    Options.Version = true;
    return true;
  }
  return false;
}

void CheckCombination(const TSumOptions& Options) {
  if (Options.Tag && Options.Binary == false)
    throw ESumUsageError("--tag does not support --text mode");
  if (!Options.Check) {
    const struct {
      bool Given;
      const char* Name;
    } CheckOnly[] = {
        {Options.IgnoreMissing, "--ignore-missing"},
        {Options.Status, "--status"},
        {Options.Warn, "--warn"},
        {Options.Quiet, "--quiet"},
        {Options.Strict, "--strict"},
    };
    for (const auto& Option : CheckOnly)
      if (Option.Given)
        throw ESumUsageError(std::string("the ") + Option.Name +
                             " option is meaningful only when verifying checksums");
    return;
  }
  if (Options.Zero)
    throw ESumUsageError("the --zero option is not supported when verifying checksums");
  if (Options.Tag)
    throw ESumUsageError("the --tag option is meaningless when verifying checksums");
  if (Options.Binary)
    throw ESumUsageError(
        "the --binary and --text options are meaningless when verifying checksums");
}

} // namespace

std::optional<std::uint64_t> ParsePartSize(std::string_view Text) noexcept {
  std::uint64_t Multiplier = 1;
  if (!Text.empty()) {
    switch (Text.back()) {
    case 'K':
    case 'k':
      Multiplier = 1ull << 10;
      break;
    case 'M':
    case 'm':
      Multiplier = 1ull << 20;
      break;
    case 'G':
    case 'g':
      Multiplier = 1ull << 30;
      break;
    default:
      break;
    }
    if (Multiplier != 1)
      Text.remove_suffix(1);
  }
  if (Text.empty())
    return std::nullopt;
  constexpr std::uint64_t Max = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t Value = 0;
  for (const char Digit : Text) {
    if (Digit < '0' || Digit > '9')
      return std::nullopt;
    const auto DigitValue = static_cast<std::uint64_t>(Digit - '0');
    if (Value > (Max - DigitValue) / 10)
      return std::nullopt;
    Value = Value * 10 + DigitValue;
  }
  if (Value == 0 || Value > Max / Multiplier)
    return std::nullopt;
  return Value * Multiplier;
}

TSumOptions ParseSumOptions(const std::vector<std::string>& Args) {
  TSumOptions Options;
  bool OptionsEnded = false;
  for (std::size_t Index = 0; Index < Args.size(); ++Index) {
    const std::string& Arg = Args[Index];
    if (OptionsEnded || Arg.size() < 2 || Arg[0] != '-') {
      Options.Files.push_back(Arg);
      continue;
    }
    if (Arg == "--") {
      OptionsEnded = true;
      continue;
    }
    if (Arg[1] == '-') {
      const std::string_view Body = std::string_view(Arg).substr(2);
      const std::size_t Equals = Body.find('=');
      const std::string_view Name = Body.substr(0, Equals);
      const TLongOption& Option = FindLongOption(Name, Arg);
      std::string_view Value;
      if (Equals != std::string_view::npos) {
        if (!Option.TakesValue)
          throw ESumUsageError("option '--" + std::string(Option.Name) +
                               "' doesn't allow an argument");
        Value = Body.substr(Equals + 1);
      } else if (Option.TakesValue) {
        if (Index + 1 == Args.size())
          throw ESumUsageError("option '--" + std::string(Option.Name) + "' requires an argument");
        Value = Args[++Index];
      }
      if (Apply(Options, Option.Id, Value))
        return Options;
      continue;
    }
    for (std::size_t Letter = 1; Letter < Arg.size(); ++Letter) {
      const std::optional<TOptionId> Id = ShortOption(Arg[Letter]);
      if (!Id)
        throw ESumUsageError(std::string("invalid option -- '") + Arg[Letter] + "'");
      Apply(Options, *Id, {});
    }
  }
  CheckCombination(Options);
  return Options;
}

} // namespace md5b64
