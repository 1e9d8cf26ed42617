// Object model of the GUI class library (portable).
//
// Classes in this file:
//   Exception, EPropertyError, EComponentError   errors with a wide message
//   TDelegate<R(Args...)>                        comparable method pointer (object + member)
//   TNotifyEvent                                 TDelegate<void(TObject*)>
//   TObject                                      root: class info, ClassName(), InheritsFrom()
//   TClassInfo, TPropInfo, TEnumInfo, TClassBuilder<C>   per-class published tables
//   TPersistent                                  Assign()
//   TComponent                                   owner tree, Name, Tag, free-notification
//   class registry: RegisterClassInfo, FindClassInfo
//   property access by name: GetPropText, SetPropText, TrySetPropText, GetIntProp, GetEnumProp,
//                            GetStrProp, GetObjectProp, FindPropInfo
//
// Declaring a class (see gui/README.md):
//   class TMyThing : public TComponent {
//     TW_DECLARE_CLASS(TMyThing, TComponent)
//   public:
//     explicit TMyThing(TComponent* owner) : TComponent(owner) {}
//     int FCount = 0;
//   };
//   TW_IMPLEMENT_CLASS(TMyThing, [](TClassBuilder<TMyThing>& c) {
//     c.Field(L"Count", &TMyThing::FCount);
//   })
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "gui/Strings.h"

// ---------------------------------------------------------------------------
// Errors

class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message) : FMessage(std::move(message)), FUtf8(WideToUtf8(FMessage)) {}
  const std::wstring& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FUtf8.c_str(); }

 private:
  std::wstring FMessage;
  std::string FUtf8;
};

// A property name, value text or type that does not fit.
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

// Text of any exception: the wide message of ours, what() of others.
std::wstring ExceptionText(const std::exception_ptr& error);

// Every window procedure, hook and timer of the library catches what its
// handler throws and passes it here; Application installs a handler that
// shows a message box. Without a handler the text goes to standard error.
using TExceptionHandler = std::function<void(const std::exception_ptr&)>;
void SetExceptionHandler(TExceptionHandler handler);
void HandleCallbackException(const std::exception_ptr& error);

// ---------------------------------------------------------------------------
// Delegates

class TObject;

// Method pointer: an object and one of its member functions. Two delegates
// are equal when they name the same object and the same member. "Assigned"
// means it has a target.
template <class Sig>
class TDelegate;

template <class R, class... Args>
class TDelegate<R(Args...)> {
 public:
  TDelegate() = default;
  TDelegate(std::nullptr_t) {}

  template <class C, class M>
  static TDelegate Bind(C* object, M method) {
    static_assert(std::is_member_function_pointer_v<M>);
    static_assert(sizeof(M) <= kStorage, "member pointer too large");
    TDelegate d;
    d.FObject = object;
    std::memcpy(d.FMethod, &method, sizeof(M));
    d.FInvoke = [](void* obj, const unsigned char* raw, Args... args) -> R {
      M m;
      std::memcpy(&m, raw, sizeof(M));
      return (static_cast<C*>(obj)->*m)(std::forward<Args>(args)...);
    };
    return d;
  }

  bool Assigned() const { return FInvoke != nullptr; }
  explicit operator bool() const { return Assigned(); }
  void Clear() { *this = TDelegate(); }
  void* Target() const { return FObject; }

  // Calling an unassigned delegate does nothing (and returns R{}).
  R operator()(Args... args) const {
    if (!FInvoke) {
      if constexpr (std::is_void_v<R>) return;
      else return R{};
    }
    return FInvoke(FObject, FMethod, std::forward<Args>(args)...);
  }

  bool operator==(const TDelegate& o) const {
    return FObject == o.FObject && FInvoke == o.FInvoke && std::memcmp(FMethod, o.FMethod, kStorage) == 0;
  }
  bool operator!=(const TDelegate& o) const { return !(*this == o); }

