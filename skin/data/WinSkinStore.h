// The embedded skin store: skin packages saved with a form's description.
//
// Classes in this file:
//   TSkinCollectionItem  one stored package: its name and bytes (streamed as
//                        the binary property DataStream)
//   TSkinCollection      the store's ordered items
//   TSkinStore           the component; one published property, Store
//
// The bytes are a stored package as TSkinReader::Open takes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/Classes.h"
#include "gui/Core.h"

class TSkinCollectionItem : public TCollectionItem {
  TW_DECLARE_CLASS(TSkinCollectionItem, TCollectionItem)
 public:
  // construction: named "SkinItem" + the item's collection ID
  explicit TSkinCollectionItem(TCollection* collection);

  // attributes
  const std::wstring& Name() const { return FName; }
  // Raises Exception "The name X is already used." when another item of the
  // collection has exactly this name; the item keeps its old name then.
  void SetName(const std::wstring& name);
  // A hook for a design-time editor: reads "Load Skin", ignores writes.
  std::wstring SkinData() const { return L"Load Skin"; }
  void SetSkinData(const std::wstring&) {}
  int DataSize() const { return static_cast<int>(FData.Size()); }
  const std::vector<uint8_t>& Data() const { return FData.Bytes(); }
  TMemoryStream& Stream() { return FData; }

  // operations
  // Copies the name and the package bytes.
  void Assign(const TPersistent* source) override;
  // The DataStream binary property: reading replaces the bytes with the
  // value, writing gives all bytes from offset 0.
  void ReadData(const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> WriteData();

 private:
  std::wstring FName;
  TMemoryStream FData;
};

class TSkinCollection : public TCollection {
  TW_DECLARE_CLASS(TSkinCollection, TCollection)
 public:
  explicit TSkinCollection(TPersistent* owner);
  TSkinCollectionItem* Items(int index) const { return ItemAs<TSkinCollectionItem>(index); }
  TSkinCollectionItem* Add() { return static_cast<TSkinCollectionItem*>(TCollection::Add()); }
};

class TSkinStore : public TComponent {
  TW_DECLARE_CLASS(TSkinStore, TComponent)
 public:
  explicit TSkinStore(TComponent* owner);
  ~TSkinStore() override;

  // attributes
  TSkinCollection* Store() const { return FStore; }
  // Copies the items of `store`; nullptr is ignored.
  void SetStore(TSkinCollection* store);
  // The package bytes of item `index`, or nullptr when there is none.
  const std::vector<uint8_t>* Package(int index) const;

 private:
  TSkinCollection* FStore;
};
