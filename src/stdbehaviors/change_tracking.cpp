#include "stdbehaviors/change_tracking.h"

#include <string_view>

#include "frame/exception.h"
#include "frame/implements.h"
#include "reader/fragment_reader.h"
#include "stdbehaviors/behavior_views.h"
#include "stdbehaviors/change_details.h"

namespace nv {
namespace {

class CNvVexaChangeTransactionImpl : public ChangeTrackingView {
 public:
  explicit CNvVexaChangeTransactionImpl(const ComPtr<INvVexaObject>& object)
      : ChangeTrackingView(object, u"transaction") {}

  virtual Bstr PreviousTransactionId() { return StringProperty(Values(), u"previous"); }
  virtual void PutPreviousTransactionId(const BstrArg& value) {
    PutStringProperty(Values(), u"previous", value);
  }
  virtual Bstr ParentTransactionId() { return StringProperty(Values(), u"parent"); }
  virtual void PutParentTransactionId(const BstrArg& value) {
    PutStringProperty(Values(), u"parent", value);
  }
  virtual Bstr Id() { return Object().Id(); }
  virtual void Save() { Object().Save(); }
};

class CNvVexaChangeTransaction final
    : public Implements<CNvVexaChangeTransaction, CNvVexaChangeTransactionImpl,
                        INvVexaChangeTransaction> {
 public:
  using Implements::Implements;
};

// The kind of a change, from the behaviour its class carries.
ChangeTypeEnum ChangeTypeOf(const ComPtr<INvVexaObject>& object) {
  static constexpr struct {
    std::u16string_view element;
    ChangeTypeEnum type;
  } kKinds[] = {{u"objectCreated", ctObjectCreated},
                {u"objectValueModified", ctObjectValueModified},
                {u"objectDeleted", ctObjectDeleted}};
  for (const auto& kind : kKinds)
    if (CarriesBehavior(object, ChangeTrackingUri(kind.element))) return kind.type;
  throw ENvException("unknown change type");
}

[[noreturn]] void ThrowOtherType(std::u16string_view property) {
  throw ENvException(u"Cannot use property \"" + std::u16string(property) +
                     u"\" since the change is of a different type");
}

class CNvVexaChangeImpl : public ChangeTrackingView {
 public:
  CNvVexaChangeImpl(const ComPtr<INvVexaObject>& object, ComPtr<INvVexaSchema> schema,
                    ComPtr<INvVexaNamespaces> namespaces)
      : ChangeTrackingView(object, u"change"),
        type_(ChangeTypeOf(object)),
        schema_(std::move(schema)),
        namespaces_(std::move(namespaces)) {}

  virtual Bstr Id() { return Object().Id(); }
  virtual ChangeTypeEnum ChangeType() { return type_; }
  virtual Bstr PreviousChangeIdPerObject() {
    return StringProperty(Values(), u"previousPerObject");
  }
  virtual void PutPreviousChangeIdPerObject(const BstrArg& value) {
    PutStringProperty(Values(), u"previousPerObject", value);
  }
  virtual ComPtr<INvVexaObjectCreated> ObjectCreated() {
    if (type_ != ctObjectCreated) ThrowOtherType(u"objectCreated");
    if (!created_) created_ = NewObjectCreated(Object());
    return created_;
  }
  virtual ComPtr<INvVexaObjectDeleted> ObjectDeleted() {
    if (type_ != ctObjectDeleted) ThrowOtherType(u"ObjectDeleted");
    if (!deleted_) deleted_ = NewObjectDeleted(Object(), schema_, namespaces_);
    return deleted_;
  }
  virtual ComPtr<INvVexaObjectValueModified> ObjectValueModified() {
    if (type_ != ctObjectValueModified) ThrowOtherType(u"ObjectValueModified");
    if (!modified_) modified_ = NewObjectValueModified(Object(), schema_, namespaces_);
    return modified_;
  }
  virtual void Save() { Object().Save(); }
  virtual Bstr PreviousChangeId() { return StringProperty(Values(), u"previous"); }
  virtual void PutPreviousChangeId(const BstrArg& value) {
    PutStringProperty(Values(), u"previous", value);
  }
  virtual Bstr TransactionId() { return StringProperty(Values(), u"transaction"); }
  virtual ComPtr<INvVexaObject> VexaObject() { return Object(); }

 private:
  ChangeTypeEnum type_;
  ComPtr<INvVexaSchema> schema_;
  ComPtr<INvVexaNamespaces> namespaces_;
  // The detail of the change's own kind, made on first use.
  ComPtr<INvVexaObjectCreated> created_;
  ComPtr<INvVexaObjectDeleted> deleted_;
  ComPtr<INvVexaObjectValueModified> modified_;
};

class CNvVexaChange final : public Implements<CNvVexaChange, CNvVexaChangeImpl, INvVexaChange> {
 public:
  using Implements::Implements;
};

// The change writer serves every package its writer makes: the object
// writer, namespace table and schema are the current package's at each call.
class CNvVexaChangeWriterImpl {
 public:
  explicit CNvVexaChangeWriterImpl(ComPtr<INvVexaWriter> writer) : writer_(std::move(writer)) {
    if (!writer_) throw ComError(E_POINTER);
  }
  virtual ~CNvVexaChangeWriterImpl() = default;

