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
          default:
            Fail(std::wstring(L"unknown escape \\") + e);
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

// ---------------------------------------------------------------------------
// Binary: little-endian; strings are a u32 count of UTF-16 units and the units.
//   file   := "TWF1" node
//   node   := str class, str name, u32 line, u32 nprops, prop*, u32 nchildren, node*
//   prop   := str name, u32 line, u8 kind, value
//   value  := i64 | str | u32 n, str* | u32 n, (u32 nprops, prop*)* | u32 n, bytes

namespace {

constexpr char kMagic[4] = {'T', 'W', 'F', '1'};

class TWriter {
 public:
  std::vector<uint8_t> out;
  void U8(uint8_t v) { out.push_back(v); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void I64(int64_t v) {
    uint64_t u = static_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
  }
  void Str(const std::wstring& s) {
    std::u16string u = WideToUtf16(s);
    U32(static_cast<uint32_t>(u.size()));
    for (char16_t c : u) {
      out.push_back(static_cast<uint8_t>(c));
      out.push_back(static_cast<uint8_t>(c >> 8));
    }
  }
  void Props(const std::vector<TFormProp>& props) {
    U32(static_cast<uint32_t>(props.size()));
    for (const auto& p : props) {
      Str(p.name);
      U32(p.line);
      U8(p.value.kind);
      const TFormValue& v = p.value;
      switch (v.kind) {
        case TFormValue::vkInt: I64(v.number); break;
        case TFormValue::vkIdent:
        case TFormValue::vkString: Str(v.text); break;
        case TFormValue::vkSet:
        case TFormValue::vkList:
          U32(static_cast<uint32_t>(v.items.size()));
          for (const auto& s : v.items) Str(s);
          break;
        case TFormValue::vkCollection:
          U32(static_cast<uint32_t>(v.collection.size()));
          for (const auto& item : v.collection) Props(item);
          break;
        case TFormValue::vkBinary:
          U32(static_cast<uint32_t>(v.bytes.size()));
          out.insert(out.end(), v.bytes.begin(), v.bytes.end());
          break;
      }
    }
  }
  void Node(const TFormNode& n) {
    Str(n.className);
    Str(n.name);
    U32(n.line);
    Props(n.props);
    U32(static_cast<uint32_t>(n.children.size()));
    for (const auto& c : n.children) Node(c);
  }
};

class TReader {
 public:
  TReader(const uint8_t* d, size_t n) : FData(d), FSize(n) {}
  [[noreturn]] void Fail(const wchar_t* what) const {
    throw EFormError(std::wstring(L"Corrupt form resource at byte ") + IntToStr(static_cast<int64_t>(FPos)) + L": " +
                     what);
  }
  void Need(size_t n) const {
    if (n > FSize - FPos) Fail(L"unexpected end");
  }
  uint8_t U8() {
    Need(1);
    return FData[FPos++];
  }
  uint32_t U32() {
    Need(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(FData[FPos + i]) << (8 * i);
    FPos += 4;
    return v;
  }
  int64_t I64() {
    Need(8);
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(FData[FPos + i]) << (8 * i);
    FPos += 8;
    return static_cast<int64_t>(v);
  }
  // A count of things each at least `minBytes` long must fit in what is left.
  uint32_t Count(size_t minBytes) {
    uint32_t n = U32();
    if (static_cast<uint64_t>(n) * minBytes > FSize - FPos) Fail(L"count larger than the data");
    return n;
  }
  std::wstring Str() {
    uint32_t n = Count(2);
    std::u16string u(n, u'\0');
    for (uint32_t i = 0; i < n; ++i) u[i] = static_cast<char16_t>(FData[FPos + 2 * i] | (FData[FPos + 2 * i + 1] << 8));
    FPos += 2 * static_cast<size_t>(n);
    return Utf16ToWide(u);
  }
  std::vector<TFormProp> Props(int depth) {
    if (depth > 64) Fail(L"nested too deeply");
    std::vector<TFormProp> props(Count(13));
    for (auto& p : props) {
      p.name = Str();
      p.line = U32();
      uint8_t kind = U8();
      TFormValue& v = p.value;
      v.kind = static_cast<TFormValue::TKind>(kind);
      switch (kind) {
        case TFormValue::vkInt: v.number = I64(); break;
        case TFormValue::vkIdent:
        case TFormValue::vkString: v.text = Str(); break;
        case TFormValue::vkSet:
        case TFormValue::vkList: {
          v.items.resize(Count(4));
          for (auto& s : v.items) s = Str();
          break;
        }
        case TFormValue::vkCollection: {
          v.collection.resize(Count(4));
          for (auto& item : v.collection) item = Props(depth + 1);
          break;
        }
        case TFormValue::vkBinary: {
          uint32_t n = Count(1);
          v.bytes.assign(FData + FPos, FData + FPos + n);
          FPos += n;
          break;
        }
        default:
          Fail(L"unknown value kind");
      }
    }
    return props;
  }
  TFormNode Node(int depth) {
    if (depth > 64) Fail(L"nested too deeply");
    TFormNode n;
    n.className = Str();
    n.name = Str();
    n.line = U32();
    n.props = Props(depth);
    n.children.resize(Count(16));
    for (auto& c : n.children) c = Node(depth + 1);
    return n;
  }
  bool AtEnd() const { return FPos == FSize; }
  size_t FPosPublic() const { return FPos; }
  void Skip(size_t n) {
    Need(n);
    FPos += n;
  }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

}  // namespace

std::vector<uint8_t> WriteFormBinary(const TFormNode& root) {
  TWriter w;
  w.out.insert(w.out.end(), kMagic, kMagic + 4);
  w.Node(root);
  return std::move(w.out);
}

TFormNode ReadFormBinary(const uint8_t* data, size_t size) {
  if (!data || size < 4 || std::memcmp(data, kMagic, 4) != 0) throw EFormError(L"Not a form resource");
  TReader r(data, size);
  r.Skip(4);
  TFormNode n = r.Node(0);
  if (!r.AtEnd()) r.Fail(L"data after the end");
  return n;
}

// ---------------------------------------------------------------------------
// Building components

namespace {

struct TFixup {
  TObject* holder;
  const TPropInfo* prop;
  std::wstring target;
  std::wstring where;
};

class TTreeBuilder {
 public:
  TTreeBuilder(TComponent* root, const std::wstring& source) : FRoot(root), FSource(source) {}

