// Text helpers of the skin engine's painters (Windows).
//
// Functions in this file:
//   DrawTextWide   DrawTextW with the text's length
//   AnsiToWide     system ANSI code page text to UTF-16
#pragma once

#include <windows.h>

#include <string>

// DrawTextW with the text's length; returns the height of the text.
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);
// Text in the system ANSI code page to UTF-16.
std::wstring AnsiToWide(const std::string& text);
