// The embedded skin store: item names, the published and binary properties
// the form reader uses, copying, and reading a stored package back.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gui/FormData.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinStore.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Package(const std::string& settings) {
  TSkinWriter w;
  w.Add("skin.ini", Bytes(settings.begin(), settings.end()));
  w.Add("form.bmp", Bytes(300, 0x42));
  return w.BuildPackage();
}

const TBinaryPropInfo& DataStream() {
  const TBinaryPropInfo* p = TSkinCollectionItem::StaticClass().FindBinaryProp(L"DataStream");
  if (!p) throw std::runtime_error("DataStream is not declared");
  return *p;
}

}  // namespace

TEST(SkinStoreItems, NewItemsAreNamedAfterTheirCollectionId) {
  TSkinStore store(nullptr);
  TSkinCollection* items = store.Store();
  EXPECT_EQ(items->Add()->Name(), L"SkinItem0");
  EXPECT_EQ(items->Add()->Name(), L"SkinItem1");
  items->Delete(0);
  // IDs are never reused within a collection.
  EXPECT_EQ(items->Add()->Name(), L"SkinItem2");
}

TEST(SkinStoreItems, RenamingRefusesAnotherItemsExactName) {
  TSkinStore store(nullptr);
  TSkinCollectionItem* a = store.Store()->Add();
  TSkinCollectionItem* b = store.Store()->Add();
  a->SetName(L"SkinItem0");  // its own name
  EXPECT_EQ(a->Name(), L"SkinItem0");
  try {
    b->SetName(L"SkinItem0");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"The name SkinItem0 is already used.");
  }
  EXPECT_EQ(b->Name(), L"SkinItem1");
  b->SetName(L"SKINITEM0");  // the comparison is exact
  EXPECT_EQ(b->Name(), L"SKINITEM0");
  // Through the published property, as the form reader sets it.
  EXPECT_THROW(SetPropText(a, L"Name", L"SKINITEM0"), Exception);
  SetPropText(a, L"Name", L"Jade");
  EXPECT_EQ(a->Name(), L"Jade");
}

TEST(SkinStoreItems, DataStreamReplacesAndReturnsTheWholePackage) {
  TSkinStore store(nullptr);
  TSkinCollectionItem* item = store.Store()->Add();
  DataStream().read(item, Bytes(5000, 1));
  const Bytes package = Package("[Form]\r\n");
  DataStream().read(item, package);  // a shorter value leaves nothing behind
  EXPECT_EQ(item->Data(), package);
  // Writing starts at offset 0 wherever the stream stands.
  item->Stream().SetPosition(10);
  EXPECT_EQ(DataStream().write(item), package);
  // DataSize follows the bytes and cannot be set.
  EXPECT_EQ(GetIntProp(item, L"DataSize"), static_cast<int>(package.size()));
  EXPECT_THROW(SetPropText(item, L"DataSize", L"5"), EPropertyError);
  DataStream().read(item, {});
  EXPECT_EQ(GetIntProp(item, L"DataSize"), 0);
}

TEST(SkinStoreCopies, AssignAndSetStoreCopyNamesAndBytes) {
  TSkinStore source(nullptr);
  for (int i = 0; i < 3; ++i) DataStream().read(source.Store()->Add(), Package("[S" + std::to_string(i) + "]\r\n"));
  source.Store()->Items(1)->SetName(L"Graphite");
  source.Store()->Items(1)->Stream().SetPosition(7);

  TSkinStore copy(nullptr);
  copy.Store()->Add();  // replaced by the copy
  copy.SetStore(source.Store());
  ASSERT_EQ(copy.Store()->Count(), 3);
  EXPECT_EQ(copy.Store()->Items(1)->Name(), L"Graphite");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(copy.Store()->Items(i)->Data(), source.Store()->Items(i)->Data());
  EXPECT_EQ(source.Store()->Items(1)->Stream().Position(), 7);
  // The copy is independent of its source.
  DataStream().read(source.Store()->Items(0), {});
  EXPECT_GT(copy.Store()->Items(0)->DataSize(), 0);

  copy.SetStore(nullptr);
  EXPECT_EQ(copy.Store()->Count(), 3);
  // The published Store property goes the same way.
  const TPropInfo* prop = TSkinStore::StaticClass().FindProp(L"Store");
  ASSERT_TRUE(prop && prop->setObj);
  TSkinStore other(nullptr);
  DataStream().read(other.Store()->Add(), Bytes{1, 2, 3});
  prop->setObj(&copy, other.Store());
  ASSERT_EQ(copy.Store()->Count(), 1);
  EXPECT_EQ(copy.Store()->Items(0)->Data(), (Bytes{1, 2, 3}));
}

