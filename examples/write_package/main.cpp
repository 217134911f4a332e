// Writes a sample package: a schema with an abstract base class, inheritance,
// an embedded class behaviour in its own namespace, a domain behaviour, a
// schema Info item and the standard support for changes, files and
// versioning; Info items in the package header; objects that carry a value
// of every data type, a null, a reference and an XML value; a versioned part;
// two embedded files (a drawing and its notes) associated with the assembly;
// and a transaction with one change of each kind.
//
//   write_package_example OUT.vexa DRAWING NOTES
#include "../example_support.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

using namespace example;

Value Int32(LONG number) {
  Value value;
  V_VT(&value.Raw()) = VT_I4;
  V_I4(&value.Raw()) = number;
  return value;
}

Value Double(double number) {
  Value value;
  V_VT(&value.Raw()) = VT_R8;
  V_R8(&value.Raw()) = number;
  return value;
}

Value Boolean(bool flag) {
  Value value;
  V_VT(&value.Raw()) = VT_BOOL;
  V_BOOL(&value.Raw()) = flag ? VARIANT_TRUE : VARIANT_FALSE;
  return value;
}

Value Null() {
  Value value;
  V_VT(&value.Raw()) = VT_NULL;
  return value;
}

DATE When(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  DATE date = 0;
  if (!SystemTimeToVariantTime(&time, &date)) throw std::runtime_error("not a date");
  return date;
}

Value Date(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  Value value;
  V_VT(&value.Raw()) = VT_DATE;
  V_DATE(&value.Raw()) = When(year, month, day, hour, minute);
  return value;
}

Value Bytes(const char* bytes, ULONG count) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, count);
  void* data = nullptr;
  Check(SafeArrayAccessData(array, &data), "SafeArrayAccessData");
  for (ULONG i = 0; i < count; ++i) static_cast<char*>(data)[i] = bytes[i];
  SafeArrayUnaccessData(array);
  Value value;
  V_VT(&value.Raw()) = VT_ARRAY | VT_UI1;
  V_ARRAY(&value.Raw()) = array;
  return value;
}

Value Object(IDispatch* object) {
  Value value;
  object->AddRef();
  V_VT(&value.Raw()) = VT_DISPATCH;
  V_DISPATCH(&value.Raw()) = object;
  return value;
}

constexpr const char16_t* kTrackedUri = u"urn:example:tracking#Tracked";
constexpr const char16_t* kLinkUri = u"urn:example:links#Link";

void AddAttribute(INvVexaAttributes* owner, const char16_t* name, DataTypeEnum type,
                  bool primary = false) {
  Ref<INvVexaAttribute> attribute;
  Check(owner->Add(Text(name), attribute.Put()), "Attributes.Add");
  Ref<INvVexaTypeDefinition> definition;
  Check(attribute->get_TypeDefinition(definition.Put()), "Attribute.TypeDefinition");
  Check(definition->put_ValueType(type), "TypeDefinition.ValueType");
  if (primary) Check(attribute->put_IsPrimary(VARIANT_TRUE), "Attribute.IsPrimary");
}

void AddClass(INvVexaClasses* classes, const char16_t* name, INvVexaClass* parent,
              Ref<INvVexaClass>& made) {
  Check(classes->Add(Text(name), made.Put()), "Classes.Add");
  if (parent) Check(made->put_ParentClass(parent), "Class.ParentClass");
}

// Changes, files and versions, from the standard helper: parts are
// versioned, an assembly refers to its main file and carries a time stamp.
void AddStandardSupport(INvVexaSchema* schema, INvVexaClass* part, INvVexaClass* assembly) {
  Ref<INvVexaStdHelper> std;
  Check(CoCreateInstance(CLSID_NvVexaStdHelper, nullptr, CLSCTX_INPROC_SERVER,
                         IID_INvVexaStdHelper, reinterpret_cast<void**>(std.Put())),
        "CoCreateInstance(NvVexaStdHelper)");
  Ref<INvVexaSchemaHelper> helper;
  Check(std->CreateSchemaHelper(schema, helper.Put()), "StdHelper.CreateSchemaHelper");
  Check(helper->AddDefaultChangesSupport(), "SchemaHelper.AddDefaultChangesSupport");
  Check(helper->AddDefaultFilesSupport(), "SchemaHelper.AddDefaultFilesSupport");
  Check(helper->AddDefaultVersioningSupport(), "SchemaHelper.AddDefaultVersioningSupport");
  Check(helper->EnableVersioningForClass(part), "SchemaHelper.EnableVersioningForClass");
  Check(helper->EnableFileAssociationForClass(assembly),
        "SchemaHelper.EnableFileAssociationForClass");
  Check(helper->EnableTimeStampForClass(assembly), "SchemaHelper.EnableTimeStampForClass");
}

