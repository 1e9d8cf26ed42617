// Support classes of the library (portable).
//
// Classes in this file:
//   TStringListCore<Ch>   ordered list of lines with Text splitting, name=value access
//   TStrings / TStringList  wide string list (a TPersistent; published "Text", "Count")
//   TAnsiStringList       byte-string list (console output stays bytes)
//   TStream, TMemoryStream  byte streams; EStreamError on short reads
//   TCollection, TCollectionItem  owned, ordered items with IDs
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gui/Core.h"

class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

class EListError : public Exception {
 public:
  using Exception::Exception;
};

// ---------------------------------------------------------------------------
// String lists

template <class Ch>
class TStringListCore {
 public:
  using String = std::basic_string<Ch>;
  using View = std::basic_string_view<Ch>;

  int Count() const { return static_cast<int>(FLines.size()); }
  bool Empty() const { return FLines.empty(); }
  const String& Get(int index) const { return FLines.at(Checked(index)); }
  const String& operator[](int index) const { return Get(index); }
  void Put(int index, String s) { FLines.at(Checked(index)) = std::move(s); Changed(); }
  void* Objects(int index) const { return FObjects.at(Checked(index)); }
  void SetObject(int index, void* o) { FObjects.at(Checked(index)) = o; }

  int Add(String s, void* object = nullptr) {
    FLines.push_back(std::move(s));
    FObjects.push_back(object);
    Changed();
    return Count() - 1;
  }
  void Insert(int index, String s) {
    if (index < 0 || index > Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    FLines.insert(FLines.begin() + index, std::move(s));
    FObjects.insert(FObjects.begin() + index, nullptr);
    Changed();
  }
  void Delete(int index) {
    size_t i = Checked(index);
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(i));
    FObjects.erase(FObjects.begin() + static_cast<std::ptrdiff_t>(i));
    Changed();
  }
  void Clear() {
    FLines.clear();
    FObjects.clear();
    Changed();
  }
  // Exact match; -1 when absent.
  int IndexOf(View s) const {
    for (size_t i = 0; i < FLines.size(); ++i)
      if (FLines[i] == s) return static_cast<int>(i);
    return -1;
  }
  const std::vector<String>& Lines() const { return FLines; }
  void AddLines(const std::vector<String>& lines) {
    for (const auto& l : lines) FLines.push_back(l), FObjects.push_back(nullptr);
    Changed();
  }
  void SetLines(std::vector<String> lines) {
    FLines = std::move(lines);
    FObjects.assign(FLines.size(), nullptr);
    Changed();
  }

  // Lines joined, each followed by CR LF.
  String GetText() const {
    String t;
    for (const auto& l : FLines) {
      t += l;
      t += Ch('\r');
      t += Ch('\n');
    }
    return t;
  }
  // Splits at CR, LF or CR LF; a last line without an ending counts; text
  // after a zero character is ignored.
  void SetText(View text) {
    std::vector<String> lines;
    size_t i = 0, n = text.size();
    size_t zero = text.find(Ch(0));
    if (zero != View::npos) n = zero;
    while (i < n) {
      size_t start = i;
      while (i < n && text[i] != Ch('\r') && text[i] != Ch('\n')) ++i;
      lines.emplace_back(text.substr(start, i - start));
      if (i < n && text[i] == Ch('\r')) {
        ++i;
        if (i < n && text[i] == Ch('\n')) ++i;
      } else if (i < n) {
        ++i;
      }
    }
    SetLines(std::move(lines));
  }

  // name=value access.
  String Names(int index) const {
    const String& l = Get(index);
    size_t eq = l.find(Ch('='));
    return eq == String::npos ? String() : l.substr(0, eq);
  }
  int IndexOfName(View name) const {
    for (size_t i = 0; i < FLines.size(); ++i) {
      size_t eq = FLines[i].find(Ch('='));
      if (eq != String::npos && EqualNoCase(View(FLines[i]).substr(0, eq), name)) return static_cast<int>(i);
    }
    return -1;
  }
  String Values(View name) const {
    int i = IndexOfName(name);
    if (i < 0) return String();
    const String& l = FLines[static_cast<size_t>(i)];
    return l.substr(l.find(Ch('=')) + 1);
  }

