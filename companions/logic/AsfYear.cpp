#include "companions/logic/AsfYear.h"

#include <cstring>

namespace companions {

namespace {

constexpr uint8_t kHeaderId[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                   0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr uint8_t kExtendedContentId[16] = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                            0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
constexpr size_t kMaxHeader = 16 * 1024 * 1024;

uint64_t Le(const uint8_t* p, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// A bounded reader: every read checks the remaining length.
struct TReader {
  const uint8_t* p;
  size_t left;
  bool Take(size_t n, const uint8_t*& out) {
    if (n > left) return false;
    out = p;
    p += n;
    left -= n;
    return true;
  }
  bool Number(int bytes, uint64_t& v) {
    const uint8_t* q;
    if (!Take(static_cast<size_t>(bytes), q)) return false;
    v = Le(q, bytes);
    return true;
  }
};

std::u16string Utf16(const uint8_t* p, size_t bytes) {
  std::u16string s;
  for (size_t i = 0; i + 1 < bytes; i += 2) {
    const char16_t c = static_cast<char16_t>(p[i] | (p[i + 1] << 8));
    if (c == 0) break;
    s.push_back(c);
  }
  return s;
}

std::wstring YearOf(const std::u16string& text) {
  if (text.size() < 4) return L"";
  std::wstring year;
  for (size_t i = 0; i < 4; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return L"";
    year.push_back(static_cast<wchar_t>(text[i]));
  }
  // "2019" or "2019-05-01", not "20190".
  if (text.size() > 4 && text[4] >= u'0' && text[4] <= u'9') return L"";
  return year;
}

std::wstring YearInDescriptors(TReader r) {
  uint64_t count = 0;
  if (!r.Number(2, count)) return L"";
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t nameLen = 0, type = 0, valueLen = 0;
    const uint8_t *name, *value;
    if (!r.Number(2, nameLen) || !r.Take(nameLen, name) || !r.Number(2, type) || !r.Number(2, valueLen) ||
        !r.Take(valueLen, value)) {
      return L"";
    }
    if (Utf16(name, nameLen) != u"WM/Year") continue;
    if (type == 0) return YearOf(Utf16(value, valueLen));
    if (type == 3 && valueLen == 4) {
      const uint64_t n = Le(value, 4);
      if (n >= 1000 && n <= 9999) return std::to_wstring(n);
    }
    return L"";
  }
  return L"";
}

}  // namespace

size_t AsfHeaderSize(const uint8_t* data, size_t size) {
  if (size < 30 || std::memcmp(data, kHeaderId, 16) != 0) return 0;
  const uint64_t announced = Le(data + 16, 8);
  if (announced < 30) return 0;
  return static_cast<size_t>(announced < kMaxHeader ? announced : kMaxHeader);
}

std::wstring AsfYear(const uint8_t* data, size_t size) {
  const size_t header = AsfHeaderSize(data, size);
  if (header == 0) return L"";
  TReader r{data + 30, (header < size ? header : size) - 30};
  while (r.left >= 24) {
    const uint8_t* id;
    uint64_t objectSize = 0;
    r.Take(16, id);
    r.Number(8, objectSize);
    if (objectSize < 24 || objectSize - 24 > r.left) return L"";
    const uint8_t* body;
    r.Take(static_cast<size_t>(objectSize - 24), body);
    if (std::memcmp(id, kExtendedContentId, 16) == 0) {
      return YearInDescriptors(TReader{body, static_cast<size_t>(objectSize - 24)});
    }
  }
  return L"";
}

}  // namespace companions
