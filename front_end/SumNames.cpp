// SPDX-License-Identifier: MIT
#include "front_end/SumNames.h"

namespace md5b64 {

bool NameNeedsEscape(std::string_view Name) noexcept {
  return Name.find_first_of("\\\n\r") != std::string_view::npos;
}

std::string EscapeName(std::string_view Name) {
  std::string Text;
  Text.reserve(Name.size());
  for (const char Character : Name) {
    switch (Character) {
    case '\\':
      Text += "\\\\";
      break;
    case '\n':
      Text += "\\n";
      break;
    case '\r':
      Text += "\\r";
      break;
    default:
      Text += Character;
    }
  }
  return Text;
}

std::optional<std::string> UnescapeName(std::string_view Text) {
  std::string Name;
  Name.reserve(Text.size());
  for (std::size_t Index = 0; Index < Text.size(); ++Index) {
    const char Character = Text[Index];
    if (Character == '\0')
      return std::nullopt;
    if (Character != '\\') {
      Name += Character;
      continue;
    }
    if (++Index == Text.size())
      return std::nullopt;
    switch (Text[Index]) {
    case '\\':
      Name += '\\';
      break;
    case 'n':
      Name += '\n';
      break;
    case 'r':
      Name += '\r';
      break;
    default:
      return std::nullopt;
    }
  }
  return Name;
}

namespace {

bool IsPrintable(unsigned char Byte) noexcept {
  return Byte >= 0x20 && Byte < 0x7F;
}

// Characters a shell would take for something else anywhere in a word; ':' separates the
// parts of a message.
bool IsShellSpecial(char Character) noexcept {
  return std::string_view(" !\"$&()*;<=>?[\\]^`|':").find(Character) != std::string_view::npos &&
         Character != ']';
}

void AppendByteEscape(std::string& Text, unsigned char Byte) {
  static constexpr std::string_view Named = "\a\b\t\n\v\f\r";
  static constexpr std::string_view Letters = "abtnvfr";
  const std::size_t Position = Named.find(static_cast<char>(Byte));
  Text += '\\';
  if (Byte != 0 && Position != std::string_view::npos) {
    Text += Letters[Position];
    return;
  }
  Text += static_cast<char>('0' + (Byte >> 6));
  Text += static_cast<char>('0' + ((Byte >> 3) & 7));
  Text += static_cast<char>('0' + (Byte & 7));
}

} // namespace

std::string QuoteName(std::string_view Name) {
  if (Name.empty())
    return "''";
  bool Unprintable = false;
  bool Special = false;
  for (const char Character : Name) {
    if (!IsPrintable(static_cast<unsigned char>(Character)))
      Unprintable = true;
    else if (IsShellSpecial(Character))
      Special = true;
  }
  // '#' and '~' mean something only at the start of a word, braces only alone.
  if (Name[0] == '#' || Name[0] == '~' || Name == "{" || Name == "}")
    Special = true;
  if (!Unprintable && !Special)
    return std::string(Name);

  if (!Unprintable && Name.find('\'') != std::string_view::npos &&
      Name.find_first_of("\"$`\\!") == std::string_view::npos) {
    // Double quotes keep a single quote as it is, and nothing else inside is special.
    std::string Text;
    Text.reserve(Name.size() + 2);
    Text += '"';
    Text += Name;
    Text += '"';
    return Text;
  }

  // A quoted name always opens with a plain part, even an empty one: ''$'\n''a'.
  std::string Text = "'";
  bool InPlain = true;    // inside '...'
  bool InEscaped = false; // inside $'...'
  for (const char Character : Name) {
    const auto Byte = static_cast<unsigned char>(Character);
    if (IsPrintable(Byte)) {
      if (InEscaped) {
        Text += '\'';
        InEscaped = false;
      }
      if (!InPlain) {
        Text += '\'';
        InPlain = true;
      }
      if (Character == '\'')
        Text += "'\\''";
      else
        Text += Character;
    } else {
      if (InPlain) {
        Text += '\'';
        InPlain = false;
      }
      if (!InEscaped) {
        Text += "$'";
        InEscaped = true;
      }
      AppendByteEscape(Text, Byte);
    }
  }
  Text += '\'';
  return Text;
}

} // namespace md5b64