// Item (abstract) <- Part, which has every data type and the Tracked
// behaviour, and Item <- Assembly, which refers to its main part.
void BuildSchema(INvVexaSchema* schema) {
  Ref<INvVexaClasses> classes;
  Check(schema->get_Classes(classes.Put()), "Schema.Classes");
  Ref<INvVexaClass> item, part, assembly;
  AddClass(classes.Get(), u"Item", nullptr, item);
  Check(item->put_IsAbstract(VARIANT_TRUE), "Class.IsAbstract");
  Ref<INvVexaAttributes> own;
  Check(item->get_CurrentClassAttributes(own.Put()), "Class.CurrentClassAttributes");
  AddAttribute(own.Get(), u"number", dtString, true);

  AddClass(classes.Get(), u"Part", item.Get(), part);
  Ref<INvVexaAttributes> partOwn;
  Check(part->get_CurrentClassAttributes(partOwn.Put()), "Class.CurrentClassAttributes");
  const std::pair<const char16_t*, DataTypeEnum> typed[] = {
      {u"title", dtString},         {u"released", dtBoolean},   {u"weight", dtFloat},
      {u"length", dtDouble},        {u"leadTime", dtDuration},  {u"thumbnail", dtBase64Binary},
      {u"checksum", dtHexBinary},   {u"homepage", dtAnyUri},    {u"language", dtLanguage},
      {u"quantity", dtInt},         {u"revision", dtShort},     {u"grade", dtByte},
      {u"batch", dtUnsignedShort},  {u"bin", dtUnsignedByte},   {u"modified", dtDateTime},
      {u"shift", dtTime},           {u"approved", dtDate},      {u"month", dtGMonth},
      {u"year", dtGYear},           {u"supplier", dtString},    {u"notes", dtXML}};
  for (const auto& [name, type] : typed) AddAttribute(partOwn.Get(), name, type);

  Ref<INvVexaAttribute> supplier;
  Check(partOwn->ItemByName(Text(u"supplier"), supplier.Put()), "Attributes.ItemByName");
  Check(supplier->put_IsNullAllowed(VARIANT_TRUE), "Attribute.IsNullAllowed");

  AddClass(classes.Get(), u"Assembly", item.Get(), assembly);
  Ref<INvVexaAttributes> assemblyOwn;
  Check(assembly->get_CurrentClassAttributes(assemblyOwn.Put()), "Class.CurrentClassAttributes");
  AddAttribute(assemblyOwn.Get(), u"mainPart", dtObjectReference);

  Ref<INvVexaClassesBehaviors> behaviors;
  Check(schema->get_ClassesBehaviors(behaviors.Put()), "Schema.ClassesBehaviors");
  Ref<INvVexaClassBehavior> tracked;
  Check(behaviors->Add(mtEmbedded, Text(kTrackedUri), Text(u""), VARIANT_FALSE, tracked.Put()),
        "ClassesBehaviors.Add");
  Ref<INvVexaAttributes> trackedAttributes;
  Check(tracked->get_Attributes(trackedAttributes.Put()), "ClassBehavior.Attributes");
  AddAttribute(trackedAttributes.Get(), u"changedBy", dtString);
  AddAttribute(trackedAttributes.Get(), u"changeCount", dtInt);
  Ref<INvVexaClassBehaviors> partBehaviors;
  Check(part->get_CurrentClassBehaviors(partBehaviors.Put()), "Class.CurrentClassBehaviors");
  Check(partBehaviors->Add(tracked.Get(), muNo), "ClassBehaviors.Add");

  Ref<INvVexaDomainBehaviors> domains;
  Check(schema->get_DomainBehaviors(domains.Put()), "Schema.DomainBehaviors");
  Ref<INvVexaDomainBehavior> link;
  Check(domains->Add(Text(kLinkUri), link.Put()), "DomainBehaviors.Add");
  Ref<INvVexaDomainBehaviorRoleClassMapping> roles;
  Check(link->get_RoleClassMapping(roles.Put()), "DomainBehavior.RoleClassMapping");
  Check(roles->put_Item(Text(u"whole"), assembly.Get()), "RoleClassMapping.Item");
  Check(roles->put_Item(Text(u"part"), part.Get()), "RoleClassMapping.Item");

  Ref<INvVexaInfo> info;
  Check(schema->get_Info(info.Put()), "Schema.Info");
  Ref<INvVexaInfoItem> owner;
  Check(info->GetInfoItem(Text(u"owner"), Text(u"urn:example:info"), owner.Put()),
        "Info.GetInfoItem");
  Check(owner->put_ValueType(dtString), "InfoItem.ValueType");
  Check(owner->put_Value(Value::Of(u"Example Works")), "InfoItem.Value");

  AddStandardSupport(schema, part.Get(), assembly.Get());
}

