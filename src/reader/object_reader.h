// The object reader and its iterator: the Body of the instance document read
// one object element at a time into objects of the reader's schema.
#pragma once

#include <memory>

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "objects/class_layout.h"
#include "reader/object_content.h"
#include "xml/pull_parser.h"

namespace nv {

class CNvVexaObjectIteratorImpl {
 public:
  // Enters the Body and reads its first object.
  CNvVexaObjectIteratorImpl(std::shared_ptr<PullParser> parser, ComPtr<INvVexaSchema> schema);
  virtual ~CNvVexaObjectIteratorImpl() = default;

  virtual bool AtEnd() { return atEnd_; }
  // The last object read; null only for an empty Body.
  virtual ComPtr<INvVexaObject> GetObject() { return object_; }
  virtual void Next();

 private:
  ComPtr<INvVexaObject> ReadObject();
  // The layout of the class, read from the schema once per class.
  std::shared_ptr<const ClassLayout> LayoutOf(const Bstr& className);

  std::shared_ptr<PullParser> parser_;
  ComPtr<INvVexaSchema> schema_;
  Bstr schemaUri_;
  ObjectContentReader content_;
  ComPtr<INvVexaClasses> classes_;
  ViewMap<std::shared_ptr<const ClassLayout>> layouts_;
  ComPtr<INvVexaObject> object_;
  bool atEnd_ = false;
};

class CNvVexaObjectIterator final
    : public Implements<CNvVexaObjectIterator, CNvVexaObjectIteratorImpl, INvVexaObjectIterator> {
 public:
  using Implements::Implements;
};

class CNvVexaObjectReaderImpl {
 public:
  CNvVexaObjectReaderImpl(std::shared_ptr<PullParser> parser, ComPtr<INvVexaSchema> schema)
      : parser_(std::move(parser)), schema_(std::move(schema)) {}
  virtual ~CNvVexaObjectReaderImpl() = default;
  // Made on first call; later calls give the same iterator where it stands.
  virtual ComPtr<INvVexaObjectIterator> GetObjectIterator();

 private:
  std::shared_ptr<PullParser> parser_;
  ComPtr<INvVexaSchema> schema_;
  ComPtr<INvVexaObjectIterator> iterator_;
};

class CNvVexaObjectReader final
    : public Implements<CNvVexaObjectReader, CNvVexaObjectReaderImpl, INvVexaObjectReader> {
 public:
  using Implements::Implements;
};

}  // namespace nv
