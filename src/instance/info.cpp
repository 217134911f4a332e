#include "instance/info.h"

#include <string>

#include "archive/streams.h"
#include "frame/exception.h"
#include "instance/names.h"
#include "instance/value_elements.h"
#include "values/data_type_names.h"
#include "values/duration.h"
#include "values/xml_escape.h"

namespace nv {

ComPtr<INvVexaInfoItem> CNvVexaInfoImpl::GetInfoItem(const BstrArg& name, const BstrArg& ns) {
  if (name.View().empty()) throw ENvException("Missing Name for InfoItem");
  if (ns.View().empty()) throw ENvException("Missing Namespace for InfoItem");
  // The name becomes an element name and the namespace an attribute value.
  if (!IsValidNCName(name.View()))
    throw ENvException(u"Invalid name \"" + std::u16string(name.View()) + u"\" for InfoItem");
  CheckXmlCharacters(ns.View(),
                     u"The namespace of InfoItem \"" + std::u16string(name.View()) + u"\"");
  // An NCName holds no NUL, so the key is unambiguous.
  std::u16string key(name.View());
  key += u'\0';
  key += ns.View();
  if (const auto found = itemIndex_.find(key); found != itemIndex_.end())
    return GetItem(found->second);
  ComPtr<INvVexaInfoItem> item = CreateObject<CNvVexaInfoItem>();
  item.as<INvVexaInfoItemCRaw>().Create(name, ns, isForSchema_);
  itemIndex_.emplace(std::move(key), items_.Count());
  items_.Add(item.get());
  return item;
}

void CNvVexaInfoImpl::Save() {
  if (!forWriter_) throw ENvException("Cannot save Info that is not part of NvVexaWriter.DataWriter");
  Bstr header;
  try {
    if (saved_) throw ENvException("Cannot save Info. Info was already saved.");
    if (BodyIsOpen())
      throw ENvException("Cannot save Info after getting object writer from data writer.");
    if (AnyItemMustBeUnderstood()) containsMustUnderstand_ = true;
    header = GetXMLStr(false, globalNamespaces_);
  } catch (...) {
    ThrowIfStreamFailed(stream_);
    throw;
  }
  WriteText(stream_, header.View());
  saved_ = true;
}

ComPtr<INvVexaXmlAttributeValue> CNvVexaInfoImpl::CreateXmlAttributeValue() {
  return MakeXmlAttributeValue();
}

ComPtr<INvVexaDurationAttributeValue> CNvVexaInfoImpl::CreateDurationAttributeValue() {
  return CreateObject<CNvVexaDurationAttributeValue>();
}

Bstr CNvVexaInfoImpl::GetXMLStr(bool isForSchema,
                                const ComPtr<INvVexaNamespaces>& globalNamespaces) {
  const ComPtr<INvVexaNamespaces> own = ItemPrefixes(globalNamespaces);
  if (isForSchema) {
    own.Add(Bstr(kSoapEnvelopeNamespace), Bstr(kSoapPrefix));
    // A schema document does not declare the instance namespace that a nil
    // item is marked in.
    if (AnyItemIsNull()) own.Add(Bstr(kXmlSchemaInstanceNamespace), Bstr(kXsiPrefix));
  }
  std::u16string out;
  AppendHeaderStartTag(out, own);
  if (containsMustUnderstand_) {
    out += u"<vexa:containsMustUnderstand";
    AppendXmlAttribute(out, u"SOAP_ENV:mustUnderstand", u"1");
    out += u"/>";
  }
  for (LONG k = 0, count = items_.Count(); k < count; ++k) {
    const ComPtr<INvVexaInfoItem> item = GetItem(k);
    const Bstr prefix = own.GetPrefix(item.Namespace());
    out += item.as<INvVexaInfoItemCRaw>()
               .GetXMLStr(isForSchema, prefix, globalNamespaces, own)
               .View();
  }
  AppendSoapEndTag(out, u"Header");
  return Bstr(out);
}

void CNvVexaInfoImpl::CreateForWriter(const ComPtr<ITStream>& stream,
                                      const ComPtr<INvVexaNamespaces>& globalNamespaces,
                                      const ComPtr<INvVexaObjectWriter>& objectWriter) {
  stream_ = stream;
  globalNamespaces_ = globalNamespaces;
  objectWriter_ = objectWriter;
  forWriter_ = true;
  isForSchema_ = false;
}

void CNvVexaInfoImpl::CreateMemoryBased(bool isForSchema) {
  isForSchema_ = isForSchema;
}

void CNvVexaInfoImpl::Copy(const ComPtr<INvVexaInfo>& source) {
  const auto sourceItems = source.as<INvVexaInfoCRaw>();
  for (LONG k = 0, count = sourceItems.Count(); k < count; ++k) {
    const ComPtr<INvVexaInfoItem> from = sourceItems.GetItem(k);
    GetInfoItem(from.Name(), from.Namespace()).as<INvVexaInfoItemCRaw>().Copy(from);
  }
}

bool CNvVexaInfoImpl::AnyItemMustBeUnderstood() {
  for (LONG k = 0, count = items_.Count(); k < count; ++k)
    if (GetItem(k).MustUnderstand() == muYes) return true;
  return false;
}

bool CNvVexaInfoImpl::AnyItemIsNull() {
  for (LONG k = 0, count = items_.Count(); k < count; ++k)
    if (GetItem(k).Value().vt == VT_NULL) return true;
  return false;
}

bool CNvVexaInfoImpl::BodyIsOpen() {
  return objectWriter_ && objectWriter_.as<INvVexaObjectWriterCRaw>().IsBodyElementOpen();
}

ComPtr<INvVexaNamespaces> CNvVexaInfoImpl::ItemPrefixes(
    const ComPtr<INvVexaNamespaces>& globalNamespaces) {
  const ComPtr<INvVexaNamespaces> own = CreateObject<CNvVexaNamespaces>();
  const auto ownRaw = own.as<INvVexaNamespacesCRaw>();
  const auto global = globalNamespaces.as<INvVexaNamespacesCRaw>();
  for (LONG k = 0, count = items_.Count(); k < count; ++k) {
    const Bstr ns = GetItem(k).Namespace();
    if (!ownRaw.Exist(ns)) own.Add(ns, global.GetNextUniquePrefix());
  }
  return own;
}

void CNvVexaInfoImpl::AppendHeaderStartTag(std::u16string& out,
                                           const ComPtr<INvVexaNamespaces>& own) {
  AppendSoapStartTagOpen(out, u"Header");
  for (LONG k = 0, count = own.Count(); k < count; ++k) {
    const Bstr ns = own.Item(k);
    AppendXmlAttribute(out, u"xmlns:" + own.GetPrefix(ns), ns.View());
  }
  out += u'>';
}

MustUnderstandEnum MustUnderstandFromText(std::u16string_view text) {
  if (text == u"yes") return muYes;
  if (text == u"no") return muNo;
  throw ENvException(u"Invalid value \"" + std::u16string(text) +
                     u"\" for attribute \"mustUnderstand\"");
}

ComPtr<INvVexaInfo> MakeMemoryBasedInfo(bool isForSchema) {
  ComPtr<INvVexaInfo> made = CreateObject<CNvVexaInfo>();
  made.as<INvVexaInfoCRaw>().CreateMemoryBased(isForSchema);
  return made;
}

namespace {

// The type attribute names the type without a namespace prefix ("xml", not
// "vexa:xml"); a type outside the table fails here, before anything is written.
std::u16string_view UnprefixedTypeName(const Bstr& schemaName) {
  const std::u16string_view name = schemaName.View();
  const size_t colon = name.find(u':');
  return colon == std::u16string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

void CNvVexaInfoItemImpl::PutValue(const VARIANT& value) {
  if (valueType_ == dtUndefined)
    throw ENvException(u"Undefined value type for VexaInfoItem " + name_ +
                       u". Please assign valueType before assigning the value.");
  if (valueType_ == dtXML && !HoldsXmlAttributeValue(value))
    throw ENvException(kDtXmlAssignmentFailure);
  value_ = Variant(value);
}

Bstr CNvVexaInfoItemImpl::GetXMLStr(bool isForSchema, const BstrArg& prefix,
                                    const ComPtr<INvVexaNamespaces>& globalNamespaces,
                                    const ComPtr<INvVexaNamespaces>& infoNamespaces) {
  const Bstr typeName = DataTypeToSchemaName(valueType_);
  const std::u16string element = std::u16string(prefix.View()) + u':' + std::u16string(name_.View());
  DocumentText text;
  std::u16string& out = text.Text();
  out = u"<" + element;
  const std::u16string_view typePrefix = isForSchema ? kXsdPrefix : kXsiPrefix;
  AppendXmlAttribute(out, std::u16string(typePrefix) + u":type", UnprefixedTypeName(typeName));
  if (mustUnderstand_ == muYes) AppendXmlAttribute(out, u"vexa:mustUnderstand", u"yes");
  // Inside a schema document the XML Schema namespace is the default one.
  NamingUnwritableOwner(
      [&] {
        AppendValuePart(text, u"</" + element + u">", value_, valueType_,
                        XmlValueScope{globalNamespaces, &infoNamespaces, isForSchema});
      },
      [&] { return u"The value of InfoItem \"" + std::u16string(name_.View()) + u"\""; });
  return Bstr(text.ToString());
}

void CNvVexaInfoItemImpl::Create(const BstrArg& itemName, const BstrArg& itemNamespace,
                                 bool isForSchema) {
  name_ = itemName;
  namespace_ = itemNamespace;
  isForSchema_ = isForSchema;
}

void CNvVexaInfoItemImpl::Copy(const ComPtr<INvVexaInfoItem>& source) {
  valueType_ = source.ValueType();
  value_ = source.Value();
  mustUnderstand_ = source.MustUnderstand();
}

}  // namespace nv
