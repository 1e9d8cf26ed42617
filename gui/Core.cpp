#include "gui/Core.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <mutex>

#include "gui/Colours.h"

std::wstring ExceptionText(const std::exception_ptr& error) {
  if (!error) return std::wstring();
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return Utf8ToWide(e.what());
  } catch (...) {
    return L"Unknown error";
  }
}

namespace {
TExceptionHandler& CurrentExceptionHandler() {
  static TExceptionHandler handler;
  return handler;
}
}  // namespace

void SetExceptionHandler(TExceptionHandler handler) { CurrentExceptionHandler() = std::move(handler); }

void HandleCallbackException(const std::exception_ptr& error) {
  // The handler itself must not let anything escape into a callback.
  try {
    if (CurrentExceptionHandler()) {
      CurrentExceptionHandler()(error);
      return;
    }
  } catch (...) {
  }
  std::fputws((ExceptionText(error) + L"\n").c_str(), stderr);
}

// ---------------------------------------------------------------------------

int TEnumInfo::IndexOf(std::wstring_view name) const {
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) return static_cast<int>(i);
  return -1;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(std::wstring_view n) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const auto& p : c->props)
      if (SameText(p.name, n)) return &p;
  return nullptr;
}

const TBinaryPropInfo* TClassInfo::FindBinaryProp(std::wstring_view n) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const auto& p : c->binaryProps)
      if (SameText(p.name, n)) return &p;
  return nullptr;
}

const THandlerInfo* TClassInfo::FindHandler(std::wstring_view n) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const auto& h : c->handlers)
      if (SameText(h.name, n)) return &h;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::wstring_view n) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const auto& f : c->fields)
      if (SameText(f.name, n)) return &f;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const auto& p : (*it)->props) {
      // A subclass may redeclare a property; keep the most derived one.
      auto same = std::find_if(out.begin(), out.end(), [&](const TPropInfo* q) { return SameText(q->name, p.name); });
      if (same != out.end()) *same = &p;
      else out.push_back(&p);
    }
  return out;
}

// ---------------------------------------------------------------------------
// Registry

namespace {
struct Registry {
  std::mutex lock;
  std::map<std::wstring, const TClassInfo*> byName;  // upper-case keys
};
Registry& TheRegistry() {
  static Registry r;
  return r;
}
}  // namespace

void RegisterClassInfo(const TClassInfo& info) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> g(r.lock);
  r.byName[UpperCase(info.name)] = &info;
}

const TClassInfo* FindClassInfo(std::wstring_view name) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> g(r.lock);
  auto it = r.byName.find(UpperCase(name));
  return it == r.byName.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------------------

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i;
    i.name = L"TObject";
    return i;
  }();
  return info;
}

TW_IMPLEMENT_CLASS(TPersistent, [](TClassBuilder<TPersistent>&) {})

void TPersistent::Assign(const TPersistent* source) {
  throw EPropertyError(L"Cannot assign a " + (source ? source->ClassName() : std::wstring(L"nil")) + L" to a " +
                       ClassName());
}

TW_IMPLEMENT_CLASS(TComponent, [](TClassBuilder<TComponent>& c) {
  c.Str(L"Name", &TComponent::Name, &TComponent::SetName);
  c.Int(L"Tag", &TComponent::Tag, &TComponent::SetTag);
})

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  FDestroying = true;
  // Tell everyone holding a reference to us; they drop it in Notification.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& back = other->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Free(TComponent* component) {
  if (!component || component->DeferFree()) return;
  component->BeforeDestruction();
  delete component;
}

void TComponent::DestroyComponents() {
  FDestroying = true;
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    RemoveComponent(c);
    c->BeforeDestruction();  // never deferred: the owner goes now
    delete c;
  }
}

void TComponent::SetName(const std::wstring& name) {
  if (name == FName) return;
  if (FOwner && !name.empty()) {
    TComponent* other = FOwner->FindComponent(name);
    if (other && other != this)
      throw EComponentError(L"A component named " + name + L" already exists");
  }
  FName = name;
}