  // Called after every change.
  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }

 private:
  size_t Checked(int index) const {
    if (index < 0 || index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return static_cast<size_t>(index);
  }
  static bool EqualNoCase(View a, View b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      Ch x = a[i], y = b[i];
      if (x >= Ch('A') && x <= Ch('Z')) x = Ch(x + 32);
      if (y >= Ch('A') && y <= Ch('Z')) y = Ch(y + 32);
      if (x != y) return false;
    }
    return true;
  }
  std::vector<String> FLines;
  std::vector<void*> FObjects;
};

class TStrings : public TPersistent, public TStringListCore<wchar_t> {
  TW_DECLARE_CLASS(TStrings, TPersistent)
 public:
  TStrings() = default;
  std::wstring Text() const { return GetText(); }
  void SetTextStr(const std::wstring& t) { SetText(t); }
  int CountProp() const { return Count(); }
  void Assign(const TPersistent* source) override;
};

class TStringList : public TStrings {
  TW_DECLARE_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
};

class TAnsiStringList : public TPersistent, public TStringListCore<char> {
  TW_DECLARE_CLASS(TAnsiStringList, TPersistent)
 public:
  TAnsiStringList() = default;
  void Assign(const TPersistent* source) override;
};

// ---------------------------------------------------------------------------
// Streams

class TStream : public TObject {
  TW_DECLARE_CLASS(TStream, TObject)
 public:
  enum TSeekOrigin { soBeginning, soCurrent, soEnd };

  // Reads up to count bytes; answers the number read.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() const = 0;
  virtual void SetSize(int64_t size) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t p) { Seek(p, soBeginning); }
  // Exact transfers: EStreamError when short.
  void ReadBuffer(void* buffer, size_t count);
  void WriteBuffer(const void* buffer, size_t count);
  // Copies count bytes from the source's position (0: the whole source from 0).
  int64_t CopyFrom(TStream& source, int64_t count);
  // Bytes from the position to the end.
  std::vector<uint8_t> ReadAll();
};

class TMemoryStream : public TStream {
  TW_DECLARE_CLASS(TMemoryStream, TStream)
 public:
  TMemoryStream() = default;
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t size) override;

  void Clear() {
    FData.clear();
    FPosition = 0;
  }
  uint8_t* Memory() { return FData.data(); }
  const uint8_t* Memory() const { return FData.data(); }
  const std::vector<uint8_t>& Bytes() const { return FData; }
  void LoadFromBytes(const void* data, size_t size);
  void LoadFromStream(TStream& source);  // the whole source from 0; position 0
  void SaveToStream(TStream& target) const;

 private:
  std::vector<uint8_t> FData;
  size_t FPosition = 0;
};

// ---------------------------------------------------------------------------
// Collections

class TCollection;

class TCollectionItem : public TPersistent {
  TW_DECLARE_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollection* Collection() const { return FCollection; }
  int ID() const { return FID; }
  int Index() const;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  TW_DECLARE_CLASS(TCollection, TPersistent)
 public:
  using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
  TCollection(TPersistent* owner, TItemFactory factory);
  ~TCollection() override;

  TPersistent* Owner() const { return FOwner; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int index) const;
  template <class T>
  T* ItemAs(int index) const { return static_cast<T*>(Items(index)); }
  // New item at the end, created by the factory.
  TCollectionItem* Add();
  void Delete(int index);
  void Clear();
  // Copies the items of another collection through each item's Assign.
  void Assign(const TPersistent* source) override;

 private:
  friend class TCollectionItem;
  TPersistent* FOwner;
  TItemFactory FFactory;
  std::vector<TCollectionItem*> FItems;
  int FNextID = 0;
  bool FClearing = false;
};
