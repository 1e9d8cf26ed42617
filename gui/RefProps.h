// Component-reference properties with a setter (the class builder's Ref
// writes the member directly; controls such as TPageControl::ActivePage and
// TUpDown::Associate must act when the reference changes).
#pragma once

#include "gui/Core.h"

template <class C, class T>
void AddRefProperty(TClassBuilder<C>& c, const wchar_t* name, T* (C::*get)() const, void (C::*set)(T*)) {
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
  c.info.props.push_back(std::move(p));
}
