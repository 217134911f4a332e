// Reads a package: prints its Info items, its transactions and changes, its
// files (extracting the embedded ones when a folder is given), then for each
// other class the number of its objects and the values of its first object
// (class attributes and behaviour values).
//
//   read_package_example IN.vexa [EXTRACT_FOLDER]
#include "../example_support.h"

#include <cstdio>
#include <map>
#include <string>

namespace {

using namespace example;

// A value as text: null, XML and durations by their own interfaces, bytes
// by their count, everything else by the automation conversion.
std::string Show(const VARIANT& value) {
  if (V_VT(&value) == VT_NULL) return "(null)";
  if (V_VT(&value) == VT_BOOL) return V_BOOL(&value) ? "true" : "false";
  if (V_VT(&value) == (VT_ARRAY | VT_UI1))
    return "(" + std::to_string(V_ARRAY(&value)->rgsabound[0].cElements) + " bytes)";
  if (V_VT(&value) == VT_DISPATCH) {
    Ref<INvVexaXmlAttributeValue> xml;
    if (V_DISPATCH(&value)->QueryInterface(IID_INvVexaXmlAttributeValue,
                                           reinterpret_cast<void**>(xml.Put())) == S_OK) {
      BSTR text = nullptr;
      Check(xml->get_XML(&text), "XmlValue.XML");
      const std::string shown = Narrow(text);
      SysFreeString(text);
      return shown;
    }
    return "(duration)";
  }
  Value text;
  Check(VariantChangeType(&text.Raw(), &value, 0, VT_BSTR), "VariantChangeType");
  return Narrow(V_BSTR(&text.Raw()));
}

std::string NameOf(HRESULT (INvVexaInfoItem::*get)(BSTR*), INvVexaInfoItem* item) {
  BSTR text = nullptr;
  Check((item->*get)(&text), "InfoItem");
  const std::string name = Narrow(text);
  SysFreeString(text);
  return name;
}

void PrintInfo(INvVexaDataReader* data) {
  Ref<INvVexaInfo> info;
  Check(data->get_Info(info.Put()), "DataReader.Info");
  // Items are reached by name; the sample's names are known to this client.
  for (const char16_t* name : {u"exportedBy", u"exportedAt", u"formatRevision"}) {
    Ref<INvVexaInfoItem> item;
    Check(info->GetInfoItem(Text(name), Text(u"urn:example:info"), item.Put()), "Info.GetInfoItem");
    Value value;
    Check(item->get_Value(&value.Raw()), "InfoItem.Value");
    std::printf("info %s = %s\n", NameOf(&INvVexaInfoItem::get_Name, item.Get()).c_str(),
                Show(value).c_str());
  }
}

// "name = value" for each assigned value of a collection of attributes.
template <class Attributes>
void PrintValues(Attributes* attributes, INvVexaAttributesValues* values, const char* indent) {
  LONG count = 0;
  Check(attributes->get_Count(&count), "Attributes.Count");
  for (LONG k = 0; k < count; ++k) {
    Ref<INvVexaAttribute> attribute;
    Check(attributes->get_Item(k, attribute.Put()), "Attributes.Item");
    BSTR name = nullptr;
    Check(attribute->get_Name(&name), "Attribute.Name");
    VARIANT_BOOL assigned = VARIANT_FALSE;
    Check(values->IsValueAssigned(name, &assigned), "Values.IsValueAssigned");
    if (assigned) {
      Value value;
      Check(values->get_Item(name, &value.Raw()), "Values.Item");
      std::printf("%s%s = %s\n", indent, Narrow(name).c_str(), Show(value).c_str());
    }
    SysFreeString(name);
  }
}

// Every assigned value of an object, or of a set of values such as a
// change's old values: class attributes, then each behaviour's.
template <class Holder>
void PrintAllValues(Holder* holder, BSTR className, INvVexaSchema* schema, const char* indent) {
  Ref<INvVexaClasses> classes;
  Check(schema->get_Classes(classes.Put()), "Schema.Classes");
  Ref<INvVexaClass> vexaClass;
  Check(classes->ItemByName(className, vexaClass.Put()), "Classes.ItemByName");
  Ref<INvVexaReadOnlyAttributes> attributes;
  Check(vexaClass->get_AllAttributes(attributes.Put()), "Class.AllAttributes");
  Ref<INvVexaAttributesValues> values;
  Check(holder->get_Values(values.Put()), "Values");
  PrintValues(attributes.Get(), values.Get(), indent);
  Ref<INvVexaReadOnlyClassBehaviors> behaviors;
  Check(vexaClass->get_AllBehaviors(behaviors.Put()), "Class.AllBehaviors");
  LONG count = 0;
  Check(behaviors->get_Count(&count), "Behaviors.Count");
  const std::string inner = std::string(indent) + "  ";
  for (LONG k = 0; k < count; ++k) {
    Ref<INvVexaClassBehavior> behavior;
    Check(behaviors->get_Item(k, behavior.Put()), "Behaviors.Item");
    BSTR uri = nullptr;
    Check(behavior->get_URI(&uri), "Behavior.URI");
    std::printf("%sbehavior %s\n", indent, Narrow(uri).c_str());
    Ref<INvVexaAttributes> behaviorAttributes;
    Check(behavior->get_Attributes(behaviorAttributes.Put()), "Behavior.Attributes");
    Ref<INvVexaAttributesValues> behaviorValues;
    Check(holder->GetBehaviorValues(uri, behaviorValues.Put()), "GetBehaviorValues");
    PrintValues(behaviorAttributes.Get(), behaviorValues.Get(), inner.c_str());
    SysFreeString(uri);
  }
}

void PrintObject(INvVexaObject* object, INvVexaSchema* schema) {
  BSTR className = nullptr, id = nullptr;
  Check(object->get_vexaClassName(&className), "Object.vexaClassName");
  Check(object->get_Id(&id), "Object.Id");
  std::printf("  first object %s\n", Narrow(id).c_str());
  PrintAllValues(object, className, schema, "    ");
  SysFreeString(className);
  SysFreeString(id);
}

// A string property or method result as UTF-8.
template <class T>
std::string Get(T* view, HRESULT (T::*get)(BSTR*), const char* what) {
  BSTR text = nullptr;
  Check((view->*get)(&text), what);
  const std::string out = Narrow(text);
  SysFreeString(text);
  return out;
}

void PrintChange(INvVexaChange* change, INvVexaSchema* schema) {
  ChangeTypeEnum type = ctObjectCreated;
  Check(change->get_ChangeType(&type), "Change.ChangeType");
  const char* kinds[] = {"", "object created", "object deleted", "value modified"};
  std::printf("change %s (%s) in transaction %s", Get(change, &INvVexaChange::get_Id, "Id").c_str(),
              kinds[type], Get(change, &INvVexaChange::get_TransactionId, "TransactionId").c_str());
  const std::string previous = Get(change, &INvVexaChange::get_PreviousChangeId, "PreviousChangeId");
  std::printf("%s\n", previous.empty() ? "" : (", after " + previous).c_str());
  if (type == ctObjectCreated) {
    Ref<INvVexaObjectCreated> created;
    Check(change->get_ObjectCreated(created.Put()), "Change.ObjectCreated");
    std::printf("  created %s\n", Get(created.Get(), &INvVexaObjectCreated::get_CreatedObjectRef,
                                      "CreatedObjectRef").c_str());
  } else if (type == ctObjectDeleted) {
    Ref<INvVexaObjectDeleted> deleted;
    Check(change->get_ObjectDeleted(deleted.Put()), "Change.ObjectDeleted");
    Ref<INvVexaObject> object;
    Check(deleted->GetDeletedObject(object.Put()), "ObjectDeleted.GetDeletedObject");
    BSTR className = nullptr;
    Check(object->get_vexaClassName(&className), "Object.vexaClassName");
    std::printf("  deleted %s of class %s:\n", Get(object.Get(), &INvVexaObject::get_Id, "Id").c_str(),
                Narrow(className).c_str());
    PrintAllValues(object.Get(), className, schema, "    ");
    SysFreeString(className);
  } else {
    Ref<INvVexaObjectValueModified> modified;
    Check(change->get_ObjectValueModified(modified.Put()), "Change.ObjectValueModified");
    BSTR className = nullptr;
    Check(modified->get_vexaClassName(&className), "ObjectValueModified.vexaClassName");
    std::printf("  modified %s of class %s, values before:\n",
                Get(modified.Get(), &INvVexaObjectValueModified::get_ModifiedObjectRef,
                    "ModifiedObjectRef").c_str(),
                Narrow(className).c_str());
    Ref<INvVexaAttributesValuesGroups> old;
    Check(modified->GetOldValues(old.Put()), "ObjectValueModified.GetOldValues");
    if (old.Get()) PrintAllValues(old.Get(), className, schema, "    ");
    SysFreeString(className);
  }
}

// A file's description; an embedded file is extracted below `folder` when
// one is given.
template <class File>
void PrintFile(File* file, const char* kind, const std::u16string& folder) {
  const std::string name = Get(file, &File::get_FileName, "File.FileName");
  std::printf("%s %s %s (%s)", kind, Get(file, &File::Id, "File.Id").c_str(), name.c_str(),
              Get(file, &File::get_ContentType, "File.ContentType").c_str());
  DOUBLE modified = 0;
  Check(file->ModificationTime(&modified), "File.ModificationTime");
  Value when;
  V_VT(&when.Raw()) = VT_DATE;
  V_DATE(&when.Raw()) = modified;
  std::printf(", modified %s\n", Show(when).c_str());
  VARIANT_BOOL embedded = VARIANT_FALSE;
  Check(file->Embedded(&embedded), "File.Embedded");
  if (embedded && !folder.empty()) {
    Check(file->Extract(Text(folder.c_str())), "File.Extract");
    std::printf("  extracted to %s/%s\n", Narrow(folder.c_str()).c_str(), name.c_str());
  }
}

// Transactions, changes and files, through the reader helper's views; false
// for any other object.
bool PrintStandard(INvVexaObject* object, INvVexaReaderHelper* helper, INvVexaSchema* schema,
                   const std::u16string& folder) {
  Ref<INvVexaChangeReader> changes;
  Check(helper->get_ChangeReader(changes.Put()), "ReaderHelper.ChangeReader");
  Ref<INvVexaChangeTransaction> transaction;
  Check(changes->CastToTransaction(object, transaction.Put()), "ChangeReader.CastToTransaction");
  if (transaction.Get()) {
    std::printf("transaction %s\n", Get(transaction.Get(), &INvVexaChangeTransaction::get_Id, "Id").c_str());
    return true;
  }
  Ref<INvVexaChange> change;
  Check(changes->CastToChange(object, change.Put()), "ChangeReader.CastToChange");
  if (change.Get()) {
    PrintChange(change.Get(), schema);
    return true;
  }
  Ref<INvVexaFileReader> files;
  Check(helper->get_FileReader(files.Put()), "ReaderHelper.FileReader");
  Ref<INvVexaFile> file;
  Check(files->CastToFile(object, file.Put()), "FileReader.CastToFile");
  if (file.Get()) {
    PrintFile(file.Get(), "file", folder);
    return true;
  }
  Ref<INvVexaSecondaryFile> secondary;
  Check(files->CastToSecondaryFile(object, secondary.Put()), "FileReader.CastToSecondaryFile");
  if (!secondary.Get()) return false;
  PrintFile(secondary.Get(), "secondary file", folder);
  std::printf("  belongs with %s\n",
              Get(secondary.Get(), &INvVexaSecondaryFile::get_PreviousSibling, "PreviousSibling").c_str());
  return true;
}

void ReadPackage(const std::u16string& fileName, const std::u16string& folder) {
  Ref<INvVexaReader> reader;
  Check(CoCreateInstance(CLSID_NvVexaReader, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaReader,
                         reinterpret_cast<void**>(reader.Put())),
        "CoCreateInstance(NvVexaReader)");
  // The sample marks this item as one a reader must understand.
  Ref<INvVexaUnderstoodInfoItems> understood;
  Check(reader->get_UnderstoodInfoItems(understood.Put()), "Reader.UnderstoodInfoItems");
  Ref<INvVexaUnderstoodInfoItem> added;
  Check(understood->Add(Text(u"formatRevision"), Text(u"urn:example:info"), added.Put()),
        "UnderstoodInfoItems.Add");
  Check(reader->OpenVexaArchiveFile(Text(fileName.c_str()), VARIANT_TRUE),
        "Reader.OpenVexaArchiveFile");
  Ref<INvVexaSchema> schema;
  Check(reader->get_Schema(schema.Put()), "Reader.Schema");
  Ref<INvVexaDataReader> data;
  Check(reader->get_DataReader(data.Put()), "Reader.DataReader");
  PrintInfo(data.Get());
  Ref<INvVexaStdHelper> std;
  Check(CoCreateInstance(CLSID_NvVexaStdHelper, nullptr, CLSCTX_INPROC_SERVER,
                         IID_INvVexaStdHelper, reinterpret_cast<void**>(std.Put())),
        "CoCreateInstance(NvVexaStdHelper)");
  Ref<INvVexaReaderHelper> helper;
  Check(std->CreateReaderHelper(reader.Get(), helper.Put()), "StdHelper.CreateReaderHelper");

  Ref<INvVexaObjectReader> objects;
  Check(data->get_ObjectReader(objects.Put()), "DataReader.ObjectReader");
  Ref<INvVexaObjectIterator> iterator;
  Check(objects->GetObjectIterator(iterator.Put()), "ObjectReader.GetObjectIterator");
  std::map<std::string, long> counts;
  for (VARIANT_BOOL atEnd = VARIANT_FALSE; SUCCEEDED(iterator->get_AtEnd(&atEnd)) && !atEnd;
       Check(iterator->Next(), "Next")) {
    Ref<INvVexaObject> object;
    Check(iterator->GetObject(object.Put()), "Iterator.GetObject");
    BSTR className = nullptr;
    Check(object->get_vexaClassName(&className), "Object.vexaClassName");
    const std::string name = Narrow(className);
    SysFreeString(className);
    if (PrintStandard(object.Get(), helper.Get(), schema.Get(), folder)) {
      ++counts[name];
    } else if (counts[name]++ == 0) {
      std::printf("class %s\n", name.c_str());
      PrintObject(object.Get(), schema.Get());
    }
  }
  for (const auto& [name, count] : counts)
    std::printf("%ld object(s) of class %s\n", count, name.c_str());
  Check(reader->Close(), "Reader.Close");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s IN.vexa [EXTRACT_FOLDER]\n", argv[0]);
    return 2;
  }
  CoInitialize(nullptr);
  int status = 0;
  try {
    ReadPackage(Widen(argv[1]), argc == 3 ? Widen(argv[2]) : std::u16string());
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    status = 1;
  }
  CoUninitialize();
  return status;
}