 private:
  static constexpr size_t kStorage = 16;
  void* FObject = nullptr;
  R (*FInvoke)(void*, const unsigned char*, Args...) = nullptr;
  unsigned char FMethod[kStorage] = {};
};

// Shorthand: MakeDelegate<TNotifyEvent>(this, &TFrmMain::btnAddClick)
template <class D, class C, class M>
D MakeDelegate(C* object, M method) {
  return D::Bind(object, method);
}

using TNotifyEvent = TDelegate<void(TObject* Sender)>;

// ---------------------------------------------------------------------------
// Published property tables

class TComponent;
class TPersistent;
struct TClassInfo;

enum class TPropKind {
  Integer,     // 32-bit signed
  Boolean,     // "True" / "False"
  Enum,        // identifier of a TEnumInfo
  Set,         // "[a,b]" of a TEnumInfo, bit n for ordinal n
  Colour,      // number or clXxx identifier (see gui/Colours.h)
  String,      // wide text
  StringList,  // sub-object TStrings; text is its lines
  Object,      // owned sub-object (Font, ...); text is "(TFont)"
  Component,   // reference to another component, by name
  Collection,  // TCollection sub-object
  Event,       // delegate, wired by handler name
};

struct TEnumInfo {
  std::wstring typeName;
  std::vector<std::wstring> names;  // ordinal order
  int IndexOf(std::wstring_view name) const;  // case-insensitive; -1 when missing
};

struct TPropInfo {
  std::wstring name;
  TPropKind kind = TPropKind::Integer;
  const TEnumInfo* enumInfo = nullptr;
  // Class of a component reference (a function: tables may refer to their own class).
  const TClassInfo& (*objectClass)() = nullptr;
  bool readOnly = false;
  // Ordinal access (Integer, Boolean, Enum, Set, Colour).
  std::function<int64_t(TObject*)> getOrd;
  std::function<void(TObject*, int64_t)> setOrd;
  // Text access (String).
  std::function<std::wstring(TObject*)> getStr;
  std::function<void(TObject*, const std::wstring&)> setStr;
  // Object access (StringList, Object, Component, Collection).
  std::function<TObject*(TObject*)> getObj;
  std::function<void(TObject*, TObject*)> setObj;
  // Events: the delegate type and a setter taking a pointer to a delegate of it.
  std::type_index eventType = typeid(void);
  std::function<void(TObject*, const void*)> setEvent;
};

// A binary property: streamed as bytes, not published (DataStream, SkinStream).
struct TBinaryPropInfo {
  std::wstring name;
  std::function<void(TObject*, const std::vector<uint8_t>&)> read;
  std::function<std::vector<uint8_t>(TObject*)> write;
};

// A named handler of a form class, for event wiring by name.
struct THandlerInfo {
  std::wstring name;
  std::type_index eventType = typeid(void);
  // Writes a delegate of eventType bound to `self` into *out.
  std::function<void(TObject* self, void* out)> bind;
};

// A component field of a form class, filled by the form reader by name.
struct TFieldInfo {
  std::wstring name;
  // Stores the component; false when its class does not fit the field.
  std::function<bool(TObject* self, TComponent* value)> assign;
};

struct TClassInfo {
  std::wstring name;
  const TClassInfo* parent = nullptr;
  // Creates an instance owned by the given component (components only).
  std::function<TComponent*(TComponent* owner)> create;
  std::vector<TPropInfo> props;
  std::vector<TBinaryPropInfo> binaryProps;
  std::vector<THandlerInfo> handlers;
  std::vector<TFieldInfo> fields;

  bool InheritsFrom(const TClassInfo& other) const;
  // Lookups walk up the parent chain; names are case-insensitive.
  const TPropInfo* FindProp(std::wstring_view name) const;
  const TBinaryPropInfo* FindBinaryProp(std::wstring_view name) const;
  const THandlerInfo* FindHandler(std::wstring_view name) const;
  const TFieldInfo* FindField(std::wstring_view name) const;
  // Every published property, parents' first.
  std::vector<const TPropInfo*> AllProps() const;
};

