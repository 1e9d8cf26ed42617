// String lists, streams, collections and text conversion.
#include <gtest/gtest.h>

#include "gui/Classes.h"
#include "gui/Strings.h"

TEST(StringList, TextSplitsAtEveryLineEnding) {
  TStringList l;
  l.SetText(L"a\r\nb\rc\nd");
  EXPECT_EQ(l.Lines(), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
  l.SetText(L"x\r\n\r\ny\r\n");
  EXPECT_EQ(l.Lines(), (std::vector<std::wstring>{L"x", L"", L"y"}));
  l.SetText(L"\n\n");
  EXPECT_EQ(l.Count(), 2);
  l.SetText(L"");
  EXPECT_EQ(l.Count(), 0);
  l.SetText(std::wstring(L"keep\r\nstop\0hidden\r\nmore", 24));
  EXPECT_EQ(l.Lines(), (std::vector<std::wstring>{L"keep", L"stop"}));
  EXPECT_EQ(l.GetText(), L"keep\r\nstop\r\n");
}

TEST(StringList, EditingNamesAndAssign) {
  TStringList l;
  l.Add(L"TButton=button");
  l.Add(L"TPanel=panel");
  l.Insert(0, L"first");
  EXPECT_EQ(l.IndexOf(L"TPanel=panel"), 2);
  EXPECT_EQ(l.IndexOf(L"tpanel=panel"), -1);
  EXPECT_EQ(l.Values(L"tbutton"), L"button");
  EXPECT_EQ(l.Names(1), L"TButton");
  EXPECT_EQ(l.Values(L"first"), L"");
  l.Delete(0);
  EXPECT_EQ(l[0], L"TButton=button");
  EXPECT_THROW(l.Delete(5), EListError);
  EXPECT_THROW(l.Get(-1), EListError);
  EXPECT_THROW(l.Insert(9, L"x"), EListError);
  int changes = 0;
  TStringList copy;
  copy.OnChange = [&] { ++changes; };
  copy.Assign(&l);
  EXPECT_EQ(copy.Lines(), l.Lines());
  EXPECT_EQ(changes, 1);
  TMemoryStream notAList;
  EXPECT_THROW(copy.Assign(nullptr), EPropertyError);

  TAnsiStringList bytes;
  bytes.SetText(std::string("\xb2\xe2\xca\xd4\r\nline 2"));
  EXPECT_EQ(bytes.Count(), 2);
  EXPECT_EQ(bytes[0], std::string("\xb2\xe2\xca\xd4"));
}

TEST(MemoryStream, ReadWriteSeekAndShortReads) {
  TMemoryStream s;
  const char data[] = "0123456789";
  s.WriteBuffer(data, 10);
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Position(), 10);
  s.SetPosition(4);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 6u);
  EXPECT_EQ(std::string(buf, 6), "456789");
  EXPECT_EQ(s.Read(buf, 1), 0u);
  s.SetPosition(8);
  EXPECT_THROW(s.ReadBuffer(buf, 3), EStreamError);
  // Writing past the end fills the gap with zeros.
  s.Seek(2, TStream::soEnd);
  s.WriteBuffer("x", 1);
  EXPECT_EQ(s.Size(), 13);
  EXPECT_EQ(s.Bytes()[10], 0);
  EXPECT_EQ(s.Bytes()[12], 'x');
  s.Seek(-100, TStream::soCurrent);
  EXPECT_EQ(s.Position(), 0);
  s.SetSize(3);
  EXPECT_EQ(s.Position(), 0);
  EXPECT_EQ(s.ReadAll(), (std::vector<uint8_t>{'0', '1', '2'}));

  TMemoryStream copy;
  copy.LoadFromStream(s);
  EXPECT_EQ(copy.Bytes(), s.Bytes());
  EXPECT_EQ(copy.Position(), 0);
  TMemoryStream part;
  s.SetPosition(1);
  part.CopyFrom(s, 2);
  EXPECT_EQ(part.Bytes(), (std::vector<uint8_t>{'1', '2'}));
  s.SetPosition(2);
  EXPECT_THROW(part.CopyFrom(s, 5), EStreamError);
  TMemoryStream whole;
  whole.CopyFrom(s, 0);  // 0: the whole source
  EXPECT_EQ(whole.Size(), 3);
}