TComponent* TComponent::FindComponent(std::wstring_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& v = FOwner->FComponents;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TComponent::ChangeOwner(TComponent* owner) {
  if (owner == FOwner) return;
  if (FOwner) FOwner->RemoveComponent(this);
  if (owner) owner->InsertComponent(this);
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(other);
    other->FFreeNotifies.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), other), FFreeNotifies.end());
  other->FFreeNotifies.erase(std::remove(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this),
                             other->FFreeNotifies.end());
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::InsertComponent(TComponent* c) {
  FComponents.push_back(c);
  c->FOwner = this;
  Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(FComponents.begin(), FComponents.end(), c);
  if (it == FComponents.end()) return;
  FComponents.erase(it);
  c->FOwner = nullptr;
  Notification(c, opRemove);
}

// ---------------------------------------------------------------------------
// Property access by name

const TPropInfo* FindPropInfo(TObject* object, std::wstring_view name, TObject** holder) {
  if (holder) *holder = nullptr;
  if (!object) return nullptr;
  TObject* current = object;
  for (;;) {
    size_t dot = name.find(L'.');
    std::wstring_view head = name.substr(0, dot);
    const TPropInfo* p = current->ClassType().FindProp(head);
    if (!p) return nullptr;
    if (dot == std::wstring_view::npos) {
      if (holder) *holder = current;
      return p;
    }
    if (!p->getObj) return nullptr;
    current = p->getObj(current);
    if (!current) return nullptr;
    name = name.substr(dot + 1);
  }
}

bool HasProperty(TObject* object, std::wstring_view name) { return FindPropInfo(object, name) != nullptr; }

static std::wstring SetToText(const TEnumInfo* e, int64_t bits) {
  std::wstring t = L"[";
  bool first = true;
  for (size_t i = 0; i < 64; ++i) {
    if (!(static_cast<uint64_t>(bits) & (uint64_t(1) << i))) continue;
    if (!first) t += L",";
    first = false;
    t += (e && i < e->names.size()) ? e->names[i] : IntToStr(static_cast<int64_t>(i));
  }
  return t + L"]";
}

static std::wstring ComponentPath(TComponent* c) { return c ? c->Name() : std::wstring(); }

bool GetPropText(TObject* object, std::wstring_view name, std::wstring& text) {
  TObject* holder = nullptr;
  const TPropInfo* p = FindPropInfo(object, name, &holder);
  if (!p) return false;
  switch (p->kind) {
    case TPropKind::Integer:
      text = IntToStr(p->getOrd(holder));
      return true;
    case TPropKind::Boolean:
      text = p->getOrd(holder) ? L"True" : L"False";
      return true;
    case TPropKind::Enum: {
      int64_t v = p->getOrd(holder);
      if (p->enumInfo && v >= 0 && static_cast<size_t>(v) < p->enumInfo->names.size())
        text = p->enumInfo->names[static_cast<size_t>(v)];
      else
        text = IntToStr(v);
      return true;
    }
    case TPropKind::Set:
      text = SetToText(p->enumInfo, p->getOrd(holder));
      return true;
    case TPropKind::Colour: {
      int64_t v = p->getOrd(holder);
      if (!ColourToIdent(v, text)) text = FormatW(L"$%.8X", static_cast<unsigned>(v));
      return true;
    }
    case TPropKind::String:
      text = p->getStr(holder);
      return true;
    case TPropKind::StringList:
    case TPropKind::Object:
    case TPropKind::Collection: {
      TObject* o = p->getObj ? p->getObj(holder) : nullptr;
      text = o ? L"(" + o->ClassName() + L")" : L"";
      return true;
    }
    case TPropKind::Component: {
      TObject* o = p->getObj ? p->getObj(holder) : nullptr;
      text = ComponentPath(dynamic_cast<TComponent*>(o));
      return true;
    }
    case TPropKind::Event:
      text.clear();
      return true;
  }
  return false;
}

