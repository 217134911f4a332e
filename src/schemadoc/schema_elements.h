// The elements of a schema document: its names and markup, the head with its
// imports, the annotation with the Info and domain behaviours, and the class
// and attribute elements.
#pragma once

#include <string>
#include <string_view>

#include "frame/interfaces.h"
#include "instance/names.h"

namespace nv {

// Fixed names of the schema document grammar.
inline constexpr std::u16string_view kCoreSchemaLocation =
    u"http://www.norvane.com/vexa/std/schema/core/1.0/core.xsd";
static_assert(kCoreSchemaLocation.starts_with(kNamespaceBase));
// The target namespace of a schema that has no URI of its own.
inline constexpr std::u16string_view kDefaultTargetNamespace = u"VEXA_Schema.xsd";

// The schema's target namespace: its URI, or the default for a schema without one.
Bstr TargetNamespaceOf(const ComPtr<INvVexaSchema>& schema);
inline constexpr std::u16string_view kBehaviorSchemaFilePrefix = u"VEXA_CB_";
inline constexpr std::u16string_view kSchemaFileExtension = u".xsd";

// Small pieces of markup shared by the parts of a schema document.
// Appends a blank and name="value", the value escaped for an attribute;
// refuses text XML cannot carry, naming the attribute.
void AppendAttribute(std::u16string& out, std::u16string_view name, std::u16string_view value);

// The head of a schema document: the schema start tag with its namespace
// declarations, and the imports.
// The start tag and a line feed. Every class behaviour namespace must
// already have its prefix in `namespaces`.
void AppendSchemaStartTag(std::u16string& out, const ComPtr<INvVexaSchema>& schema,
                          const ComPtr<INvVexaNamespaces>& namespaces);

// The core and envelope imports, one import per class behaviour namespace,
// and a line feed.
void AppendImports(std::u16string& out, const ComPtr<INvVexaSchema>& schema);

// The schema annotation: the schema's Info items and its domain behaviours.
// Appends nothing when the schema has neither Info items nor domain behaviours.
void AppendSchemaAnnotation(std::u16string& out, const ComPtr<INvVexaSchema>& schema);

// A class of the schema as a complexType and a global element of the same
// name; in a behaviour schema document the class stands for a behaviour.
// What the class elements of a document need from it.
struct ClassElementScope {
  // The prefix of each behaviour namespace the classes refer to.
  const ComPtr<INvVexaNamespaces>& namespaces;
  // The schema's behaviours: a class may refer to these only.
  const ComPtr<INvVexaClassesBehaviors>& behaviors;
  bool isBehaviorSchema;
};

void AppendClassElements(std::u16string& out, const ComPtr<INvVexaClass>& vexaClass,
                         const ClassElementScope& scope);

// The element that declares one attribute of a class or of a class behaviour.
// Throws ENvException when the attribute cannot be declared as it stands
// (a required attribute with a default, no value type, an incomplete or
// unknown object-reference restriction).
void AppendAttributeElement(std::u16string& out, const ComPtr<INvVexaAttribute>& attribute);

}  // namespace nv
