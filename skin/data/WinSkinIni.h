// Read-only settings reader for the INI text of a skin package (portable).
//
// Classes in this file:
//   TQuickIni - keeps the meaningful lines of a settings text and answers
//               string and integer look-ups with a caller-supplied default
//
// Syntax: lines end at CR, LF or CR LF; a zero byte ends the text; each line
// is trimmed of characters with codes up to 32; empty lines and lines that
// begin with ';' are dropped. "[name]" is a section header (the name exactly
// as written between the brackets, compared without letter case); any other
// line is an entry "key = value" (key compared in ASCII lower case). Entries
// before the first header belong to no section and are never found. Only the
// first occurrence of a section, and of a key within it, is ever seen; an
// entry with an empty value yields the default.
//
// Text is handled as bytes (the settings file's code page is not interpreted).
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TQuickIni {
public:
  // Construction
  TQuickIni() = default;

  // Operations
  // Replaces the contents with the text from the stream's current position to
  // its end. A null stream is ignored.
  void LoadFromStream(std::istream* stream);
  // Same, from text in memory.
  void LoadFromText(std::string_view text);

  // Number of the first header line equal to "[" + name + "]" without regard
  // to letter case, or -1.
  int SectionIndex(std::string_view section) const;
  // Replaces `list` with the section names in file order (header trimmed,
  // brackets removed, trimmed again).
  void ReadSections(std::vector<std::string>& list) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // Decimal with optional sign, or "$"/"0x" followed by hexadecimal digits.
  // Hexadecimal values are 32-bit patterns ("$FFFFFFFF" is -1), decimal ones
  // must lie in the signed 32-bit range; anything else gives `def`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;

  // Attributes (for tests and tools)
  const std::vector<std::string>& Lines() const { return lines_; }
  // Header text (brackets included) and its number in Lines().
  const std::vector<std::pair<std::string, int>>& Sections() const { return sections_; }

  // Helpers that apply the reader's rules, shared with its callers.
  static std::string_view Trim(std::string_view s);
  static bool IsHeader(std::string_view trimmedLine);
  // The platform's string-to-integer rule with default (see ReadInteger).
  static int32_t StrToIntDef(std::string_view s, int32_t def);

private:
  std::vector<std::string> lines_;
  std::vector<std::pair<std::string, int>> sections_;
};
