// String helpers shared by the whole program (portable).
//
// Classes and functions in this file:
//   Utf8ToWide, WideToUtf8      UTF-8 <-> wide text (UTF-16 on Windows, UTF-32 elsewhere)
//   Utf16LeToWide, WideToUtf16  explicit UTF-16 code units, the on-disk form of form descriptions
//   IntToStr, StrToIntDef, TryStrToInt64, UpperCase, LowerCase, SameText, Trim
//   FormatW                     printf-style formatting into a wide string
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

std::u16string WideToUtf16(std::wstring_view wide);
std::wstring Utf16ToWide(std::u16string_view units);

std::wstring IntToStr(int64_t value);
// Parses a decimal integer, or hexadecimal with a "0x" or "$" prefix; an
// optional sign; surrounding blanks are allowed. Fails on anything else or
// on overflow.
bool TryStrToInt64(std::wstring_view text, int64_t& value);
int StrToIntDef(std::wstring_view text, int fallback);

// ASCII-only case mapping (identifiers, file names in packages).
std::wstring UpperCase(std::wstring_view text);
std::wstring LowerCase(std::wstring_view text);
bool SameText(std::wstring_view a, std::wstring_view b);
std::wstring Trim(std::wstring_view text);

// printf-style formatting with wide format strings ("%d", "%ls", "%.8X").
std::wstring FormatW(const wchar_t* format, ...);