  virtual ComPtr<INvVexaChange> NewChange(const BstrArg& uniqueId, ChangeTypeEnum changeType,
                                          const BstrArg& transaction) {
    if (uniqueId.View().empty()) throw ENvException("Missing Id for change");
    if (transaction.View().empty()) throw ENvException("Missing Transaction Id");
    const ComPtr<INvVexaObject> object = NewObject(ClassNameOf(changeType), uniqueId);
    object.GetBehaviorValues(ChangeTrackingUri(u"change"))
        .PutItem(u"transaction", Variant(Bstr(transaction)));
    return CreateObject<CNvVexaChange>(object, writer_.Schema(), Namespaces());
  }
  virtual ComPtr<INvVexaChangeTransaction> NewTransaction(const BstrArg& uniqueId) {
    if (uniqueId.View().empty()) throw ENvException("Missing Id for changeTransaction");
    return CreateObject<CNvVexaChangeTransaction>(NewObject(u"__transaction", uniqueId));
  }
  virtual ComPtr<INvVexaChange> CastToChange(const ComPtr<INvVexaObject>& object) {
    return nv::CastToChange(object, writer_.Schema(), Namespaces());
  }
  virtual ComPtr<INvVexaChangeTransaction> CastToTransaction(const ComPtr<INvVexaObject>& object) {
    return nv::CastToTransaction(object);
  }

 private:
  static std::u16string_view ClassNameOf(ChangeTypeEnum changeType) {
    switch (changeType) {
      case ctObjectCreated:
        return u"__objectCreated";
      case ctObjectDeleted:
        return u"__objectDeleted";
      case ctObjectValueModified:
        return u"__objectValueModified";
    }
    throw ENvException("Missing change type");
  }
  ComPtr<INvVexaObject> NewObject(std::u16string_view className, const BstrArg& uniqueId) {
    return writer_.DataWriter().ObjectWriter().NewObject(Bstr(className), Bstr(uniqueId));
  }
  ComPtr<INvVexaNamespaces> Namespaces() { return writer_.as<INvVexaWriterCRaw>().Namespaces(); }

  ComPtr<INvVexaWriter> writer_;
};

class CNvVexaChangeWriter final
    : public Implements<CNvVexaChangeWriter, CNvVexaChangeWriterImpl, INvVexaChangeWriter> {
 public:
  using Implements::Implements;
};

// Views of read objects rebuild their values with the schema the reader has
// when they are made.
class CNvVexaChangeReaderImpl {
 public:
  explicit CNvVexaChangeReaderImpl(ComPtr<INvVexaReader> reader) : reader_(std::move(reader)) {
    if (!reader_) throw ComError(E_POINTER);
  }
  virtual ~CNvVexaChangeReaderImpl() = default;

  virtual ComPtr<INvVexaChange> CastToChange(const ComPtr<INvVexaObject>& object) {
    const ComPtr<INvVexaSchema> schema = reader_.Schema();
    if (!SameObject(schema, schema_)) {
      schema_ = schema;
      namespaces_ = PackageNamespacesOf(schema);
    }
    return nv::CastToChange(object, schema_, namespaces_);
  }
  virtual ComPtr<INvVexaChangeTransaction> CastToTransaction(const ComPtr<INvVexaObject>& object) {
    return nv::CastToTransaction(object);
  }

 private:
  ComPtr<INvVexaReader> reader_;
  // The reader's schema, and the table that values captured on this side are
  // written with, made again when the reader loads another schema.
  ComPtr<INvVexaSchema> schema_;
  ComPtr<INvVexaNamespaces> namespaces_;
};

class CNvVexaChangeReader final
    : public Implements<CNvVexaChangeReader, CNvVexaChangeReaderImpl, INvVexaChangeReader> {
 public:
  using Implements::Implements;
};

}  // namespace

ComPtr<INvVexaChange> CastToChange(const ComPtr<INvVexaObject>& object,
                                   const ComPtr<INvVexaSchema>& schema,
                                   const ComPtr<INvVexaNamespaces>& namespaces) {
  if (!CarriesBehavior(object, ChangeTrackingUri(u"change"))) return {};
  return CreateObject<CNvVexaChange>(object, schema, namespaces);
}

ComPtr<INvVexaChangeTransaction> CastToTransaction(const ComPtr<INvVexaObject>& object) {
  if (!CarriesBehavior(object, ChangeTrackingUri(u"transaction"))) return {};
  return CreateObject<CNvVexaChangeTransaction>(object);
}

ComPtr<INvVexaChangeWriter> NewChangeWriter(const ComPtr<INvVexaWriter>& writer) {
  return CreateObject<CNvVexaChangeWriter>(writer);
}

ComPtr<INvVexaChangeReader> NewChangeReader(const ComPtr<INvVexaReader>& reader) {
  return CreateObject<CNvVexaChangeReader>(reader);
}

}  // namespace nv
