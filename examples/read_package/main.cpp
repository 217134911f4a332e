// Reads a package: prints its Info items, then for each class the number of
// its objects and the values of its first object (class attributes and
// behaviour values).
//
//   read_package_example IN.vexa
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

void PrintObject(INvVexaObject* object, INvVexaSchema* schema) {
  BSTR className = nullptr, id = nullptr;
  Check(object->get_vexaClassName(&className), "Object.vexaClassName");
  Check(object->get_Id(&id), "Object.Id");
  std::printf("  first object %s\n", Narrow(id).c_str());
  Ref<INvVexaClasses> classes;
  Check(schema->get_Classes(classes.Put()), "Schema.Classes");
  Ref<INvVexaClass> vexaClass;
  Check(classes->ItemByName(className, vexaClass.Put()), "Classes.ItemByName");
  Ref<INvVexaReadOnlyAttributes> attributes;
  Check(vexaClass->get_AllAttributes(attributes.Put()), "Class.AllAttributes");
  Ref<INvVexaAttributesValues> values;
  Check(object->get_Values(values.Put()), "Object.Values");
  PrintValues(attributes.Get(), values.Get(), "    ");
  Ref<INvVexaReadOnlyClassBehaviors> behaviors;
  Check(vexaClass->get_AllBehaviors(behaviors.Put()), "Class.AllBehaviors");
  LONG count = 0;
  Check(behaviors->get_Count(&count), "Behaviors.Count");
  for (LONG k = 0; k < count; ++k) {
    Ref<INvVexaClassBehavior> behavior;
    Check(behaviors->get_Item(k, behavior.Put()), "Behaviors.Item");
    BSTR uri = nullptr;
    Check(behavior->get_URI(&uri), "Behavior.URI");
    std::printf("    behavior %s\n", Narrow(uri).c_str());
    Ref<INvVexaAttributes> behaviorAttributes;
    Check(behavior->get_Attributes(behaviorAttributes.Put()), "Behavior.Attributes");
    Ref<INvVexaAttributesValues> behaviorValues;
    Check(object->GetBehaviorValues(uri, behaviorValues.Put()), "Object.GetBehaviorValues");
    PrintValues(behaviorAttributes.Get(), behaviorValues.Get(), "      ");
    SysFreeString(uri);
  }
  SysFreeString(className);
  SysFreeString(id);
}

void ReadPackage(const std::u16string& fileName) {
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
    if (counts[name]++ == 0) {
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
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s IN.vexa\n", argv[0]);
    return 2;
  }
  CoInitialize(nullptr);
  int status = 0;
  try {
    ReadPackage(Widen(argv[1]));
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    status = 1;
  }
  CoUninitialize();
  return status;
}
