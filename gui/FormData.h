// Form descriptions (portable): the readable text, its compiled binary form,
// and the reader that builds components from either.
//
// Classes and functions in this file:
//   TFormValue, TFormProp, TFormNode   the description as a tree
//   EFormError                         any fault in a description, with its place
//   ParseFormText                      readable text -> tree (binary values from @file)
//   WriteFormBinary / ReadFormBinary   tree <-> the compiled resource bytes
//   ReadComponentTree                  tree -> components under an existing root
//
// The text format is described in gui/README.md. Sources: FormText.cpp (text),
// FormBinary.cpp (compiled bytes), FormReader.cpp (building components).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gui/Core.h"

class EFormError : public Exception {
 public:
  using Exception::Exception;
};

struct TFormProp;

struct TFormValue {
  enum TKind : uint8_t {
    vkInt = 1,         // 123, -12, 0x1F
    vkIdent = 2,       // clBtnFace, alTop, True, a handler or component name
    vkString = 3,      // "text"
    vkSet = 4,         // [a, b]
    vkList = 5,        // ("line", "line")
    vkCollection = 6,  // { { Name = "x" } { ... } }
    vkBinary = 7,      // @file "path" or @hex "00ff"
  };
  TKind kind = vkInt;
  int64_t number = 0;
  std::wstring text;                               // ident, string
  std::vector<std::wstring> items;                 // set members, list lines
  std::vector<std::vector<TFormProp>> collection;  // one property list per item
  std::vector<uint8_t> bytes;                      // binary
};

struct TFormProp {
  std::wstring name;  // may be dotted: Font.Height
  TFormValue value;
  uint32_t line = 0;
};

struct TFormNode {
  std::wstring className;
  std::wstring name;
  std::vector<TFormProp> props;
  std::vector<TFormNode> children;
  uint32_t line = 0;
};

// Resolves the path of an @file value to its bytes; raises EFormError when
// the file cannot be read.
using TFileResolver = std::function<std::vector<uint8_t>(const std::wstring& path)>;

// `sourceName` only labels error messages.
TFormNode ParseFormText(std::wstring_view text, const TFileResolver& resolve, const std::wstring& sourceName);

std::vector<uint8_t> WriteFormBinary(const TFormNode& root);
// Raises EFormError for anything that is not a complete, well-formed
// compiled description.
TFormNode ReadFormBinary(const uint8_t* data, size_t size);

// Builds the description onto `root` (whose class must be, or inherit from,
// the root node's class): creates every child by class name (owner: root;
// SetParentComponent: the enclosing object), sets properties by name, reads
// binary values through the class's binary hooks, wires events to root's
// handlers by name, fills root's component fields by name, resolves
// component references once everything exists, then calls Loaded() on all.
// Unknown classes, properties, handlers, and values that do not fit raise
// EFormError naming the place (`sourceName` line: object.property).
void ReadComponentTree(TComponent* root, const TFormNode& node, const std::wstring& sourceName);
