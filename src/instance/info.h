// The Info collection and its items: named, typed values in namespaces, written
// as the Header of a package or rendered into a schema document's annotation.
#pragma once

#include <string>
#include <unordered_map>

#include "frame/bstr.h"
#include "frame/collections/containers.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "frame/variant.h"

namespace nv {

// The Info collection: Info items in insertion order. For a package it is
// created for writing and its Save writes the Header; for a schema it is
// memory based and rendered into the schema document's annotation.
class CNvVexaInfoImpl {
 public:
  virtual ~CNvVexaInfoImpl() = default;

  // The item of that name and namespace, appended when it is new. The name
  // must be an XML name without a colon, the namespace text XML can carry.
  virtual ComPtr<INvVexaInfoItem> GetInfoItem(const BstrArg& name, const BstrArg& ns);
  // Writes the Header; once, and only before the Body is open.
  virtual void Save();
  virtual ComPtr<INvVexaXmlAttributeValue> CreateXmlAttributeValue();
  virtual ComPtr<INvVexaDurationAttributeValue> CreateDurationAttributeValue();

  // The Header element; gives the item namespaces prefixes counted by
  // `globalNamespaces`, so they never collide with the document's. Each call
  // renders from a fresh prefix table of its own.
  virtual Bstr GetXMLStr(bool isForSchema, const ComPtr<INvVexaNamespaces>& globalNamespaces);
  virtual LONG Count() { return items_.Count(); }
  virtual ComPtr<INvVexaInfoItem> GetItem(LONG index) {
    return items_.ItemAs<INvVexaInfoItem>(index);
  }
  virtual void AddContainsMustUnderstandEntry() { containsMustUnderstand_ = true; }
  virtual void CreateForWriter(const ComPtr<ITStream>& stream,
                               const ComPtr<INvVexaNamespaces>& globalNamespaces,
                               const ComPtr<INvVexaObjectWriter>& objectWriter);
  virtual void CreateMemoryBased(bool isForSchema);
  // Adds or updates an item for each item of `source`.
  virtual void Copy(const ComPtr<INvVexaInfo>& source);

  bool AnyItemMustBeUnderstood();

 private:
  bool BodyIsOpen();
  bool AnyItemIsNull();
  // The item namespaces with the prefixes that `globalNamespaces` counts out.
  ComPtr<INvVexaNamespaces> ItemPrefixes(const ComPtr<INvVexaNamespaces>& globalNamespaces);
  static void AppendHeaderStartTag(std::u16string& out, const ComPtr<INvVexaNamespaces>& own);

  ComPtr<ITStream> stream_;
  CNvInterfaceList items_;
  std::unordered_map<std::u16string, LONG> itemIndex_;  // name NUL namespace -> index
  ComPtr<INvVexaNamespaces> globalNamespaces_;
  // Counted, unlike a weak back-pointer: a client may keep the Info after
  // the data writer is gone, and the object writer holds nothing back.
  ComPtr<INvVexaObjectWriter> objectWriter_;
  bool forWriter_ = false;
  bool isForSchema_ = false;
  bool containsMustUnderstand_ = false;
  bool saved_ = false;
};

class CNvVexaInfo final
    : public Implements<CNvVexaInfo, CNvVexaInfoImpl, INvVexaInfo, INvVexaInfoCRaw> {};

// A new memory-based Info collection.
ComPtr<INvVexaInfo> MakeMemoryBasedInfo(bool isForSchema);

// An Info item's mustUnderstand mark as read: exactly "yes" or "no", else
// "Invalid value "<text>" for attribute "mustUnderstand"".
MustUnderstandEnum MustUnderstandFromText(std::u16string_view text);

// One Info item: a named, typed value in a namespace, written as one child
// of the Header (or of a schema's Header annotation).
class CNvVexaInfoItemImpl {
 public:
  virtual ~CNvVexaInfoItemImpl() = default;

  virtual Bstr Name() { return name_; }
  virtual Variant Value() { return value_; }
  // Needs the value type first; the value is converted only when written.
  virtual void PutValue(const VARIANT& value);
  virtual Bstr Namespace() { return namespace_; }
  virtual DataTypeEnum ValueType() { return valueType_; }
  virtual void PutValueType(DataTypeEnum value) { valueType_ = value; }
  virtual MustUnderstandEnum MustUnderstand() { return mustUnderstand_; }
  virtual void PutMustUnderstand(MustUnderstandEnum value) { mustUnderstand_ = value; }

  // The item's element, named `prefix`:Name.
  virtual Bstr GetXMLStr(bool isForSchema, const BstrArg& prefix,
                         const ComPtr<INvVexaNamespaces>& globalNamespaces,
                         const ComPtr<INvVexaNamespaces>& infoNamespaces);
  virtual void Create(const BstrArg& itemName, const BstrArg& itemNamespace, bool isForSchema);
  // Takes the source's type, value and must-understand mark.
  virtual void Copy(const ComPtr<INvVexaInfoItem>& source);

 private:
  Bstr name_;
  Bstr namespace_;
  DataTypeEnum valueType_ = dtUndefined;
  Variant value_;
  // Neither muYes nor muNo until the client sets it.
  MustUnderstandEnum mustUnderstand_ = static_cast<MustUnderstandEnum>(0);
  bool isForSchema_ = false;
};

class CNvVexaInfoItem final : public Implements<CNvVexaInfoItem, CNvVexaInfoItemImpl,
                                                INvVexaInfoItem, INvVexaInfoItemCRaw> {};

}  // namespace nv