void SetInfoItem(INvVexaInfo* info, const char16_t* name, DataTypeEnum type, const Value& value,
                 MustUnderstandEnum mark) {
  Ref<INvVexaInfoItem> item;
  Check(info->GetInfoItem(Text(name), Text(u"urn:example:info"), item.Put()), "Info.GetInfoItem");
  Check(item->put_ValueType(type), "InfoItem.ValueType");
  Check(item->put_Value(value), "InfoItem.Value");
  Check(item->put_MustUnderstand(mark), "InfoItem.MustUnderstand");
}

void Put(INvVexaAttributesValues* values, const char16_t* name, const Value& value) {
  Check(values->put_Item(Text(name), value), "AttributesValues.Item");
}

void WriteInfo(INvVexaDataWriter* data) {
  Ref<INvVexaInfo> info;
  Check(data->get_Info(info.Put()), "DataWriter.Info");
  SetInfoItem(info.Get(), u"exportedBy", dtString, Value::Of(u"write_package_example"), muNo);
  SetInfoItem(info.Get(), u"exportedAt", dtDateTime, Date(2026, 12, 5, 9, 30), muNo);
  SetInfoItem(info.Get(), u"formatRevision", dtInt, Int32(3), muYes);
  Check(info->Save(), "Info.Save");
}

// Parts are versioned: each names its version and the one before.
void SetVersion(INvVexaWriterHelper* helper, INvVexaObject* part, const char16_t* version,
                const char16_t* previous) {
  Ref<INvVexaVersioningWriter> versions;
  Check(helper->get_VersioningWriter(versions.Put()), "WriterHelper.VersioningWriter");
  Ref<INvVexaVersioning> view;
  Check(versions->CastToVersioning(part, view.Put()), "VersioningWriter.CastToVersioning");
  Check(view->put_Version(Text(version)), "Versioning.Version");
  Check(view->put_PreviousVersion(Text(previous)), "Versioning.PreviousVersion");
}

