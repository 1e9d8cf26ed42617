#include "skin/data/WinSkinIni.h"

#include <iterator>

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::string LowerCopy(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

}  // namespace

std::string_view TQuickIni::Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

bool TQuickIni::IsHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

void TQuickIni::LoadFromStream(std::istream* stream) {
  if (!stream) return;
  std::string text((std::istreambuf_iterator<char>(*stream)), std::istreambuf_iterator<char>());
  LoadFromText(text);
}

void TQuickIni::LoadFromText(std::string_view text) {
  lines_.clear();
  sections_.clear();
  std::size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);
  int counter = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(pos, end - pos));
    if (!line.empty() && line.front() != ';') {
      lines_.emplace_back(line);
      if (IsHeader(line)) sections_.emplace_back(std::string(line), counter);
      ++counter;
    }
    if (end >= text.size()) break;
    // CR LF is one line end; any other CR or LF ends one line each (the empty
    // lines this makes are dropped above).
    pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

int TQuickIni::SectionIndex(std::string_view section) const {
  for (const auto& [header, line] : sections_) {
    // header is "[...]"; compare the inside with the wanted name.
    if (header.size() == section.size() + 2 &&
        EqualNoCase(std::string_view(header).substr(1, section.size()), section))
      return line;
  }
  return -1;
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const {
  list.clear();
  for (const auto& entry : sections_) {
    std::string_view h = Trim(entry.first);
    h = h.size() >= 2 ? h.substr(1, h.size() - 2) : std::string_view();
    list.emplace_back(Trim(h));
  }
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view def) const {
  std::string result(def);
  std::string wanted = LowerCopy(key);
  if (lines_.empty()) return result;
  int header = SectionIndex(section);
  if (header < 0) return result;
  for (std::size_t i = std::size_t(header) + 1; i < lines_.size(); ++i) {
    std::string_view line = lines_[i];
    if (IsHeader(line)) break;
    std::size_t eq = line.find('=');
    // A line without "=" has an empty key and never yields a value.
    std::string_view k = eq == std::string_view::npos ? std::string_view() : Trim(line.substr(0, eq));
    if (eq == std::string_view::npos || LowerCopy(k) != wanted) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (!value.empty()) result.assign(value);
    break;
  }
  return result;
}

int32_t TQuickIni::StrToIntDef(std::string_view s, int32_t def) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size()) return def;
  if (s[i] == '$') {
    ++i;
    if (i >= s.size()) return def;
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
      char c = s[i];
      int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
      if (d < 0) return def;
      v = v * 16 + uint64_t(d);
      if (v > 0xFFFFFFFFull) return def;
    }
    uint32_t bits = uint32_t(v);
    if (negative) bits = 0u - bits;
    return static_cast<int32_t>(bits);
  }
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c < '0' || c > '9') return def;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return def;
  }
  if (negative) v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return def;
  return static_cast<int32_t>(v);
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  std::string s = ReadString(section, key, "");
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
  return StrToIntDef(s, def);
}