// ---------------------------------------------------------------------------
// TObject

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  std::wstring ClassName() const { return ClassType().name; }
  bool InheritsFrom(const TClassInfo& c) const { return ClassType().InheritsFrom(c); }
  template <class T>
  bool Is() const { return InheritsFrom(T::StaticClass()); }
};

#define TW_DECLARE_CLASS(Cls, Base)                                            \
 public:                                                                       \
  using inherited = Base;                                                      \
  static const ::TClassInfo& StaticClass();                                    \
  const ::TClassInfo& ClassType() const override { return StaticClass(); }     \
                                                                               \
 private:

// Defines Cls::StaticClass() with the given builder (a callable taking
// TClassBuilder<Cls>&) and registers the class by name at start-up.
#define TW_IMPLEMENT_CLASS(Cls, ...)                                           \
  const ::TClassInfo& Cls::StaticClass() {                                     \
    static const ::TClassInfo info = ::TClassBuilder<Cls>::Build(              \
        L## #Cls, &Cls::inherited::StaticClass(), __VA_ARGS__);                \
    return info;                                                               \
  }                                                                            \
  static const bool tw_registered_##Cls = (::RegisterClassInfo(Cls::StaticClass()), true);

// ---------------------------------------------------------------------------
// Class registry

void RegisterClassInfo(const TClassInfo& info);
const TClassInfo* FindClassInfo(std::wstring_view name);  // case-insensitive
template <class T>
void RegisterClass() { RegisterClassInfo(T::StaticClass()); }

// ---------------------------------------------------------------------------
// TPersistent, TComponent

class TPersistent : public TObject {
  TW_DECLARE_CLASS(TPersistent, TObject)
 public:
  // Copies the source's state; the default raises EPropertyError.
  virtual void Assign(const TPersistent* source);
};

class TComponent : public TPersistent {
  TW_DECLARE_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* owner);
  // Frees owned components (last created first) after telling every
  // component that asked for free-notification.
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  const std::wstring& Name() const { return FName; }
  // Raises EComponentError when a sibling (same owner) has the name already.
  virtual void SetName(const std::wstring& name);
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
  TComponent* FindComponent(std::wstring_view name) const;  // case-insensitive, direct children
  int ComponentIndex() const;

  // Runs while the whole object still exists, right before it is deleted by
  // its owner, by Free() or by a form's release (windows go here, so their
  // last messages still reach the complete object).
  virtual void BeforeDestruction() {}
  // BeforeDestruction, then delete. Use it instead of delete for controls
  // and forms whose handlers may run while their windows go. A component
  // that is handling a message of its own (a control whose window is inside
  // a message) is freed once the outermost such message has returned.
  static void Free(TComponent* component);

  // Frees every owned component, newest first. Destructors of classes whose
  // owned components must go before the class's own state call it first.
  void DestroyComponents();

  // Moves the component to another owner (nullptr: no owner).
  void ChangeOwner(TComponent* owner);

  // Asks for Notification(this, opRemove) when `other` is destroyed; mutual.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  bool Destroying() const { return FDestroying; }
  bool Loading() const { return FLoading; }

  // Form reading: the enclosing object in the description (a control's parent).
  virtual void SetParentComponent(TComponent* parent);
  virtual TComponent* GetParentComponent() const { return nullptr; }
  // Called on every component once a description has been read completely.
  virtual void Loaded() { FLoading = false; }
  void SetLoading(bool loading) { FLoading = loading; }

 protected:
  enum TOperation { opInsert, opRemove };
  // An owned component was inserted or removed, or a component this one
  // asked free-notification of is going away.
  virtual void Notification(TComponent* component, TOperation operation);
  // Free asks this first: true when the component will free itself later
  // (it is inside a message of its own). Destruction by the owner never asks.
  virtual bool DeferFree() { return false; }

 private:
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  TComponent* FOwner = nullptr;
  std::wstring FName;
  int FTag = 0;
  bool FDestroying = false;
  bool FLoading = false;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

// ---------------------------------------------------------------------------
// Property access by name. Dotted names walk sub-objects ("Font.Height").

// The property, and the object that holds it, or nullptr when missing.
const TPropInfo* FindPropInfo(TObject* object, std::wstring_view name, TObject** holder = nullptr);
bool HasProperty(TObject* object, std::wstring_view name);
// Text of a property; false when the object has no such property.
bool GetPropText(TObject* object, std::wstring_view name, std::wstring& text);
// Raises EPropertyError when the property is missing, read-only or the text
// does not fit it (integers parse, enumerations take their identifier,
// booleans True/False, sets "[a,b]", colours a number or clXxx, component
// references a name found from the owner).
void SetPropText(TObject* object, std::wstring_view name, const std::wstring& text);
// The same without raising for what the caller cannot know in advance:
// painters write properties such as "Transparent" or "AutoScroll" by name on
// whatever class they meet. Errors of the setter itself still propagate.
enum class TPropWrite { Written, NotFound, ReadOnly, BadValue };
TPropWrite TrySetPropText(TObject* object, std::wstring_view name, const std::wstring& text);
// Integer, boolean, enumeration ordinal, set bits or colour; -1 when missing
// or not ordinal.
int GetIntProp(TObject* object, std::wstring_view name);
// Enumeration identifier (Boolean: "True"/"False"); empty when missing.
std::wstring GetEnumProp(TObject* object, std::wstring_view name);
// String property (wide); empty when missing or not a string.
std::wstring GetStrProp(TObject* object, std::wstring_view name);
// Object property if it is of the given class (or any class when null).
TObject* GetObjectProp(TObject* object, std::wstring_view name, const TClassInfo* ofClass = nullptr);
// Sets an event property from a delegate of matching type.
template <class D>
void SetEventProp(TObject* object, std::wstring_view name, const D& delegate) {
  TObject* holder = nullptr;
  const TPropInfo* p = FindPropInfo(object, name, &holder);
  if (!p || p->kind != TPropKind::Event) throw EPropertyError(L"Property \"" + std::wstring(name) + L"\" not found");
  if (p->eventType != std::type_index(typeid(D))) throw EPropertyError(L"Event \"" + std::wstring(name) + L"\" has another type");
  p->setEvent(holder, &delegate);
}

// Colour identifiers (clRed, clBtnFace, ...), supplied by gui/Colours.cpp.
bool ColourToIdent(int64_t colour, std::wstring& ident);
bool IdentToColour(std::wstring_view ident, int64_t& colour);

// ---------------------------------------------------------------------------
// TClassBuilder: the helper a class's table is declared with.

template <class C>
class TClassBuilder {
 public:
  template <class F>
  static TClassInfo Build(const wchar_t* name, const TClassInfo* parent, F declare) {
    TClassBuilder b;
    b.info.name = name;
    b.info.parent = parent;
    if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C> &&
                  std::is_constructible_v<C, TComponent*>) {
      b.info.create = [](TComponent* owner) -> TComponent* { return new C(owner); };
    }
    declare(b);
    return std::move(b.info);
  }

  // Integer / Boolean / Colour through getter and setter member functions.
  template <class B, class V, class S>
  TClassBuilder& Int(const wchar_t* name, V (B::*get)() const, void (B::*set)(S)) {
    return Ord(name, TPropKind::Integer, get, set);
  }
  template <class B, class S>
  TClassBuilder& Bool(const wchar_t* name, bool (B::*get)() const, void (B::*set)(S)) {
    return Ord(name, TPropKind::Boolean, get, set);
  }
  template <class B, class V, class S>
  TClassBuilder& Colour(const wchar_t* name, V (B::*get)() const, void (B::*set)(S)) {
    return Ord(name, TPropKind::Colour, get, set);
  }
  template <class B, class V, class S>
  TClassBuilder& Enum(const wchar_t* name, const TEnumInfo& e, V (B::*get)() const, void (B::*set)(S)) {
    Ord(name, TPropKind::Enum, get, set);
    info.props.back().enumInfo = &e;
    return *this;
  }
  template <class B, class V, class S>
  TClassBuilder& Set(const wchar_t* name, const TEnumInfo& e, V (B::*get)() const, void (B::*set)(S)) {
    Ord(name, TPropKind::Set, get, set);
    info.props.back().enumInfo = &e;
    return *this;
  }
  // Read-only ordinal.
  template <class B, class V>
  TClassBuilder& IntReadOnly(const wchar_t* name, V (B::*get)() const) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Integer;
    p.readOnly = true;
    p.getOrd = [get](TObject* o) -> int64_t { return static_cast<int64_t>((static_cast<C*>(o)->*get)()); };
    info.props.push_back(std::move(p));
    return *this;
  }

  // Ordinal data member: the kind follows the member's type (bool, enum,
  // integer); pass the TEnumInfo for enumerations and sets.
  template <class B, class V>
  TClassBuilder& Field(const wchar_t* name, V B::*member, const TEnumInfo* e = nullptr, bool isSet = false) {
    TPropInfo p;
    p.name = name;
    if constexpr (std::is_same_v<V, std::wstring>) {
      p.kind = TPropKind::String;
      p.getStr = [member](TObject* o) { return static_cast<C*>(o)->*member; };
      p.setStr = [member](TObject* o, const std::wstring& v) { static_cast<C*>(o)->*member = v; };
    } else {
      static_assert(std::is_integral_v<V> || std::is_enum_v<V>, "ordinal or wstring field expected");
      p.kind = std::is_same_v<V, bool> ? TPropKind::Boolean
               : e ? (isSet ? TPropKind::Set : TPropKind::Enum)
                   : TPropKind::Integer;
      p.enumInfo = e;
      p.getOrd = [member](TObject* o) -> int64_t { return static_cast<int64_t>(static_cast<C*>(o)->*member); };
      p.setOrd = [member](TObject* o, int64_t v) { static_cast<C*>(o)->*member = static_cast<V>(v); };
    }
    info.props.push_back(std::move(p));
    return *this;
  }
  template <class B>
  TClassBuilder& ColourField(const wchar_t* name, int B::*member) {
    Field(name, member);
    info.props.back().kind = TPropKind::Colour;
    return *this;
  }

  // Wide string through getter (returning by value or const reference) and setter.
  template <class G, class S>
  TClassBuilder& Str(const wchar_t* name, G get, S set) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::String;
    p.getStr = [get](TObject* o) { return std::wstring((static_cast<C*>(o)->*get)()); };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.setStr = [set](TObject* o, const std::wstring& v) { (static_cast<C*>(o)->*set)(v); };
    } else {
      p.readOnly = true;
    }
    info.props.push_back(std::move(p));
    return *this;
  }

  // Owned sub-object (Font, Items, Columns, Lines...): getter returns T*.
  // kind: TPropKind::Object, StringList or Collection.
  template <class G>
  TClassBuilder& Sub(const wchar_t* name, TPropKind kind, G get) {
    TPropInfo p;
    p.name = name;
    p.kind = kind;
    p.getObj = [get](TObject* o) -> TObject* { return (static_cast<C*>(o)->*get)(); };
    info.props.push_back(std::move(p));
    return *this;
  }

  // Reference to another component, by name in the description.
  template <class T, class B>
  TClassBuilder& Ref(const wchar_t* name, T* B::*member) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Component;
    p.objectClass = &T::StaticClass;
    p.getObj = [member](TObject* o) -> TObject* { return static_cast<C*>(o)->*member; };
    p.setObj = [member](TObject* o, TObject* v) {
      C* self = static_cast<C*>(o);
      T* value = v ? dynamic_cast<T*>(v) : nullptr;
      if (v && !value) throw EPropertyError(L"Component reference of the wrong class");
      self->*member = value;
      if constexpr (std::is_base_of_v<TComponent, C> && std::is_base_of_v<TComponent, T>)
        if (value) self->FreeNotification(value);
    };
    info.props.push_back(std::move(p));
    return *this;
  }

  // Reference to another component through a getter and a setter (for
  // classes that must act when the reference changes; the setter sets up
  // free-notification itself).
  template <class T, class B>
  TClassBuilder& Ref(const wchar_t* name, T* (B::*get)() const, void (B::*set)(T*)) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Component;
    p.objectClass = &T::StaticClass;
    p.getObj = [get](TObject* o) -> TObject* { return (static_cast<C*>(o)->*get)(); };
    p.setObj = [set](TObject* o, TObject* v) {
      T* value = v ? dynamic_cast<T*>(v) : nullptr;
      if (v && !value) throw EPropertyError(L"Component reference of the wrong class");
      (static_cast<C*>(o)->*set)(value);
    };
    info.props.push_back(std::move(p));
    return *this;
  }

  // Event property: a delegate data member.
  template <class D, class B>
  TClassBuilder& Event(const wchar_t* name, D B::*member) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Event;
    p.eventType = typeid(D);
    p.setEvent = [member](TObject* o, const void* d) { static_cast<C*>(o)->*member = *static_cast<const D*>(d); };
    info.props.push_back(std::move(p));
    return *this;
  }

  // Binary property hook: read(bytes) fills the object, write() returns them.
  template <class R, class W>
  TClassBuilder& Binary(const wchar_t* name, R read, W write) {
    TBinaryPropInfo b;
    b.name = name;
    b.read = [read](TObject* o, const std::vector<uint8_t>& bytes) { (static_cast<C*>(o)->*read)(bytes); };
    b.write = [write](TObject* o) { return (static_cast<C*>(o)->*write)(); };
    info.binaryProps.push_back(std::move(b));
    return *this;
  }

  // A handler method that descriptions may wire to events by name. The
  // delegate type is given explicitly: Handler<TNotifyEvent>(L"btnAddClick", &TFrmMain::btnAddClick)
  template <class D, class M>
  TClassBuilder& Handler(const wchar_t* name, M method) {
    THandlerInfo h;
    h.name = name;
    h.eventType = typeid(D);
    h.bind = [method](TObject* self, void* out) { *static_cast<D*>(out) = D::Bind(static_cast<C*>(self), method); };
    info.handlers.push_back(std::move(h));
    return *this;
  }

  // A component field of a form: filled with the component of that name.
  template <class T, class B>
  TClassBuilder& Component(const wchar_t* name, T* B::*member) {
    TFieldInfo f;
    f.name = name;
    f.assign = [member](TObject* self, TComponent* value) {
      T* typed = dynamic_cast<T*>(value);
      if (!typed) return false;
      static_cast<C*>(self)->*member = typed;
      return true;
    };
    info.fields.push_back(std::move(f));
    return *this;
  }

  TClassInfo info;

 private:
  template <class B, class V, class S>
  TClassBuilder& Ord(const wchar_t* name, TPropKind kind, V (B::*get)() const, void (B::*set)(S)) {
    TPropInfo p;
    p.name = name;
    p.kind = kind;
    p.getOrd = [get](TObject* o) -> int64_t { return static_cast<int64_t>((static_cast<C*>(o)->*get)()); };
    p.setOrd = [set](TObject* o, int64_t v) {
      (static_cast<C*>(o)->*set)(static_cast<std::decay_t<S>>(v));
    };
    info.props.push_back(std::move(p));
    return *this;
  }
};
