#include "skin/data/WinSkinStore.h"

TSkinCollectionItem::TSkinCollectionItem(TCollection* collection)
    : TCollectionItem(collection), FName(L"SkinItem" + std::to_wstring(ID())) {}

void TSkinCollectionItem::SetName(const std::wstring& name) {
  if (name == FName) return;
  if (TCollection* owner = Collection()) {
    for (int i = 0; i < owner->Count(); ++i) {
      auto* other = dynamic_cast<TSkinCollectionItem*>(owner->Items(i));
      if (other && other != this && other->FName == name)
        throw Exception(L"The name " + name + L" is already used.");
    }
  }
  FName = name;
}

void TSkinCollectionItem::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TSkinCollectionItem*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  if (other == this) return;
  FName = other->FName;
  FData.LoadFromBytes(other->FData.Memory(), static_cast<size_t>(other->FData.Size()));
}

void TSkinCollectionItem::ReadData(const std::vector<uint8_t>& bytes) {
  FData.Clear();
  FData.LoadFromBytes(bytes.data(), bytes.size());
}

std::vector<uint8_t> TSkinCollectionItem::WriteData() { return FData.Bytes(); }

TW_IMPLEMENT_CLASS(TSkinCollectionItem, [](TClassBuilder<TSkinCollectionItem>& c) {
  c.Str(L"Name", &TSkinCollectionItem::Name, &TSkinCollectionItem::SetName);
  c.Str(L"SkinData", &TSkinCollectionItem::SkinData, &TSkinCollectionItem::SetSkinData);
  c.IntReadOnly(L"DataSize", &TSkinCollectionItem::DataSize);
  c.Binary(L"DataStream", &TSkinCollectionItem::ReadData, &TSkinCollectionItem::WriteData);
})

TSkinCollection::TSkinCollection(TPersistent* owner)
    : TCollection(owner, [](TCollection* c) -> TCollectionItem* { return new TSkinCollectionItem(c); }) {}

TW_IMPLEMENT_CLASS(TSkinCollection, [](TClassBuilder<TSkinCollection>&) {})

TSkinStore::TSkinStore(TComponent* owner) : TComponent(owner), FStore(new TSkinCollection(this)) {}

TSkinStore::~TSkinStore() { delete FStore; }

void TSkinStore::SetStore(TSkinCollection* store) {
  if (store) FStore->Assign(store);
}

const std::vector<uint8_t>* TSkinStore::Package(int index) const {
  if (index < 0 || index >= FStore->Count()) return nullptr;
  return &FStore->Items(index)->Data();
}

TW_IMPLEMENT_CLASS(TSkinStore, [](TClassBuilder<TSkinStore>& c) {
  c.Sub(L"Store", TPropKind::Collection, &TSkinStore::Store);
  TPropInfo& store = c.info.props.back();
  store.objectClass = &TSkinCollection::StaticClass;
  store.setObj = [](TObject* self, TObject* value) {
    auto* collection = value ? dynamic_cast<TSkinCollection*>(value) : nullptr;
    if (value && !collection) throw EPropertyError(L"Store takes a TSkinCollection");
    static_cast<TSkinStore*>(self)->SetStore(collection);
  };
})