void WritePart(INvVexaObjectWriter* writer, INvVexaWriterHelper* helper) {
  Ref<INvVexaObject> part;
  Check(writer->NewObject(Text(u"Part"), Text(u"P-100"), part.Put()), "ObjectWriter.NewObject");
  Ref<INvVexaAttributesValues> values;
  Check(part->get_Values(values.Put()), "Object.Values");

  Ref<INvVexaDurationAttributeValue> leadTime;
  Check(values->CreateDurationAttributeValue(leadTime.Put()), "CreateDurationAttributeValue");
  Check(leadTime->put_Day(3), "Duration.Day");
  Check(leadTime->put_Hour(12), "Duration.Hour");
  Ref<INvVexaXmlAttributeValue> notes;
  Check(values->CreateXmlAttributeValue(notes.Put()), "CreateXmlAttributeValue");
  Check(notes->put_XML(Text(u"<d:para>Keep <d:em>dry</d:em>.</d:para>")), "XmlValue.XML");
  Ref<INvVexaNamespaces> noteNamespaces;
  Check(notes->get_Namespaces(noteNamespaces.Put()), "XmlValue.Namespaces");
  Check(noteNamespaces->Add(Text(u"urn:example:doc"), Text(u"d")), "Namespaces.Add");

  Put(values.Get(), u"number", Value::Of(u"P-100"));
  Put(values.Get(), u"title", Value::Of(u"Bracket <left> & right"));
  Put(values.Get(), u"released", Boolean(true));
  Put(values.Get(), u"weight", Double(0.25));
  Put(values.Get(), u"length", Double(1234.5));
  Put(values.Get(), u"leadTime", Object(leadTime.Get()));
  Put(values.Get(), u"thumbnail", Bytes("\x89PNG", 4));
  Put(values.Get(), u"checksum", Bytes("\xde\xad\xbe\xef", 4));
  Put(values.Get(), u"homepage", Value::Of(u"http://example.org/parts/P-100"));
  Put(values.Get(), u"language", Value::Of(u"en-GB"));
  Put(values.Get(), u"quantity", Int32(250000));
  Put(values.Get(), u"revision", Int32(-2));
  Put(values.Get(), u"grade", Int32(7));
  Put(values.Get(), u"batch", Int32(65000));
  Put(values.Get(), u"bin", Int32(200));
  Put(values.Get(), u"modified", Date(2026, 12, 4, 16, 45));
  Put(values.Get(), u"shift", Date(1899, 12, 30, 6, 0));
  Put(values.Get(), u"approved", Date(2026, 11, 30, 0, 0));
  Put(values.Get(), u"month", Date(2026, 11, 1, 0, 0));
  Put(values.Get(), u"year", Date(2026, 1, 1, 0, 0));
  Put(values.Get(), u"supplier", Null());
  Put(values.Get(), u"notes", Object(notes.Get()));

  Ref<INvVexaAttributesValues> tracked;
  Check(part->GetBehaviorValues(Text(kTrackedUri), tracked.Put()), "Object.GetBehaviorValues");
  Put(tracked.Get(), u"changedBy", Value::Of(u"design"));
  Put(tracked.Get(), u"changeCount", Int32(4));

  SetVersion(helper, part.Get(), u"C", u"B");
  Check(part->Save(), "Object.Save");
}

// The assembly names its drawing (the main file) and records when it was
// created and last modified.
void WriteAssembly(INvVexaObjectWriter* writer, INvVexaWriterHelper* helper) {
  Ref<INvVexaObject> assembly;
  Check(writer->NewObject(Text(u"Assembly"), Text(u"A-1"), assembly.Put()),
        "ObjectWriter.NewObject");
  Ref<INvVexaAttributesValues> values;
  Check(assembly->get_Values(values.Put()), "Object.Values");
  Put(values.Get(), u"number", Value::Of(u"A-1"));
  Put(values.Get(), u"mainPart", Value::Of(u"P-100"));

  Ref<INvVexaFileWriter> files;
  Check(helper->get_FileWriter(files.Put()), "WriterHelper.FileWriter");
  Ref<INvVexaFileAssociation> association;
  Check(files->CastToFileAssociation(assembly.Get(), association.Put()),
        "FileWriter.CastToFileAssociation");
  Check(association->put_FileId(Text(u"F-1")), "FileAssociation.FileId");
  Ref<INvVexaTimeStampWriter> stamps;
  Check(helper->get_TimeStampWriter(stamps.Put()), "WriterHelper.TimeStampWriter");
  Ref<INvVexaTimeStamp> stamp;
  Check(stamps->CastToTimeStamp(assembly.Get(), stamp.Put()), "TimeStampWriter.CastToTimeStamp");
  Check(stamp->put_CreationTime(When(2026, 11, 2, 8, 0)), "TimeStamp.CreationTime");
  Check(stamp->put_ModificationTime(When(2026, 12, 4, 17, 15)),
        "TimeStamp.ModificationTime");
  Check(assembly->Save(), "Object.Save");
}

