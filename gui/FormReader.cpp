// Form descriptions: building components from a TFormNode (ReadComponentTree).
#include "gui/FormData.h"

#include <cstring>
#include <new>

#include "gui/Classes.h"

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
    if (!node.name.empty() && FRoot->Name() != node.name)
      Guard(node.line, node.name, [&] { FRoot->SetName(node.name); });
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