TEST(SkinStorePackages, AStoredItemOpensWithTheReader) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* store = new TSkinStore(owner.get());  // freed with its owner
  for (int i = 0; i < 5; ++i) DataStream().read(store->Store()->Add(), Package("[Item" + std::to_string(i) + "]\r\n"));
  EXPECT_EQ(store->Package(5), nullptr);
  EXPECT_EQ(store->Package(-1), nullptr);
  const Bytes* bytes = store->Package(2);
  ASSERT_NE(bytes, nullptr);
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(*bytes));
  Bytes ini;
  std::string name;
  ASSERT_TRUE(reader.ExtractFirstMatch(".ini", ini, name));
  EXPECT_EQ(std::string(ini.begin(), ini.end()), "[Item2]\r\n");
  owner.reset();
}

namespace {

std::wstring Hex(const Bytes& b) {
  static const wchar_t* digits = L"0123456789abcdef";
  std::wstring h;
  for (uint8_t x : b) {
    h += digits[x >> 4];
    h += digits[x & 15];
  }
  return h;
}

TSkinStore* StoreOf(TComponent& root) { return dynamic_cast<TSkinStore*>(root.FindComponent(L"SkinStore1")); }

}  // namespace

TEST(SkinStoreDescription, ItemsComeFromTheFormDescriptionAndItsCompiledForm) {
  const Bytes p0 = Package("[Zero]\r\n"), p1 = Package("[One]\r\n");
  const std::wstring text = L"TComponent Root {\n"
                            L"  TSkinStore SkinStore1 {\n"
                            L"    Store = {\n"
                            L"      { Name = \"SkinItem0\" DataStream = @hex \"" + Hex(p0) + L"\" }\n"
                            L"      { Name = \"Jade\" DataStream = @hex \"" + Hex(p1) + L"\" }\n"
                            L"    }\n"
                            L"  }\n"
                            L"}\n";
  const TFormNode node = ParseFormText(text, nullptr, L"store.form");
  const Bytes compiled = WriteFormBinary(node);
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass == 0 ? "text" : "compiled");
    TComponent root(nullptr);
    ReadComponentTree(&root, pass == 0 ? node : ReadFormBinary(compiled.data(), compiled.size()), L"store.form");
    TSkinStore* store = StoreOf(root);
    ASSERT_NE(store, nullptr);
    ASSERT_EQ(store->Store()->Count(), 2);
    EXPECT_EQ(store->Store()->Items(0)->Name(), L"SkinItem0");
    EXPECT_EQ(store->Store()->Items(1)->Name(), L"Jade");
    EXPECT_EQ(store->Store()->Items(0)->Data(), p0);
    EXPECT_EQ(store->Store()->Items(1)->Data(), p1);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(*store->Package(1)));
    Bytes ini;
    EXPECT_TRUE(reader.ExtractFile("skin.ini", ini));
    EXPECT_EQ(std::string(ini.begin(), ini.end()), "[One]\r\n");
  }
}

TEST(SkinStoreDescription, ADuplicateItemNameInTheDescriptionIsAnError) {
  const std::wstring text = L"TComponent Root { TSkinStore SkinStore1 { Store = {"
                            L" { Name = \"Twin\" } { Name = \"Twin\" } } } }";
  TComponent root(nullptr);
  try {
    ReadComponentTree(&root, ParseFormText(text, nullptr, L"dup.form"), L"dup.form");
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find(L"The name Twin is already used."), std::wstring::npos) << e.what();
  }
}