namespace {
class TNamedItem : public TCollectionItem {
  TW_DECLARE_CLASS(TNamedItem, TCollectionItem)
 public:
  explicit TNamedItem(TCollection* c) : TCollectionItem(c), FName(L"Item" + IntToStr(ID())) {}
  void Assign(const TPersistent* source) override {
    if (auto* o = dynamic_cast<const TNamedItem*>(source)) {
      FName = o->FName;
      return;
    }
    TCollectionItem::Assign(source);
  }
  std::wstring FName;
};
TW_IMPLEMENT_CLASS(TNamedItem, [](TClassBuilder<TNamedItem>& c) { c.Field(L"Name", &TNamedItem::FName); })
TCollection::TItemFactory NamedFactory() {
  return [](TCollection* c) { return new TNamedItem(c); };
}
}  // namespace

TEST(Collection, ItemsGetIdsAndDeleteAndAssignKeepOrder) {
  TCollection c(nullptr, NamedFactory());
  c.Add();
  c.Add();
  c.Add();
  EXPECT_EQ(c.ItemAs<TNamedItem>(2)->FName, L"Item2");
  c.Delete(1);
  EXPECT_EQ(c.Count(), 2);
  EXPECT_EQ(c.Items(1)->Index(), 1);
  EXPECT_EQ(c.ItemAs<TNamedItem>(1)->FName, L"Item2");
  // IDs are never reused.
  EXPECT_EQ(c.ItemAs<TNamedItem>(c.Add()->Index())->ID(), 3);
  delete c.Items(0);
  EXPECT_EQ(c.Count(), 2);

  TCollection copy(nullptr, NamedFactory());
  copy.Add();
  copy.Assign(&c);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.ItemAs<TNamedItem>(0)->FName, L"Item2");
  EXPECT_EQ(copy.ItemAs<TNamedItem>(1)->FName, L"Item3");
  EXPECT_THROW(copy.Items(2), EListError);
  TCollection noFactory(nullptr, nullptr);
  EXPECT_THROW(noFactory.Add(), EListError);
}

TEST(Text, Utf8AndUtf16ConversionsHandleBadInput) {
  const std::string utf8 = "Tonewell 立即转换 \xF0\x9F\x8E\xB5";
  std::wstring wide = Utf8ToWide(utf8);
  EXPECT_EQ(WideToUtf8(wide), utf8);
  std::u16string units = WideToUtf16(wide);
  EXPECT_EQ(units.size(), 9u + 4u + 1u + 2u);  // the last character needs a surrogate pair
  EXPECT_EQ(Utf16ToWide(units), wide);
  // Broken sequences become U+FFFD, one per bad byte, never a crash.
  EXPECT_EQ(Utf8ToWide("a\xC3"), L"a\xFFFD");
  EXPECT_EQ(Utf8ToWide("\xE4\xB8"), L"\xFFFD\xFFFD");
  EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\xFFFD\xFFFD");  // overlong
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\xFFFD\xFFFD\xFFFD");  // surrogate
  EXPECT_EQ(Utf16ToWide(std::u16string(1, char16_t(0xD800))), L"\xFFFD");
}

TEST(Text, IntegerParsing) {
  int64_t v = 0;
  EXPECT_TRUE(TryStrToInt64(L" -12 ", v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(TryStrToInt64(L"0x1FFFFB", v));
  EXPECT_EQ(v, 0x1FFFFB);
  EXPECT_TRUE(TryStrToInt64(L"$FF00000F", v));
  EXPECT_EQ(v, 0xFF00000F);
  EXPECT_TRUE(TryStrToInt64(L"-9223372036854775808", v));
  EXPECT_FALSE(TryStrToInt64(L"9223372036854775808", v));
  EXPECT_FALSE(TryStrToInt64(L"", v));
  EXPECT_FALSE(TryStrToInt64(L"-", v));
  EXPECT_FALSE(TryStrToInt64(L"0x", v));
  EXPECT_FALSE(TryStrToInt64(L"1 2", v));
  EXPECT_EQ(StrToIntDef(L"5000000000", 7), 7);
  EXPECT_EQ(FormatW(L"ControlOfs%.8X%.8X", 0x400000u, 0x2Au), L"ControlOfs004000000000002A");
}