// A file description with the file's type, name in the package and source;
// the file itself is copied into the package before the description is saved.
template <class File>
void Describe(File* file, INvVexaWriterHelper* helper, const char16_t* fileName,
              const std::u16string& source) {
  BSTR type = nullptr;
  Check(helper->DetectFileMimeType(Text(fileName), &type), "WriterHelper.DetectFileMimeType");
  Check(file->put_ContentType(type), "File.ContentType");
  SysFreeString(type);
  Check(file->put_FileName(Text(fileName)), "File.FileName");
  Check(file->SetSource(Text(source.c_str())), "File.SetSource");
}

void WriteFiles(INvVexaWriterHelper* helper, const std::u16string& drawing,
                const std::u16string& notes) {
  Ref<INvVexaFileWriter> files;
  Check(helper->get_FileWriter(files.Put()), "WriterHelper.FileWriter");
  Ref<INvVexaFile> main;
  Check(files->NewFile(Text(u"F-1"), main.Put()), "FileWriter.NewFile");
  Describe(main.Get(), helper, u"Drawings/bracket.svg", drawing);
  Check(files->EmbedFile(main.Get()), "FileWriter.EmbedFile");
  Check(main->Save(), "File.Save");

  Ref<INvVexaSecondaryFile> secondary;
  Check(files->NewSecondaryFile(Text(u"F-2"), Text(u"F-1"), secondary.Put()),
        "FileWriter.NewSecondaryFile");
  Describe(secondary.Get(), helper, u"Drawings/bracket-notes.txt", notes);
  Check(files->EmbedSecondaryFile(secondary.Get()), "FileWriter.EmbedSecondaryFile");
  Check(secondary->Save(), "SecondaryFile.Save");
}

Ref<INvVexaChange>& NewChange(INvVexaChangeWriter* changes, const char16_t* id,
                              ChangeTypeEnum type, const char16_t* previous,
                              Ref<INvVexaChange>& change) {
  Check(changes->NewChange(Text(id), type, Text(u"T-1"), change.Put()), "ChangeWriter.NewChange");
  if (previous) Check(change->put_PreviousChangeId(Text(previous)), "Change.PreviousChangeId");
  return change;
}

