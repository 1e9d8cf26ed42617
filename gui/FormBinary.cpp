// Form descriptions: the compiled binary format (WriteFormBinary / ReadFormBinary).
#include "gui/FormData.h"

#include <cstring>
#include <new>

#include "gui/Classes.h"

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
        default: Fail(L"unknown value kind");
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