  void Build(const TFormNode& node) {
    const TClassInfo* described = FindClassInfo(node.className);
    if (!described || !FRoot->ClassType().InheritsFrom(*described))
      Fail(node.line, node.name, L"the root object is a " + FRoot->ClassName() + L", not a " + node.className);
    Begin(FRoot);
    if (!node.name.empty() && FRoot->Name() != node.name) Guard(node.line, node.name, [&] { FRoot->SetName(node.name); });
    ApplyProps(FRoot, node.props, node.name);
    for (const auto& child : node.children) CreateChild(FRoot, child);
    for (const auto& f : FFixups) {
      TComponent* target = SameText(FRoot->Name(), f.target) ? FRoot : FRoot->FindComponent(f.target);
      if (!target) throw EFormError(FSource + L": " + f.where + L": no component named " + f.target);
      try {
        f.prop->setObj(f.holder, target);
      } catch (const Exception& e) {
        throw EFormError(FSource + L": " + f.where + L": " + e.Message());
      }
    }
    for (TComponent* c : FLoaded) c->Loaded();
  }

 private:
  [[noreturn]] void Fail(uint32_t line, const std::wstring& where, const std::wstring& what) const {
    throw EFormError(FSource + L" line " + IntToStr(line) + L": " + where + L": " + what);
  }
  template <class F>
  void Guard(uint32_t line, const std::wstring& where, F f) {
    try {
      f();
    } catch (const EFormError&) {
      throw;
    } catch (const Exception& e) {
      Fail(line, where, e.Message());
    }
  }

  void Begin(TComponent* c) {
    c->SetLoading(true);
    FLoaded.push_back(c);
  }

  void CreateChild(TComponent* parent, const TFormNode& node) {
    const TClassInfo* info = FindClassInfo(node.className);
    if (!info) Fail(node.line, node.name, L"unknown class " + node.className);
    if (!info->create) Fail(node.line, node.name, L"class " + node.className + L" cannot be created by name");
    TComponent* c = nullptr;
    Guard(node.line, node.name, [&] { c = info->create(FRoot); });
    Begin(c);
    Guard(node.line, node.name, [&] { c->SetName(node.name); });
    if (const TFieldInfo* field = FRoot->ClassType().FindField(node.name))
      if (!field->assign(FRoot, c))
        Fail(node.line, node.name, L"the form's field " + node.name + L" does not hold a " + node.className);
    Guard(node.line, node.name, [&] { c->SetParentComponent(parent); });
    ApplyProps(c, node.props, node.name);
    for (const auto& child : node.children) CreateChild(c, child);
  }

