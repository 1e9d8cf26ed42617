#include "gui/Strings.h"

#include <cstdarg>
#include <cwchar>
#include <limits>

namespace {

void AppendCodePoint(std::wstring& out, uint32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

// Reads one code point from wide text; lone surrogates become U+FFFD.
uint32_t NextCodePoint(std::wstring_view s, size_t& i) {
  uint32_t c = static_cast<uint32_t>(s[i++]);
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i < s.size()) {
        uint32_t d = static_cast<uint32_t>(s[i]);
        if (d >= 0xDC00 && d <= 0xDFFF) {
          ++i;
          return 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
        }
      }
      return 0xFFFD;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return 0xFFFD;
  } else {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0xFFFD;
  }
  return c;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view s) {
  std::wstring out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    uint32_t cp;
    int extra;
    if (b < 0x80) { cp = b; extra = 0; }
    else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; extra = 1; }
    else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; extra = 2; }
    else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; extra = 3; }
    else { out.push_back(L'\xFFFD'); ++i; continue; }
    bool ok = i + static_cast<size_t>(extra) < s.size();
    if (ok) {
      for (int k = 1; k <= extra; ++k) {
        unsigned char c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) { ok = false; break; }
        cp = (cp << 6) | (c & 0x3F);
      }
    }
    static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(L'\xFFFD');
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::string WideToUtf8(std::wstring_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    uint32_t cp = NextCodePoint(s, i);
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::u16string WideToUtf16(std::wstring_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    uint32_t cp = NextCodePoint(s, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::wstring Utf16ToWide(std::u16string_view s) {
  std::wstring out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      AppendCodePoint(out, 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out.push_back(L'\xFFFD');
    } else {
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

std::wstring IntToStr(int64_t value) { return std::to_wstring(value); }

bool TryStrToInt64(std::wstring_view text, int64_t& value) {
  size_t i = 0, n = text.size();
  while (i < n && (text[i] == L' ' || text[i] == L'\t')) ++i;
  while (n > i && (text[n - 1] == L' ' || text[n - 1] == L'\t')) --n;
  if (i == n) return false;
  bool negative = false;
  if (text[i] == L'+' || text[i] == L'-') {
    negative = text[i] == L'-';
    ++i;
  }
  unsigned base = 10;
  if (i < n && text[i] == L'$') {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  if (i == n) return false;
  uint64_t magnitude = 0;
  const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
  for (; i < n; ++i) {
    wchar_t c = text[i];
    unsigned digit;
    if (c >= L'0' && c <= L'9') digit = unsigned(c - L'0');
    else if (base == 16 && c >= L'a' && c <= L'f') digit = unsigned(c - L'a' + 10);
    else if (base == 16 && c >= L'A' && c <= L'F') digit = unsigned(c - L'A' + 10);
    else return false;
    if (magnitude > (limit - digit) / base) {
      // Hexadecimal may name the full unsigned 32/64-bit pattern (colours).
      if (base == 16 && !negative && magnitude <= (UINT64_MAX - digit) / base) {
        magnitude = magnitude * base + digit;
        continue;
      }
      return false;
    }
    magnitude = magnitude * base + digit;
  }
  value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

int StrToIntDef(std::wstring_view text, int fallback) {
  int64_t v;
  if (!TryStrToInt64(text, v)) return fallback;
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return fallback;
  return static_cast<int>(v);
}

std::wstring UpperCase(std::wstring_view text) {
  std::wstring r(text);
  for (auto& c : r)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
  return r;
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring r(text);
  for (auto& c : r)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
  return r;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  return LowerCase(a) == LowerCase(b);
}

std::wstring Trim(std::wstring_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] <= L' ') ++b;
  while (e > b && text[e - 1] <= L' ') --e;
  return std::wstring(text.substr(b, e - b));
}

std::wstring FormatW(const wchar_t* format, ...) {
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list args;
    va_start(args, format);
    int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::wstring(buffer.data(), static_cast<size_t>(n));
    if (buffer.size() > (1u << 24)) return std::wstring();
    buffer.resize(buffer.size() * 4);
  }
}