static int64_t ParseSet(const TPropInfo& p, const std::wstring& text) {
  std::wstring t = Trim(text);
  if (t.size() < 2 || t.front() != L'[' || t.back() != L']')
    throw EPropertyError(L"Invalid set value \"" + text + L"\" for " + p.name);
  int64_t bits = 0;
  std::wstring body = t.substr(1, t.size() - 2);
  size_t start = 0;
  while (start <= body.size()) {
    size_t comma = body.find(L',', start);
    std::wstring item = Trim(body.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
    if (!item.empty()) {
      int index = p.enumInfo ? p.enumInfo->IndexOf(item) : -1;
      if (index < 0 || index >= 64) throw EPropertyError(L"Unknown set member \"" + item + L"\" for " + p.name);
      bits |= int64_t(1) << index;
    }
    if (comma == std::wstring::npos) break;
    start = comma + 1;
  }
  return bits;
}

TPropWrite TrySetPropText(TObject* object, std::wstring_view name, const std::wstring& text) {
  TObject* holder = nullptr;
  const TPropInfo* p = FindPropInfo(object, name, &holder);
  if (!p) return TPropWrite::NotFound;
  if (p->readOnly || (p->kind == TPropKind::String && !p->setStr)) return TPropWrite::ReadOnly;
  try {
    SetPropText(object, name, text);
  } catch (const EPropertyError&) {
    return TPropWrite::BadValue;
  }
  return TPropWrite::Written;
}

void SetPropText(TObject* object, std::wstring_view name, const std::wstring& text) {
  TObject* holder = nullptr;
  const TPropInfo* p = FindPropInfo(object, name, &holder);
  if (!p) throw EPropertyError(L"Property \"" + std::wstring(name) + L"\" not found");
  auto bad = [&]() { return EPropertyError(L"Invalid value \"" + text + L"\" for property " + p->name); };
  if (p->readOnly) throw EPropertyError(L"Property " + p->name + L" is read-only");
  switch (p->kind) {
    case TPropKind::Integer: {
      int64_t v;
      if (!TryStrToInt64(text, v) || v < INT32_MIN || v > UINT32_MAX) throw bad();
      p->setOrd(holder, static_cast<int32_t>(v));
      return;
    }
    case TPropKind::Boolean: {
      std::wstring t = Trim(text);
      if (SameText(t, L"True")) p->setOrd(holder, 1);
      else if (SameText(t, L"False")) p->setOrd(holder, 0);
      else throw bad();
      return;
    }
    case TPropKind::Enum: {
      int index = p->enumInfo ? p->enumInfo->IndexOf(Trim(text)) : -1;
      if (index < 0) throw bad();
      p->setOrd(holder, index);
      return;
    }
    case TPropKind::Set:
      p->setOrd(holder, ParseSet(*p, text));
      return;
    case TPropKind::Colour: {
      int64_t v;
      std::wstring t = Trim(text);
      if (!IdentToColour(t, v) && !TryStrToInt64(t, v)) throw bad();
      if (v < INT32_MIN || v > UINT32_MAX) throw bad();
      p->setOrd(holder, static_cast<int32_t>(static_cast<uint32_t>(v)));
      return;
    }
    case TPropKind::String:
      if (!p->setStr) throw EPropertyError(L"Property " + p->name + L" is read-only");
      p->setStr(holder, text);
      return;
    case TPropKind::StringList: {
      TObject* o = p->getObj ? p->getObj(holder) : nullptr;
      if (!o) throw bad();
      // Lines as text: the string list's own text setter.
      SetPropText(o, L"Text", text);
      return;
    }
    case TPropKind::Component: {
      if (!p->setObj) throw EPropertyError(L"Property " + p->name + L" is read-only");
      std::wstring t = Trim(text);
      if (t.empty()) {
        p->setObj(holder, nullptr);
        return;
      }
      // Look the name up from the holder outward through the owner chain.
      TComponent* from = dynamic_cast<TComponent*>(holder);
      TComponent* found = nullptr;
      for (TComponent* c = from; c && !found; c = c->Owner()) {
        if (SameText(c->Name(), t)) found = c;
        else found = c->FindComponent(t);
      }
      if (!found) throw EPropertyError(L"Component \"" + t + L"\" not found for property " + p->name);
      p->setObj(holder, found);
      return;
    }
    case TPropKind::Object:
    case TPropKind::Collection:
    case TPropKind::Event:
      throw EPropertyError(L"Property " + p->name + L" cannot be set from text");
  }
}

int GetIntProp(TObject* object, std::wstring_view name) {
  TObject* holder = nullptr;
  const TPropInfo* p = FindPropInfo(object, name, &holder);
  if (!p || !p->getOrd) return -1;
  return static_cast<int>(p->getOrd(holder));
}

std::wstring GetEnumProp(TObject* object, std::wstring_view name) {
  TObject* holder = nullptr;
  const TPropInfo* p = FindPropInfo(object, name, &holder);
  if (!p || (p->kind != TPropKind::Enum && p->kind != TPropKind::Boolean)) return std::wstring();
  std::wstring text;
  GetPropText(object, name, text);
  return text;
}

std::wstring GetStrProp(TObject* object, std::wstring_view name) {
  TObject* holder = nullptr;
  const TPropInfo* p = FindPropInfo(object, name, &holder);
  if (!p || p->kind != TPropKind::String) return std::wstring();
  return p->getStr(holder);
}

TObject* GetObjectProp(TObject* object, std::wstring_view name, const TClassInfo* ofClass) {
  TObject* holder = nullptr;
  const TPropInfo* p = FindPropInfo(object, name, &holder);
  if (!p || !p->getObj) return nullptr;
  TObject* o = p->getObj(holder);
  if (o && ofClass && !o->InheritsFrom(*ofClass)) return nullptr;
  return o;
}

// ---------------------------------------------------------------------------
// Colour identifiers

namespace {
struct ColourName {
  TColor value;
  const wchar_t* name;
};
const ColourName kColourNames[] = {
    {clBlack, L"clBlack"}, {clMaroon, L"clMaroon"}, {clGreen, L"clGreen"}, {clOlive, L"clOlive"},
    {clNavy, L"clNavy"}, {clPurple, L"clPurple"}, {clTeal, L"clTeal"}, {clGray, L"clGray"},
    {clSilver, L"clSilver"}, {clRed, L"clRed"}, {clLime, L"clLime"}, {clYellow, L"clYellow"},
    {clBlue, L"clBlue"}, {clFuchsia, L"clFuchsia"}, {clAqua, L"clAqua"}, {clWhite, L"clWhite"},
    {clScrollBar, L"clScrollBar"}, {clBackground, L"clBackground"}, {clActiveCaption, L"clActiveCaption"},
    {clInactiveCaption, L"clInactiveCaption"}, {clMenu, L"clMenu"}, {clWindow, L"clWindow"},
    {clWindowFrame, L"clWindowFrame"}, {clMenuText, L"clMenuText"}, {clWindowText, L"clWindowText"},
    {clCaptionText, L"clCaptionText"}, {clActiveBorder, L"clActiveBorder"},
    {clInactiveBorder, L"clInactiveBorder"}, {clAppWorkSpace, L"clAppWorkSpace"},
    {clHighlight, L"clHighlight"}, {clHighlightText, L"clHighlightText"}, {clBtnFace, L"clBtnFace"},
    {clBtnShadow, L"clBtnShadow"}, {clGrayText, L"clGrayText"}, {clBtnText, L"clBtnText"},
    {clInactiveCaptionText, L"clInactiveCaptionText"}, {clBtnHighlight, L"clBtnHighlight"},
    {cl3DDkShadow, L"cl3DDkShadow"}, {cl3DLight, L"cl3DLight"}, {clInfoText, L"clInfoText"},
    {clInfoBk, L"clInfoBk"}, {clHotLight, L"clHotLight"}, {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"}, {clMenuHighlight, L"clMenuHighlight"},
    {clMenuBar, L"clMenuBar"}, {clNone, L"clNone"}, {clDefault, L"clDefault"},
};
}  // namespace

bool ColourToIdent(int64_t colour, std::wstring& ident) {
  for (const auto& c : kColourNames)
    if (static_cast<int64_t>(c.value) == static_cast<int64_t>(static_cast<int32_t>(colour))) {
      ident = c.name;
      return true;
    }
  return false;
}

bool IdentToColour(std::wstring_view ident, int64_t& colour) {
  for (const auto& c : kColourNames)
    if (SameText(c.name, ident)) {
      colour = c.value;
      return true;
    }
  return false;
}
