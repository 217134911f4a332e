#include "reader/fragment_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "frame/exception.h"
#include "instance/names.h"
#include "instance/value_elements.h"
#include "objects/attribute_values.h"
#include "objects/attribute_values_groups.h"
#include "objects/object.h"
#include "reader/object_content.h"
#include "reader/value_elements.h"
#include "schema/behaviors.h"
#include "schemadoc/schema_elements.h"

namespace nv {
namespace {

ComPtr<INvVexaClass> ClassOf(const ComPtr<INvVexaSchema>& schema, const Bstr& className) {
  ComPtr<INvVexaClass> found = schema.Classes().ItemByName(className);
  if (!found) throw ENvException(u"Unknown class " + className);
  return found;
}

// The values of a value set, which (unlike an object) leaves the test for a
// behaviour of the class to its caller.
class GroupsValues final : public ObjectValuesTarget {
 public:
  GroupsValues(const ComPtr<INvVexaAttributesValuesGroups>& groups,
               const ComPtr<INvVexaClass>& vexaClass)
      : groups_(groups), class_(vexaClass) {}

  CNvVexaAttributesValuesImpl* ClassValues() override {
    return AttributesValuesImpl(groups_.Values());
  }
  CNvVexaAttributesValuesImpl* BehaviorValues(const Bstr& uri) override {
    if (!class_.SupportsBehavior(uri))
      throw ENvException(u"Object of class \"" + class_.Name() +
                         u"\" does not support behavior \"" + uri + u"\"");
    return AttributesValuesImpl(groups_.GetBehaviorValues(uri));
  }

 private:
  const ComPtr<INvVexaAttributesValuesGroups>& groups_;
  const ComPtr<INvVexaClass>& class_;
};

// Parses the value's fragment inside a wrapper that declares its prefixes,
// with the hardened parser the instance document is read with.
void ReadFragment(const ComPtr<INvVexaXmlAttributeValue>& attributes,
                  const ComPtr<INvVexaSchema>& schema, ObjectValuesTarget& target,
                  const Bstr& className) {
  const std::string text = WrappedXmlFragment(attributes);
  std::string_view unread = text;
  PullParser parser;
  parser.Open(
      [&unread](char* buffer, size_t size) {
        const size_t count = std::min(size, unread.size());
        std::memcpy(buffer, unread.data(), count);
        unread.remove_prefix(count);
        return count;
      },
      u"XmlAttributeValue");
  parser.SkipTokens(kSkippedTokens);
  ExpectToken(parser, ttStartElement);
  parser.NextSkipping(kSkippedTokens);
  ObjectContentReader(parser, TargetNamespaceOf(schema))
      .Read(target, className, kXmlFragmentWrapper, u"");
}

}  // namespace

ComPtr<INvVexaNamespaces> PackageNamespacesOf(const ComPtr<INvVexaSchema>& schema) {
  const ComPtr<INvVexaNamespaces> table = CreateObject<CNvVexaNamespaces>();
  table.Add(kXmlSchemaInstanceNamespace, kXsiPrefix);
  table.Add(kCoreNamespace, kCorePrefix);
  table.Add(TargetNamespaceOf(schema), kSchemaPrefix);
  const auto generated = table.as<INvVexaNamespacesCRaw>();
  const auto behaviors = schema.ClassesBehaviors();
  for (LONG k = 0, count = behaviors.Count(); k < count; ++k) {
    const Bstr ns = BehaviorNamespaceOf(behaviors.Item(k).URI().View());
    if (!generated.Exist(ns)) generated.AddNamespace(ns);
  }
  return table;
}

ComPtr<INvVexaObject> ReadObjectFragment(const ComPtr<INvVexaSchema>& schema, const Bstr& className,
                                         const Bstr& objectId,
                                         const ComPtr<INvVexaXmlAttributeValue>& attributes) {
  const auto layout = std::make_shared<const ClassLayout>(ClassOf(schema, className), nullptr);
  ComPtr<INvVexaObject> object = CreateObject<CNvVexaObject>();
  ImplFrom<CNvVexaObject, INvVexaObjectCRaw>(object)->CreateForReader(className, objectId, schema,
                                                                      layout);
  if (attributes) {
    ObjectValuesOf target(object);
    ReadFragment(attributes, schema, target, className);
  }
  return object;
}

ComPtr<INvVexaAttributesValuesGroups> ReadValuesFragment(
    const ComPtr<INvVexaSchema>& schema, const ComPtr<INvVexaNamespaces>& namespaces,
    const Bstr& className, const ComPtr<INvVexaXmlAttributeValue>& attributes) {
  const ComPtr<INvVexaClass> vexaClass = ClassOf(schema, className);
  ComPtr<INvVexaAttributesValuesGroups> groups =
      MakeAttributesValuesGroups(schema, namespaces, className, false);
  GroupsValues target(groups, vexaClass);
  ReadFragment(attributes, schema, target, className);
  return groups;
}

}  // namespace nv
