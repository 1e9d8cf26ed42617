// Form descriptions: the readable text format -> TFormNode (ParseFormText).
#include "gui/FormData.h"

#include <cstring>
#include <new>

#include "gui/Classes.h"

// ---------------------------------------------------------------------------
// Text

namespace {

struct TToken {
  enum TType { tEnd, tIdent, tNumber, tString, tPunct } type = tEnd;
  std::wstring text;
  int64_t number = 0;
  wchar_t punct = 0;
  uint32_t line = 1;
};

bool IsIdentStart(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_'; }
bool IsIdentChar(wchar_t c) { return IsIdentStart(c) || (c >= L'0' && c <= L'9') || c == L'.'; }
int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

class TFormParser {
 public:
  TFormParser(std::wstring_view text, const TFileResolver& resolve, const std::wstring& source)
      : FText(text), FResolve(resolve), FSource(source) {
    // A byte-order mark is not part of the text.
    if (!FText.empty() && FText[0] == L'\xFEFF') FPos = 1;
    Next();
  }

  TFormNode ParseRoot() {
    TFormNode root = ParseObject(0);
    if (FTok.type != TToken::tEnd) Fail(L"text after the end of the root object");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::wstring& what, uint32_t line = 0) const {
    throw EFormError(FSource + L" line " + IntToStr(line ? line : FTok.line) + L": " + what);
  }

  void SkipBlanks() {
    while (FPos < FText.size()) {
      wchar_t c = FText[FPos];
      if (c == L'\n') {
        ++FLine;
        ++FPos;
      } else if (c == L' ' || c == L'\t' || c == L'\r' || c == L';') {
        ++FPos;
      } else if (c == L'#' || (c == L'/' && FPos + 1 < FText.size() && FText[FPos + 1] == L'/')) {
        while (FPos < FText.size() && FText[FPos] != L'\n') ++FPos;
      } else {
        break;
      }
    }
  }

  void Next() {
    SkipBlanks();
    FTok = TToken();
    FTok.line = FLine;
    if (FPos >= FText.size()) return;
    wchar_t c = FText[FPos];
    if (IsIdentStart(c)) {
      size_t start = FPos;
      while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
      FTok.type = TToken::tIdent;
      FTok.text = std::wstring(FText.substr(start, FPos - start));
      return;
    }
    if ((c >= L'0' && c <= L'9') || c == L'-' || c == L'+' || c == L'$') {
      size_t start = FPos++;
      while (FPos < FText.size() && (IsIdentChar(FText[FPos]))) ++FPos;
      std::wstring t(FText.substr(start, FPos - start));
      if (!TryStrToInt64(t, FTok.number)) Fail(L"bad number \"" + t + L"\"");
      FTok.type = TToken::tNumber;
      FTok.text = t;
      return;
    }
    if (c == L'"') {
      ++FPos;
      std::wstring s;
      for (;;) {
        if (FPos >= FText.size() || FText[FPos] == L'\n') Fail(L"unterminated string");
        wchar_t d = FText[FPos++];
        if (d == L'"') break;
        if (d != L'\\') {
          s += d;
          continue;
        }
        if (FPos >= FText.size()) Fail(L"unterminated string");
        wchar_t e = FText[FPos++];
        switch (e) {
          case L'n': s += L'\n'; break;
          case L'r': s += L'\r'; break;
          case L't': s += L'\t'; break;
          case L'0': s += L'\0'; break;
          case L'\\': s += L'\\'; break;
          case L'"': s += L'"'; break;
          case L'u': {
            uint32_t cp = 0;
            for (int k = 0; k < 4; ++k) {
              int h = FPos < FText.size() ? HexDigit(FText[FPos]) : -1;
              if (h < 0) Fail(L"bad \\u escape");
              cp = cp * 16 + static_cast<uint32_t>(h);
              ++FPos;
            }
            s += static_cast<wchar_t>(cp);
            break;
          }
          default: Fail(std::wstring(L"unknown escape \\") + e);
        }
      }
      FTok.type = TToken::tString;
      FTok.text = std::move(s);
      return;
    }
    if (std::wcschr(L"={}[](),@", c)) {
      ++FPos;
      FTok.type = TToken::tPunct;
      FTok.punct = c;
      return;
    }
    Fail(std::wstring(L"unexpected character '") + c + L"'");
  }

  bool IsPunct(wchar_t p) const { return FTok.type == TToken::tPunct && FTok.punct == p; }
  void Expect(wchar_t p) {
    if (!IsPunct(p)) Fail(std::wstring(L"expected '") + p + L"'");
    Next();
  }
  std::wstring ExpectIdent(const wchar_t* what) {
    if (FTok.type != TToken::tIdent) Fail(std::wstring(L"expected ") + what);
    std::wstring t = FTok.text;
    Next();
    return t;
  }
  std::wstring ExpectStrings() {
    if (FTok.type != TToken::tString) Fail(L"expected a string");
    std::wstring s;
    // Adjacent strings join, so long texts can span lines.
    while (FTok.type == TToken::tString) {
      s += FTok.text;
      Next();
    }
    return s;
  }

  TFormNode ParseObject(int depth) {
    if (depth > 64) Fail(L"objects nested too deeply");
    TFormNode node;
    node.line = FTok.line;
    node.className = ExpectIdent(L"a class name");
    node.name = ExpectIdent(L"an object name");
    Expect(L'{');
    ParseBody(node.props, &node.children, depth);
    Expect(L'}');
    return node;
  }

  // Properties (and, for objects, nested objects) up to the closing brace.
  void ParseBody(std::vector<TFormProp>& props, std::vector<TFormNode>* children, int depth) {
    while (!IsPunct(L'}')) {
      if (FTok.type == TToken::tEnd) Fail(L"missing '}'");
      if (FTok.type != TToken::tIdent) Fail(L"expected a property or an object");
      // Look ahead: "Name =" is a property, "Class Name {" an object.
      size_t savePos = FPos;
      uint32_t saveLine = FLine;
      TToken first = FTok;
      Next();
      if (IsPunct(L'=')) {
        Next();
        TFormProp p;
        p.name = first.text;
        p.line = first.line;
        p.value = ParseValue(depth);
        props.push_back(std::move(p));
      } else {
        if (!children) Fail(L"objects cannot be nested in a collection item", first.line);
        FPos = savePos;
        FLine = saveLine;
        FTok = first;
        children->push_back(ParseObject(depth + 1));
      }
    }
  }

  TFormValue ParseValue(int depth) {
    TFormValue v;
    if (FTok.type == TToken::tNumber) {
      v.kind = TFormValue::vkInt;
      v.number = FTok.number;
      Next();
    } else if (FTok.type == TToken::tIdent) {
      v.kind = TFormValue::vkIdent;
      v.text = FTok.text;
      Next();
    } else if (FTok.type == TToken::tString) {
      v.kind = TFormValue::vkString;
      v.text = ExpectStrings();
    } else if (IsPunct(L'[')) {
      v.kind = TFormValue::vkSet;
      Next();
      while (!IsPunct(L']')) {
        v.items.push_back(ExpectIdent(L"a set member"));
        if (!IsPunct(L']')) Expect(L',');
      }
      Next();
    } else if (IsPunct(L'(')) {
      v.kind = TFormValue::vkList;
      Next();
      while (!IsPunct(L')')) {
        v.items.push_back(ExpectStrings());
        if (!IsPunct(L')')) Expect(L',');
      }
      Next();
    } else if (IsPunct(L'{')) {
      v.kind = TFormValue::vkCollection;
      Next();
      while (!IsPunct(L'}')) {
        if (depth > 64) Fail(L"collections nested too deeply");
        Expect(L'{');
        std::vector<TFormProp> item;
        ParseBody(item, nullptr, depth + 1);
        Expect(L'}');
        v.collection.push_back(std::move(item));
      }
      Next();
    } else if (IsPunct(L'@')) {
      v.kind = TFormValue::vkBinary;
      Next();
      uint32_t line = FTok.line;
      std::wstring how = ExpectIdent(L"file or hex after '@'");
      std::wstring arg = ExpectStrings();
      if (how == L"file") {
        if (!FResolve) Fail(L"@file \"" + arg + L"\" cannot be read here", line);
        try {
          v.bytes = FResolve(arg);
        } catch (const EFormError& e) {
          Fail(e.Message(), line);
        }
      } else if (how == L"hex") {
        int high = -1;
        for (wchar_t c : arg) {
          if (c == L' ' || c == L'\t') continue;
          int h = HexDigit(c);
          if (h < 0) Fail(L"bad hex digit in @hex", line);
          if (high < 0) {
            high = h;
          } else {
            v.bytes.push_back(static_cast<uint8_t>(high * 16 + h));
            high = -1;
          }
        }
        if (high >= 0) Fail(L"odd number of hex digits in @hex", line);
      } else {
        Fail(L"expected file or hex after '@'", line);
      }
    } else {
      Fail(L"expected a value");
    }
    return v;
  }

  std::wstring_view FText;
  const TFileResolver& FResolve;
  std::wstring FSource;
  size_t FPos = 0;
  uint32_t FLine = 1;
  TToken FTok;
};

}  // namespace

TFormNode ParseFormText(std::wstring_view text, const TFileResolver& resolve, const std::wstring& sourceName) {
  TFormParser parser(text, resolve, sourceName);
  return parser.ParseRoot();
}
