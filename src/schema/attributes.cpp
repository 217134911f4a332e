#include "schema/attributes.h"

#include "schema/attribute.h"
#include "frame/impl_cast.h"
#include "instance/ncname.h"

namespace nv {

CNvVexaAttributesImpl::~CNvVexaAttributesImpl() { Empty(); }

void CNvVexaAttributesImpl::Empty() noexcept {
  for (int32_t k = 0; k < list_.Count(); ++k) DetachAttributeFromOwner(list_.Item(k));
  list_.Clear();
}

LONG CNvVexaAttributesImpl::IndexOf(const BstrArg& name) {
  for (int32_t k = 0; k < list_.Count(); ++k)
    if (Item(k).Name().View() == name.View()) return k;
  return -1;
}

ComPtr<INvVexaAttribute> CNvVexaAttributesImpl::ItemByName(const BstrArg& name) {
  const LONG index = IndexOf(name);
  return index < 0 ? nullptr : Item(index);
}

ComPtr<INvVexaAttribute> CNvVexaAttributesImpl::Add(const BstrArg& name) {
  const Bstr text = name;
  if (text.Empty()) throw ENvException("Missing Name for attribute");
  if (!IsValidNCName(text)) throw ENvException(u"Invalid name \"" + text + u"\" for attribute");
  // Only this collection counts: a class may reuse the name of an inherited attribute.
  if (IndexOf(name) >= 0) throw ENvException(u"Attribute " + text + u" already exist");
  ComPtr<INvVexaAttribute> attribute = CreateObject<CNvVexaAttribute>();
  attribute.as<INvVexaAttributeCRaw>().Create(text, SelfAs<INvVexaAttributes>(this));
  list_.Add(attribute.get());
  return attribute;
}

void CNvVexaAttributesImpl::Remove(LONG index) {
  const bool inRange = index >= 0 && index < list_.Count();
  ComPtr<IUnknown> removed = inRange ? list_.Item(index) : nullptr;
  list_.Remove(index);  // fails for an index out of range
  DetachAttributeFromOwner(removed);
}

template <class Source>
void CNvVexaAttributesImpl::CopyFrom(const ComPtr<Source>& source) {
  if (SameObject(source, SelfAs<Source>(this))) return;  // already a copy of itself
  Empty();
  bool holdsRequired = false;
  const LONG count = source.Count();
  for (LONG k = 0; k < count; ++k) {
    ComPtr<INvVexaAttribute> from = source.Item(k);
    ComPtr<INvVexaAttribute> to = Add(from.Name());
    to.template as<INvVexaAttributeCRaw>().Copy(from);
    holdsRequired = holdsRequired || from.Required();
  }
  // The copy declares required attributes exactly when its source does.
  auto sourceRaw = source.template try_as<INvVexaAttributesCRaw>();
  consistsRequired_ = holdsRequired || (sourceRaw && sourceRaw.ConsistsRequiredAttributes());
}

void CNvVexaAttributesImpl::Copy(const ComPtr<INvVexaAttributes>& source) { CopyFrom(source); }

void CNvVexaAttributesImpl::Copy(const ComPtr<INvVexaReadOnlyAttributes>& source) {
  CopyFrom(source);
}

ComPtr<INvVexaAttributes> MakeAttributes(AttributeOwnerTypeEnum ownerType) {
  ComPtr<INvVexaAttributes> made = CreateObject<CNvVexaAttributes>();
  made.as<INvVexaAttributesCRaw>().Create(ownerType);
  return made;
}

}  // namespace nv
