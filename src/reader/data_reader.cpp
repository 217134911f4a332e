#include "reader/data_reader.h"

#include "archive/unzipper.h"
#include "frame/collections/containers.h"
#include "frame/exception.h"
#include "frame/text.h"
#include "instance/info.h"
#include "instance/names.h"
#include "reader/object_reader.h"
#include "reader/value_elements.h"
#include "values/data_type_names.h"

namespace nv {

ComPtr<INvVexaUnderstoodInfoItem> CNvVexaUnderstoodInfoItemsImpl::Add(const BstrArg& name,
                                                                      const BstrArg& ns) {
  ComPtr<INvVexaUnderstoodInfoItem> made =
      CreateObject<CNvVexaUnderstoodInfoItem>(Bstr(name), Bstr(ns));
  keys_.emplace_back(Bstr(name), Bstr(ns));
  items_.push_back(made);
  return made;
}

ComPtr<INvVexaUnderstoodInfoItem> CNvVexaUnderstoodInfoItemsImpl::Item(LONG index) {
  CheckItemIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

bool CNvVexaUnderstoodInfoItemsImpl::Contains(std::u16string_view name,
                                              std::u16string_view ns) const {
  for (const auto& [itemName, itemNs] : keys_)
    if (itemName.View() == name && itemNs.View() == ns) return true;
  return false;
}

namespace {

constexpr std::u16string_view kInstanceDocument = u"VEXA_Data.xml";

// Reads the entry through the parser's byte source.
ByteSource SourceOf(archive::EntryReader& entry) {
  return [&entry](char* buffer, size_t size) { return entry.Read(buffer, size); };
}

// The location part of an xsi:schemaLocation value ("namespace location").
Bstr LocationOf(std::u16string_view value) {
  const size_t space = value.find(u' ');
  return Bstr(space == std::u16string_view::npos ? value : value.substr(space + 1));
}

}  // namespace

CNvVexaDataReaderImpl::CNvVexaDataReaderImpl(const ComPtr<ITAbUnZipper>& unzipper,
                                             ComPtr<INvVexaSchema> schema,
                                             bool validateMustUnderstand,
                                             ComPtr<INvVexaUnderstoodInfoItems> understood)
    : parser_(std::make_shared<PullParser>()),
      schema_(std::move(schema)),
      validateMustUnderstand_(validateMustUnderstand),
      understood_(std::move(understood)) {
  understood_.Add(u"containsMustUnderstand", kCoreNamespace);
  CNvTAbUnZipperImpl* archive = ImplFrom<CNvTAbUnZipper, ITAbUnZipper>(unzipper);
  if (archive == nullptr) throw ComError(E_POINTER);
  entry_ = archive->OpenEntry(Utf16ToUtf8(kInstanceDocument));
  parser_->Open(SourceOf(*entry_), std::u16string(kInstanceDocument));
  ReadEnvelope();
}

CNvVexaDataReaderImpl::~CNvVexaDataReaderImpl() = default;

void CNvVexaDataReaderImpl::ReadEnvelope() {
  PullParser& parser = *parser_;
  if (!parser.AtEnd()) parser.SkipTokens(kSkippedTokens);
  if (parser.AtEnd() || !parser.IsStartElement(u"Envelope", kSoapEnvelopeNamespace))
    throw ENvException("Invalid Vexa: Expected root element <SOAP_ENV:Envelope> is not found");
  const auto location = parser.GetAttributeValue(u"schemaLocation", kXmlSchemaInstanceNamespace);
  if (!location)
    throw ENvException("Invalid Vexa: Required attribute \"schemaLocation\" is missing");
  if (location->empty()) throw ENvException("Invalid Vexa: schemaLocation attribute is empty");
  schemaLocation_ = LocationOf(*location);
  parser.NextSkipping(kSkippedTokens);
}

ComPtr<INvVexaInfo> CNvVexaDataReaderImpl::Info() {
  if (info_) return info_;
  ComPtr<INvVexaInfo> info = MakeMemoryBasedInfo(false);
  PullParser& parser = *parser_;
  if (!parser.AtEnd() && parser.IsStartElement(u"Header", kSoapEnvelopeNamespace)) {
    parser.NextSkipping(kSkippedTokens);
    while (!parser.AtEnd() && !parser.IsEndElement(u"Header", kSoapEnvelopeNamespace))
      ReadInfoItem(info);
    if (!parser.AtEnd()) parser.NextSkipping(kSkippedTokens);
  }
  info_ = info;
  return info_;
}

void CNvVexaDataReaderImpl::ReadInfoItem(const ComPtr<INvVexaInfo>& info) {
  PullParser& parser = *parser_;
  ExpectToken(parser, ttStartElement);
  const Token& tag = parser.CurrentToken();
  const ComPtr<INvVexaInfoItem> item = info.GetInfoItem(tag.localName, tag.ns);
  const auto typeName = parser.GetAttributeValue(u"type", kXmlSchemaInstanceNamespace);
  const DataTypeEnum type = typeName ? LocalTypeNameToDataType(*typeName) : dtString;
  item.PutValueType(type);
  if (const auto mark = parser.GetAttributeValue(u"mustUnderstand", kCoreNamespace)) {
    const MustUnderstandEnum mustUnderstand = MustUnderstandFromText(*mark);
    const auto* understood =
        ImplFrom<CNvVexaUnderstoodInfoItems, INvVexaUnderstoodInfoItems>(understood_);
    if (mustUnderstand == muYes && validateMustUnderstand_ &&
        !understood->Contains(tag.localName, tag.ns))
      throw ENvException(
          "a \"mustUnderstand\" infoItem was not registered as understood. The reading cannot "
          "continue");
    item.PutMustUnderstand(mustUnderstand);
  }
  ValueElement read = ReadValueElement(parser, type);
  if (read.reference)
    item.PutValue(Variant(Bstr(*read.reference)));
  else if (read.empty)
    item.PutValue(Variant(u""));
  else if (!read.empty)
    item.PutValue(read.value);
  ExpectToken(parser, ttEndElement);
  parser.NextSkipping(kSkippedTokens);
}

ComPtr<INvVexaObjectReader> CNvVexaDataReaderImpl::ObjectReader() {
  Info();
  if (!objectReader_) objectReader_ = CreateObject<CNvVexaObjectReader>(parser_, schema_);
  return objectReader_;
}

}  // namespace nv
