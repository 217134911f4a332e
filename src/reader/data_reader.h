// The data reader: reads the instance document of an open package straight
// from its archive entry, first the envelope, then the Info section on
// request, and hands out the object reader for the Body.
#pragma once

#include <memory>

#include "archive/zip_reader.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "xml/pull_parser.h"

namespace nv {

// The Info items a client declared it understands, in the order added.
class CNvVexaUnderstoodInfoItemImpl {
 public:
  CNvVexaUnderstoodInfoItemImpl(Bstr name, Bstr ns) : name_(std::move(name)), ns_(std::move(ns)) {}
  virtual ~CNvVexaUnderstoodInfoItemImpl() = default;
  virtual Bstr Name() { return name_; }
  virtual Bstr Namespace() { return ns_; }

 private:
  Bstr name_;
  Bstr ns_;
};

class CNvVexaUnderstoodInfoItem final
    : public Implements<CNvVexaUnderstoodInfoItem, CNvVexaUnderstoodInfoItemImpl,
                        INvVexaUnderstoodInfoItem> {
 public:
  using Implements::Implements;
};

class CNvVexaUnderstoodInfoItemsImpl {
 public:
  virtual ~CNvVexaUnderstoodInfoItemsImpl() = default;
  virtual ComPtr<INvVexaUnderstoodInfoItem> Add(const BstrArg& name, const BstrArg& ns);
  virtual LONG Count() { return static_cast<LONG>(items_.size()); }
  virtual ComPtr<INvVexaUnderstoodInfoItem> Item(LONG index);
  // True when an item has exactly this name and namespace.
  bool Contains(std::u16string_view name, std::u16string_view ns) const;

 private:
  std::vector<ComPtr<INvVexaUnderstoodInfoItem>> items_;
  std::vector<std::pair<Bstr, Bstr>> keys_;
};

class CNvVexaUnderstoodInfoItems final
    : public Implements<CNvVexaUnderstoodInfoItems, CNvVexaUnderstoodInfoItemsImpl,
                        INvVexaUnderstoodInfoItems> {};

class CNvVexaDataReaderImpl {
 public:
  // Opens "VEXA_Data.xml" of the unzipper's archive and reads the envelope.
  CNvVexaDataReaderImpl(const ComPtr<ITAbUnZipper>& unzipper, ComPtr<INvVexaSchema> schema,
                        bool validateMustUnderstand, ComPtr<INvVexaUnderstoodInfoItems> understood);
  virtual ~CNvVexaDataReaderImpl();

  // Reads the Info section first when the client has not asked for it.
  virtual ComPtr<INvVexaObjectReader> ObjectReader();
  // Reads the Info section on first access.
  virtual ComPtr<INvVexaInfo> Info();
  // The schema location the envelope names.
  const Bstr& SchemaLocation() const { return schemaLocation_; }

 private:
  void ReadEnvelope();
  void ReadInfoItem(const ComPtr<INvVexaInfo>& info);

  std::unique_ptr<archive::EntryReader> entry_;
  std::shared_ptr<PullParser> parser_;
  ComPtr<INvVexaSchema> schema_;
  bool validateMustUnderstand_;
  ComPtr<INvVexaUnderstoodInfoItems> understood_;
  Bstr schemaLocation_;
  ComPtr<INvVexaInfo> info_;
  ComPtr<INvVexaObjectReader> objectReader_;
};

class CNvVexaDataReader final
    : public Implements<CNvVexaDataReader, CNvVexaDataReaderImpl, INvVexaDataReader> {
 public:
  using Implements::Implements;
};

}  // namespace nv