  static std::wstring ValueText(const TFormValue& v) {
    switch (v.kind) {
      case TFormValue::vkInt: return IntToStr(v.number);
      case TFormValue::vkIdent:
      case TFormValue::vkString: return v.text;
      case TFormValue::vkSet: {
        std::wstring t = L"[";
        for (size_t i = 0; i < v.items.size(); ++i) t += (i ? L"," : L"") + v.items[i];
        return t + L"]";
      }
      default: return std::wstring();
    }
  }

  void ApplyProps(TObject* object, const std::vector<TFormProp>& props, const std::wstring& path) {
    for (const auto& p : props) {
      std::wstring where = path + L"." + p.name;
      if (p.value.kind == TFormValue::vkBinary) {
        const TBinaryPropInfo* b = object->ClassType().FindBinaryProp(p.name);
        if (!b) Fail(p.line, where, L"unknown binary property");
        Guard(p.line, where, [&] { b->read(object, p.value.bytes); });
        continue;
      }
      TObject* holder = nullptr;
      const TPropInfo* info = FindPropInfo(object, p.name, &holder);
      if (!info) Fail(p.line, where, L"unknown property");
      const TFormValue& v = p.value;
      switch (info->kind) {
        case TPropKind::Event: {
          if (v.kind != TFormValue::vkIdent) Fail(p.line, where, L"an event takes a handler name");
          const THandlerInfo* h = FRoot->ClassType().FindHandler(v.text);
          if (!h) Fail(p.line, where, L"unknown handler " + v.text);
          if (h->eventType != info->eventType) Fail(p.line, where, L"handler " + v.text + L" has another signature");
          // Every delegate type has the same size and is trivially destructible.
          alignas(TNotifyEvent) unsigned char storage[sizeof(TNotifyEvent)];
          h->bind(FRoot, storage);
          Guard(p.line, where, [&] { info->setEvent(holder, storage); });
          break;
        }
        case TPropKind::Component:
          if (v.kind != TFormValue::vkIdent) Fail(p.line, where, L"a component reference takes a name");
          if (!info->setObj) Fail(p.line, where, L"read-only property");
          FFixups.push_back({holder, info, v.text, where});
          break;
        case TPropKind::StringList: {
          auto* strings = dynamic_cast<TStrings*>(info->getObj ? info->getObj(holder) : nullptr);
          if (!strings) Fail(p.line, where, L"no string list");
          if (v.kind == TFormValue::vkList) strings->SetLines(v.items);
          else if (v.kind == TFormValue::vkString) strings->SetText(v.text);
          else Fail(p.line, where, L"a string list takes (\"line\", ...)");
          break;
        }
        case TPropKind::Collection: {
          auto* collection = dynamic_cast<TCollection*>(info->getObj ? info->getObj(holder) : nullptr);
          if (!collection) Fail(p.line, where, L"no collection");
          if (v.kind != TFormValue::vkCollection) Fail(p.line, where, L"a collection takes { { ... } ... }");
          Guard(p.line, where, [&] { collection->Clear(); });
          for (size_t i = 0; i < v.collection.size(); ++i) {
            TCollectionItem* item = nullptr;
            Guard(p.line, where, [&] { item = collection->Add(); });
            ApplyProps(item, v.collection[i], where + L"[" + IntToStr(static_cast<int64_t>(i)) + L"]");
          }
          break;
        }
        case TPropKind::Object:
          Fail(p.line, where, L"an object property is set through its own properties (" + p.name + L".Name = ...)");
        default:
          if (v.kind == TFormValue::vkList || v.kind == TFormValue::vkCollection)
            Fail(p.line, where, L"value does not fit the property");
          if (v.kind == TFormValue::vkString && info->kind != TPropKind::String)
            Fail(p.line, where, L"a quoted text for a property that is not a string");
          Guard(p.line, where, [&] { SetPropText(holder, info->name, ValueText(v)); });
      }
    }
  }

  TComponent* FRoot;
  std::wstring FSource;
  std::vector<TFixup> FFixups;
  std::vector<TComponent*> FLoaded;
};

}  // namespace

void ReadComponentTree(TComponent* root, const TFormNode& node, const std::wstring& sourceName) {
  TTreeBuilder b(root, sourceName);
  b.Build(node);
}
