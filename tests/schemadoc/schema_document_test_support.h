// Helpers of the schema document tests: a schema, its saved document, the expected text.
#pragma once

#include "support/failure_of.h"

#include <string>
#include <string_view>

#include "frame/exception.h"
#include "frame/interfaces.h"
#include "frame/module_info.h"
#include "schema/schema.h"
#include "schemadoc/schema_writer.h"
#include "support/scratch.h"

namespace nv::test {

inline ComPtr<INvVexaSchema> NewSchema(const char16_t* uri = u"http://example.com/parts") {
  ComPtr<INvVexaSchema> schema = MakeSchema();
  if (uri) schema.PutSchemaURI(uri);
  return schema;
}

inline ComPtr<INvVexaAttribute> AddAttribute(const ComPtr<INvVexaAttributes>& attributes,
                                             const char16_t* name, DataTypeEnum type) {
  ComPtr<INvVexaAttribute> made = attributes.Add(name);
  made.TypeDefinition().PutValueType(type);
  return made;
}

// Saves `schema` as "doc.xsd" in `folder` and answers the file's bytes.
inline std::string SavedDocument(const ComPtr<INvVexaSchema>& schema,
                                 const nv_test::ScratchFolder& folder) {
  MakeSchemaWriter(schema, false).Save(folder.Name("doc.xsd"));
  return nv_test::ReadText(folder.File("doc.xsd"));
}

using nv_test::FailureOf;

inline constexpr std::string_view kFixedImports =
    R"(<import namespace="http://www.norvane.com/vexa/std/ns/core/1.0" )"
    R"(schemaLocation="http://www.norvane.com/vexa/std/schema/core/1.0/core.xsd"/>)"
    R"(<import namespace="http://schemas.xmlsoap.org/soap/envelope/" )"
    R"(schemaLocation="http://schemas.xmlsoap.org/soap/envelope/"/>)";

struct ExpectedParts {
  std::string_view target = "http://example.com/parts";
  std::string_view declarations = {};  // extra namespace declarations, each with a leading blank
  std::string_view imports = {};       // the behaviour imports
  std::string_view body = {};          // annotation and classes
  bool envelope = true;           // false for a behaviour schema document
};

// A whole document as the writer's stream puts it on disk (CR LF line ends).
inline std::string ExpectedDocument(const ExpectedParts& parts) {
  std::string text = ModuleGeneratedByComment();
  text += R"(<schema xmlns="http://www.w3.org/2001/XMLSchema" targetNamespace=")";
  (text += parts.target) += R"(" elementFormDefault="qualified" xmlns:tns=")";
  (text += parts.target) +=
      R"(" xmlns:vexa="http://www.norvane.com/vexa/std/ns/core/1.0")"
      R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema")"
      R"( xmlns:SOAP_ENV="http://schemas.xmlsoap.org/soap/envelope/")";
  (text += parts.declarations) += ">\r\n";
  ((text += kFixedImports) += parts.imports) += "\r\n";
  text += parts.body;
  if (parts.envelope) text += R"(<element name="Envelope" type="SOAP_ENV:Envelope"/>)";
  return text += "</schema>";
}

// A class without parent whose sequence is `sequence`, and its element.
inline std::string RootClass(std::string_view name, std::string_view sequence,
                             std::string_view role = "vexa:class") {
  std::string text = "<complexType name=\"" + std::string(name) +
                     "\" vexa:dataModelRole=\"" + std::string(role) + "\">";
  text += "<complexContent><extension base=\"vexa:root\"><sequence>";
  text += sequence;
  text += "</sequence></extension></complexContent></complexType>";
  return text + "<element name=\"" + std::string(name) + "\" type=\"tns:" + std::string(name) +
         "\"/>";
}

}  // namespace nv::test
