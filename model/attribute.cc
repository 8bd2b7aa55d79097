#include "model/attribute.h"

namespace fxt {

Attribute* Attribute::Init() {
  *this = Attribute{};
  return this;
}

void Attribute::SetTypeName(const char* text) { typeName.Set(text, AttributeTypeNames); }

Attribute* NthAttribute(Attribute* first, int n) {
  Attribute* attribute = first;
  for (int i = 1; i < n && attribute->next != nullptr; ++i) attribute = attribute->next.get();
  return attribute;
}

const Attribute* NthAttribute(const Attribute* first, int n) {
  return NthAttribute(const_cast<Attribute*>(first), n);
}

}  // namespace fxt