// Transaction T-1: the assembly was created, the part's title and count were
// modified (the old values are kept), and an earlier part was deleted.
void WriteChanges(INvVexaObjectWriter* writer, INvVexaWriterHelper* helper) {
  Ref<INvVexaChangeWriter> changes;
  Check(helper->get_ChangeWriter(changes.Put()), "WriterHelper.ChangeWriter");
  Ref<INvVexaChangeTransaction> transaction;
  Check(changes->NewTransaction(Text(u"T-1"), transaction.Put()), "ChangeWriter.NewTransaction");
  Check(transaction->Save(), "Transaction.Save");

  Ref<INvVexaChange> created;
  NewChange(changes.Get(), u"C-1", ctObjectCreated, nullptr, created);
  Ref<INvVexaObjectCreated> createdDetail;
  Check(created->get_ObjectCreated(createdDetail.Put()), "Change.ObjectCreated");
  Check(createdDetail->put_CreatedObjectRef(Text(u"A-1")), "ObjectCreated.CreatedObjectRef");
  Check(created->Save(), "Change.Save");

  Ref<INvVexaChange> modified;
  NewChange(changes.Get(), u"C-2", ctObjectValueModified, u"C-1", modified);
  Ref<INvVexaObjectValueModified> modifiedDetail;
  Check(modified->get_ObjectValueModified(modifiedDetail.Put()), "Change.ObjectValueModified");
  Check(modifiedDetail->put_ModifiedObjectRef(Text(u"P-100")), "ObjectValueModified.ModifiedObjectRef");
  Check(modifiedDetail->put_vexaClassName(Text(u"Part")), "ObjectValueModified.vexaClassName");
  Ref<INvVexaAttributesValuesGroups> old;
  Check(modifiedDetail->NewOldValues(old.Put()), "ObjectValueModified.NewOldValues");
  Ref<INvVexaAttributesValues> oldValues, oldTracked;
  Check(old->get_Values(oldValues.Put()), "OldValues.Values");
  Put(oldValues.Get(), u"title", Value::Of(u"Bracket, left"));
  Put(oldValues.Get(), u"quantity", Int32(240000));
  Check(old->GetBehaviorValues(Text(kTrackedUri), oldTracked.Put()), "OldValues.GetBehaviorValues");
  Put(oldTracked.Get(), u"changeCount", Int32(3));
  Check(modifiedDetail->SetOldValues(old.Get()), "ObjectValueModified.SetOldValues");
  Check(modified->Save(), "Change.Save");

  Ref<INvVexaObject> gone;
  Check(writer->NewObject(Text(u"Part"), Text(u"P-099"), gone.Put()), "ObjectWriter.NewObject");
  Ref<INvVexaAttributesValues> goneValues;
  Check(gone->get_Values(goneValues.Put()), "Object.Values");
  Put(goneValues.Get(), u"number", Value::Of(u"P-099"));
  Put(goneValues.Get(), u"title", Value::Of(u"Bracket, prototype"));
  Put(goneValues.Get(), u"weight", Double(0.3));
  SetVersion(helper, gone.Get(), u"A", u"");
  Ref<INvVexaChange> deleted;
  NewChange(changes.Get(), u"C-3", ctObjectDeleted, u"C-2", deleted);
  Ref<INvVexaObjectDeleted> deletedDetail;
  Check(deleted->get_ObjectDeleted(deletedDetail.Put()), "Change.ObjectDeleted");
  Check(deletedDetail->SetDeletedObject(gone.Get()), "ObjectDeleted.SetDeletedObject");
  Check(deleted->Save(), "Change.Save");
}

void WritePackage(const std::u16string& fileName, const std::u16string& drawing,
                  const std::u16string& notes) {
  Ref<INvVexaWriter> writer;
  Check(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                         reinterpret_cast<void**>(writer.Put())),
        "CoCreateInstance(NvVexaWriter)");
  Ref<INvVexaSchema> schema;
  Check(writer->get_Schema(schema.Put()), "Writer.Schema");
  BuildSchema(schema.Get());
  Check(writer->SetSchemaMode(mtEmbedded, Text(u""), Text(u""), VARIANT_FALSE),
        "Writer.SetSchemaMode");
  Check(writer->CreateVexaArchiveFileEx(Text(fileName.c_str()), afclMedium),
        "Writer.CreateVexaArchiveFileEx");
  Ref<INvVexaStdHelper> std;
  Check(CoCreateInstance(CLSID_NvVexaStdHelper, nullptr, CLSCTX_INPROC_SERVER,
                         IID_INvVexaStdHelper, reinterpret_cast<void**>(std.Put())),
        "CoCreateInstance(NvVexaStdHelper)");
  Ref<INvVexaWriterHelper> helper;
  Check(std->CreateWriterHelper(writer.Get(), helper.Put()), "StdHelper.CreateWriterHelper");

  Ref<INvVexaDataWriter> data;
  Check(writer->get_DataWriter(data.Put()), "Writer.DataWriter");
  WriteInfo(data.Get());
  Ref<INvVexaObjectWriter> objects;
  Check(data->get_ObjectWriter(objects.Put()), "DataWriter.ObjectWriter");
  WritePart(objects.Get(), helper.Get());
  WriteFiles(helper.Get(), drawing, notes);
  WriteAssembly(objects.Get(), helper.Get());
  WriteChanges(objects.Get(), helper.Get());
  Check(writer->CloseVexaArchiveFile(), "Writer.CloseVexaArchiveFile");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s OUT.vexa DRAWING NOTES\n", argv[0]);
    return 2;
  }
  const std::string name = argv[1];
  CoInitialize(nullptr);
  int status = 0;
  try {
    WritePackage(Widen(name), Widen(argv[2]), Widen(argv[3]));
    std::printf("Wrote %s\n", name.c_str());
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    status = 1;
  }
  CoUninitialize();
  return status;
}
