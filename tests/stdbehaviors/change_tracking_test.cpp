// Change tracking through the public interfaces: transactions and changes of each kind
// written and read back with every link and value, deleted objects and old values rebuilt.
#include "stdbehaviors/change_tracking.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "stdbehaviors/catalogue.h"
#include "stdbehaviors/change_details.h"
#include "support/created.h"
#include "support/failure_of.h"
#include "support/readback.h"
#include "support/sample_values.h"
#include "support/scratch.h"

namespace nv::test {
namespace {

using nv_test::Created;
using nv_test::MessageOfFailure;

std::string Utf8(const Bstr& text) { return text.ToUtf8(); }

// " name=value ... {behaviour} name=value ...": the assigned values of an object or value set.
template <class Holder>
std::string DescribeValues(const Holder& holder, const Bstr& className,
                           const ComPtr<INvVexaSchema>& schema) {
  const auto vexaClass = schema.Classes().ItemByName(className);
  std::string out;
  const auto describe = [&](const auto& attributes, const ComPtr<INvVexaAttributesValues>& values) {
    for (LONG k = 0; k < attributes.Count(); ++k) {
      const Bstr name = attributes.Item(k).Name();
      if (values.IsValueAssigned(name))
        out += " " + Utf8(name) + "=" +
               ValueText(values.Item(name), attributes.Item(k).TypeDefinition().ValueType());
    }
  };
  describe(ComPtr<INvVexaReadOnlyAttributes>(vexaClass.AllAttributes()), holder.Values());
  const auto behaviors = vexaClass.AllBehaviors();
  for (LONG k = 0; k < behaviors.Count(); ++k) {
    out += " {" + Utf8(behaviors.Item(k).URI()) + "}";
    describe(ComPtr<INvVexaAttributes>(behaviors.Item(k).Attributes()),
             holder.GetBehaviorValues(behaviors.Item(k).URI()));
  }
  return out;
}

// One line per object, as a change or transaction when it is one; `casts`
// is the change writer or reader.
template <class Casts>
std::string Describe(const ComPtr<INvVexaObject>& object, const Casts& casts,
                     const ComPtr<INvVexaSchema>& schema) {
  if (const auto transaction = casts.CastToTransaction(object))
    return Utf8(transaction.Id()) +
           " transaction previous=" + Utf8(transaction.PreviousTransactionId()) +
           " parent=" + Utf8(transaction.ParentTransactionId()) + "\n";
  const auto change = casts.CastToChange(object);
  if (!change)
    return Utf8(object.Id()) + DescribeValues(object, object.vexaClassName(), schema) + "\n";
  std::string out = Utf8(change.Id()) + " change type=" + std::to_string(change.ChangeType()) +
                    " transaction=" + Utf8(change.TransactionId()) +
                    " previous=" + Utf8(change.PreviousChangeId()) +
                    " perObject=" + Utf8(change.PreviousChangeIdPerObject()) + ":";
  if (change.ChangeType() == ctObjectCreated) {
    EXPECT_TRUE(SameObject(change.ObjectCreated(), change.ObjectCreated()));
    return out + " created=" + Utf8(change.ObjectCreated().CreatedObjectRef()) + "\n";
  }
  if (change.ChangeType() == ctObjectDeleted) {
    const auto deleted = change.ObjectDeleted().GetDeletedObject();
    EXPECT_EQ(MessageOfFailure([&] { deleted.Save(); }), "Cannot save object from Reader");
    return out + " deleted " + Utf8(deleted.vexaClassName()) + "#" + Utf8(deleted.Id()) +
           DescribeValues(deleted, deleted.vexaClassName(), schema) + "\n";
  }
  const auto modified = change.ObjectValueModified();
  return out + " modified=" + Utf8(modified.ModifiedObjectRef()) + " old " +
         Utf8(modified.vexaClassName()) +
         DescribeValues(modified.GetOldValues(), modified.vexaClassName(), schema) + "\n";
}

// The attributes of "Part": values of several types, "note" nullable.
constexpr std::pair<const char16_t*, DataTypeEnum> kPartAttributes[] = {
    {u"name", dtString}, {u"size", dtDouble},          {u"made", dtDateTime},
    {u"doc", dtXML},     {u"link", dtObjectReference}, {u"note", dtString}};

// "Part" with a behaviour block of its own namespace; "Odd", which carries
// #change but none of its kinds.
void BuildSchema(const ComPtr<INvVexaSchema>& schema, const ComPtr<INvVexaStdHelper>& std) {
  std.CreateSchemaHelper(schema).AddDefaultChangesSupport();
  const auto attributes = schema.Classes().Add(u"Part").CurrentClassAttributes();
  for (const auto& [name, type] : kPartAttributes)
    attributes.Add(name).TypeDefinition().PutValueType(type);
  attributes.ItemByName(u"note").PutIsNullAllowed(true);
  const auto tracked = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:b#Tracked", u"", false);
  for (const auto& [name, type] : {std::pair{u"rev", dtInt}, {u"label", dtString}})
    tracked.Attributes().Add(name).TypeDefinition().PutValueType(type);
  schema.Classes().ItemByName(u"Part").CurrentClassBehaviors().Add(tracked, muNo);
  schema.Classes().Add(u"Odd").CurrentClassBehaviors().Add(
      schema.ClassesBehaviors().ItemByURI(ChangeTrackingUri(u"change")), muNo);
}

// Fills the values of an object or value set; `pick` chooses the samples.
template <class Holder>
void Fill(const Holder& holder, int pick) {
  for (const auto& [name, type] : kPartAttributes)
    holder.Values().PutItem(name, SampleValue(type, pick));
  holder.Values().PutItem(u"note", Variant::Null());
  const auto tracked = holder.GetBehaviorValues(u"urn:b#Tracked");
  tracked.PutItem(u"rev", Variant(int32_t{7 + pick}));
  tracked.PutItem(u"label", Variant(pick ? u"<b>" : u" "));
}

// A package of a part and changes of it, described as written (before the
// changes are saved) and as read back; every message along the way.
TEST(ChangeTracking, RoundTripsTransactionsAndChangesOfEachKind) {
  const nv_test::ScratchFolder folder;
  const auto std = Created<INvVexaStdHelper>(CLSID_NvVexaStdHelper);
  const auto writer = Created<INvVexaWriter>(CLSID_NvVexaWriter);
  writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  const auto schema = writer.Schema();
  BuildSchema(schema, std);
  writer.CreateVexaArchiveFile(folder.Name("changes.vexa"));
  const auto changes = std.CreateWriterHelper(writer).ChangeWriter();
  const auto objects = writer.DataWriter().ObjectWriter();
  const auto part = objects.NewObject(u"Part", u"p1");
  Fill(part, 0);
  part.Save();
  const std::string partSaved = DescribeValues(part, u"Part", schema);
  const auto t1 = changes.NewTransaction(u"t1"), t2 = changes.NewTransaction(u"t2");
  t2.PutPreviousTransactionId(u"t1");
  t2.PutParentTransactionId(u"t1");
  std::string written =
      "p1" + partSaved +
      "\nt1 transaction previous= parent=\nt2 transaction previous=t1 parent=t1\n";
  t1.Save();
  t2.Save();
  const auto created = changes.NewChange(u"c1", ctObjectCreated, u"t1");
  created.ObjectCreated().PutCreatedObjectRef(u"p1");
  const auto modified = changes.NewChange(u"c2", ctObjectValueModified, u"t2");
  modified.PutPreviousChangeId(u"c1");
  modified.PutPreviousChangeIdPerObject(u"c1");
  const auto detail = modified.ObjectValueModified();
  detail.PutModifiedObjectRef(u"p1");
  detail.PutvexaClassName(u"Part");
  const auto old = detail.NewOldValues();
  Fill(old, 1);
  old.Values().UnassignValue(u"made");  // only what is assigned is kept
  const std::string oldGiven = DescribeValues(old, u"Part", schema);
  detail.SetOldValues(old);
  old.Values().PutItem(u"name", Variant(u"after"));  // taken at SetOldValues
  const auto deleted = changes.NewChange(u"c3", ctObjectDeleted, u"t2");
  deleted.PutPreviousChangeId(u"c2");
  deleted.PutPreviousChangeId(u"");  // Null again
  deleted.ObjectDeleted().SetDeletedObject(part);
  Fill(part, 1);  // the change keeps the values it took
  // Failures change nothing: the values above are read back.
  const auto unnamed = [&] { return changes.NewChange(u"m", ctObjectValueModified, u"t"); };
  const std::string otherType = "\" since the change is of a different type";
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[&] { changes.NewChange(u"", ctObjectCreated, u"t"); }, "Missing Id for change"},
      {[&] { changes.NewChange(u"c", ctObjectCreated, u""); }, "Missing Transaction Id"},
      {[&] { changes.NewChange(u"c", ChangeTypeEnum(0), u"t"); }, "Missing change type"},
      {[&] { changes.NewChange(u"c", ChangeTypeEnum(4), u"t"); }, "Missing change type"},
      {[&] { changes.NewTransaction(u""); }, "Missing Id for changeTransaction"},
      {[&] { deleted.ObjectCreated(); }, "Cannot use property \"objectCreated" + otherType},
      {[&] { created.ObjectDeleted(); }, "Cannot use property \"ObjectDeleted" + otherType},
      {[&] { created.ObjectValueModified(); },
       "Cannot use property \"ObjectValueModified" + otherType},
      {[&] { created.ObjectCreated().PutCreatedObjectRef(u""); },
       "Value assigned to CreatedObjectRef cannot be an empty string"},
      {[&] { detail.PutModifiedObjectRef(u""); },
       "Value assigned to ModifiedObjectRef cannot be an empty string"},
      {[&] { unnamed().ObjectValueModified().NewOldValues(); },
       "Missing ClassName. Please assign ObjectValueModified.ClassName before calling to "
       "ObjectValueModified.NewOldValues"},
      {[&] { deleted.ObjectDeleted().SetDeletedObject(nullptr); },
       "Cannot delete an object that was not created (Object is Null)"},
      {[&] { changes.CastToChange(objects.NewObject(u"Odd", u"o1")); }, "unknown change type"},
  };
  for (const auto& [call, message] : rows) EXPECT_EQ(MessageOfFailure(call), message);
  EXPECT_FALSE(unnamed().ObjectValueModified().GetOldValues());
  const std::string expected =
      written + "c1 change type=1 transaction=t1 previous= perObject=: created=p1\n" +
      "c2 change type=3 transaction=t2 previous=c1 perObject=c1: modified=p1 old Part" + oldGiven +
      "\nc3 change type=2 transaction=t2 previous= perObject=: deleted Part#p1" + partSaved + "\n";
  for (const auto& change : {created, modified, deleted}) {
    written += Describe(change.VexaObject(), changes, schema);
    change.Save();
  }
  EXPECT_EQ(written, expected);
  writer.CloseVexaArchiveFile();
  const auto reader = Created<INvVexaReader>(CLSID_NvVexaReader);
  reader.OpenVexaArchiveFile(folder.Name("changes.vexa"), true);
  const auto changesRead = std.CreateReaderHelper(reader).ChangeReader();
  std::string read;
  const auto iterator = reader.DataReader().ObjectReader().GetObjectIterator();
  const auto readPart = iterator.GetObject();
  ComPtr<INvVexaObjectValueModified> readModified;
  for (; !iterator.AtEnd(); iterator.Next()) {
    read += Describe(iterator.GetObject(), changesRead, reader.Schema());
    if (iterator.GetObject().Id() == Bstr(u"c2"))
      readModified = changesRead.CastToChange(iterator.GetObject()).ObjectValueModified();
  }
  EXPECT_EQ(read, expected);
  // A view from the reader can be written to: old values given there read back.
  const auto given = readModified.NewOldValues();
  Fill(given, 0);
  readModified.SetOldValues(given);
  EXPECT_EQ(DescribeValues(readModified.GetOldValues(), u"Part", reader.Schema()),
            DescribeValues(given, u"Part", reader.Schema()));
  reader.Close();
  // A read object deleted in another package is kept as that package names it.
  const auto second = Created<INvVexaWriter>(CLSID_NvVexaWriter);
  second.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  BuildSchema(second.Schema(), std);
  second.CreateVexaArchiveFile(folder.Name("second.vexa"));
  const auto again =
      std.CreateWriterHelper(second).ChangeWriter().NewChange(u"d", ctObjectDeleted, u"t");
  again.ObjectDeleted().SetDeletedObject(readPart);
  EXPECT_EQ(DescribeValues(again.ObjectDeleted().GetDeletedObject(), u"Part", schema), partSaved);
  again.Save();
  second.CloseVexaArchiveFile();
  // The links as another parser finds them: references, and Null for none.
  nv_test::Shell("unzip -oq '" + folder.File("changes.vexa") + "' -d '" + folder.Path() + "'");
  const std::string ct = "{" + Utf8(Bstr(kChangeTrackingNamespace)) + "}", c = ct + "change/" + ct;
  auto document = nv_test::ReadBackInstance(folder.File("VEXA_Data.xml"));
  EXPECT_EQ(document["c1:" + c + "transaction"] + document["c3:" + c + "previous"], "href=t1nil");
}

}  // namespace
}  // namespace nv::test
