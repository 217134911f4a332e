// Helpers shared by the schema model tests.
#pragma once

#include "support/failure_of.h"

#include <memory>
#include <string>

#include "frame/exception.h"
#include "frame/interfaces.h"
#include "schema/schema.h"

namespace nv::test {

using nv_test::kNoFailure;

// The message of the failure a call raises, or "<no failure>".
inline constexpr auto FailureOf = [](auto&& call) { return nv_test::MessageOfFailure(call); };

inline std::string Utf8(const Bstr& text) { return text.ToUtf8(); }

inline constexpr const char16_t* kVersioning =
    u"http://www.norvane.com/vexa/std/ns/core/classBehaviors/versioning/1.0#version";
inline constexpr const char16_t* kVersioningLocation =
    u"http://www.norvane.com/vexa/std/schema/classBehaviors/versioning.xsd";

// Stand-ins for the behaviour document reader and the standard catalogue. The
// "reader" defines urn:x#Loaded and urn:far#Far in any document but
// "broken.xsd"; the catalogue knows the versioning behaviour.
class StandInServices final : public SchemaServices {
 public:
  void LoadBehaviorSchema(const ComPtr<INvVexaSchema>& schema,
                          const Bstr& location) const override {
    if (location == Bstr(u"broken.xsd")) throw ENvException("Invalid Vexa: broken document");
    const auto behaviors = schema.ClassesBehaviors();
    behaviors.Add(mtEmbedded, u"urn:x#Loaded", u"", false).Attributes().Add(u"size");
    behaviors.Add(mtEmbedded, u"urn:far#Far", u"", false).Attributes().Add(u"farAway");
  }
  bool IsStandardBehaviorNamespace(std::u16string_view ns) const override {
    return ns == u"http://www.norvane.com/vexa/std/ns/core/classBehaviors/versioning/1.0";
  }
  void DefineStandardBehavior(const ComPtr<INvVexaSchema>& schema,
                              const Bstr& uri) const override {
    auto behavior = schema.ClassesBehaviors().Add(mtEmbedded, uri, u"", false);
    behavior.Attributes().Add(u"version");
    behavior.PutSchemaLocation(kVersioningLocation);
  }
  void DefineStandardBehaviors(const ComPtr<INvVexaSchema>& schema,
                               std::u16string_view ns) const override {
    DefineStandardBehavior(schema, Bstr(std::u16string(ns) + u"#version"));
  }
};

inline ComPtr<INvVexaSchema> NewSchemaWithServices() {
  return MakeSchema({nullptr, std::make_shared<StandInServices>()});
}

// A class named `name` with the given parent (or none).
inline ComPtr<INvVexaClass> AddClass(const ComPtr<INvVexaSchema>& schema, const char16_t* name,
                                     const ComPtr<INvVexaClass>& parent = nullptr) {
  ComPtr<INvVexaClass> made = schema.Classes().Add(name);
  if (parent) made.PutParentClass(parent);
  return made;
}

}  // namespace nv::test
