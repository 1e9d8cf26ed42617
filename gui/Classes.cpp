#include "gui/Classes.h"

#include <algorithm>
#include <cstring>
#include <limits>

// ---------------------------------------------------------------------------
// String lists

TW_IMPLEMENT_CLASS(TStrings, [](TClassBuilder<TStrings>& c) {
  c.Str(L"Text", &TStrings::Text, &TStrings::SetTextStr);
  c.IntReadOnly(L"Count", &TStrings::CountProp);
})

void TStrings::Assign(const TPersistent* source) {
  if (auto* s = dynamic_cast<const TStrings*>(source)) {
    if (s != this) SetLines(s->Lines());
    return;
  }
  TPersistent::Assign(source);
}

TW_IMPLEMENT_CLASS(TStringList, [](TClassBuilder<TStringList>&) {})

TW_IMPLEMENT_CLASS(TAnsiStringList, [](TClassBuilder<TAnsiStringList>&) {})

void TAnsiStringList::Assign(const TPersistent* source) {
  if (auto* s = dynamic_cast<const TAnsiStringList*>(source)) {
    if (s != this) SetLines(s->Lines());
    return;
  }
  TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// Streams

const TClassInfo& TStream::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i;
    i.name = L"TStream";
    i.parent = &TObject::StaticClass();
    return i;
  }();
  return info;
}

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (Read(buffer, count) != count) throw EStreamError(L"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (Write(buffer, count) != count) throw EStreamError(L"Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count < 0) throw EStreamError(L"Stream copy of a negative size");
  uint8_t buffer[65536];
  int64_t left = count;
  while (left > 0) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(left, sizeof buffer));
    source.ReadBuffer(buffer, chunk);
    WriteBuffer(buffer, chunk);
    left -= static_cast<int64_t>(chunk);
  }
  return count;
}

std::vector<uint8_t> TStream::ReadAll() {
  int64_t left = Size() - Position();
  std::vector<uint8_t> out(static_cast<size_t>(std::max<int64_t>(left, 0)));
  if (!out.empty()) ReadBuffer(out.data(), out.size());
  return out;
}

TW_IMPLEMENT_CLASS(TMemoryStream, [](TClassBuilder<TMemoryStream>&) {})

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (FPosition >= FData.size()) return 0;
  size_t n = std::min(count, FData.size() - FPosition);
  if (n) std::memcpy(buffer, FData.data() + FPosition, n);
  FPosition += n;
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  if (FPosition + count > FData.size()) FData.resize(FPosition + count);
  std::memcpy(FData.data() + FPosition, buffer, count);
  FPosition += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? static_cast<int64_t>(FPosition) : Size();
  int64_t p = base + offset;
  if (p < 0) p = 0;
  // Past the end is allowed; a later write fills the gap with zeros.
  FPosition = static_cast<size_t>(p);
  return p;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0) size = 0;
  FData.resize(static_cast<size_t>(size));
  if (FPosition > FData.size()) FPosition = FData.size();
}

void TMemoryStream::LoadFromBytes(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  FData.assign(p, p + size);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  if (&source == this) {
    FPosition = 0;
    return;
  }
  source.SetPosition(0);
  FData = source.ReadAll();
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& target) const {
  if (!FData.empty()) target.WriteBuffer(FData.data(), FData.size());
}

// ---------------------------------------------------------------------------
// Collections

TW_IMPLEMENT_CLASS(TCollectionItem, [](TClassBuilder<TCollectionItem>&) {})

TCollectionItem::TCollectionItem(TCollection* collection) : FCollection(collection) {
  if (collection) {
    FID = collection->FNextID++;
    collection->FItems.push_back(this);
  }
}

TCollectionItem::~TCollectionItem() {
  if (FCollection && !FCollection->FClearing) {
    auto& v = FCollection->FItems;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& v = FCollection->FItems;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TW_IMPLEMENT_CLASS(TCollection, [](TClassBuilder<TCollection>& c) {
  c.IntReadOnly(L"Count", &TCollection::Count);
})

TCollection::TCollection(TPersistent* owner, TItemFactory factory) : FOwner(owner), FFactory(std::move(factory)) {}

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
  return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
  if (!FFactory) throw EListError(L"Collection without an item class");
  TCollectionItem* item = FFactory(this);
  // A factory that did not pass the collection to the item's constructor.
  if (item && std::find(FItems.begin(), FItems.end(), item) == FItems.end()) {
    item->FCollection = this;
    item->FID = FNextID++;
    FItems.push_back(item);
  }
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  FClearing = true;
  std::vector<TCollectionItem*> items;
  items.swap(FItems);
  for (auto it = items.rbegin(); it != items.rend(); ++it) delete *it;
  FClearing = false;
}

void TCollection::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  Clear();
  for (TCollectionItem* item : other->FItems) Add()->Assign(item);
}
