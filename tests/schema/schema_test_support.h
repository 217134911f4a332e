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

using nv_test::FailureOf;

inline std::string Utf8(const Bstr& text) { return text.ToUtf8(); }

// A stand-in for the behaviour document reader, without a standard catalogue
// (copies from the catalogue are the catalogue test's): it defines urn:far#Far
// in any document but "broken.xsd".
class StandInServices final : public SchemaServices {
 public:
  void LoadBehaviorSchema(const ComPtr<INvVexaSchema>& schema,
                          const Bstr& location) const override {
    if (location == Bstr(u"broken.xsd")) throw ENvException("Invalid Vexa: broken document");
    schema.ClassesBehaviors().Add(mtEmbedded, u"urn:far#Far", u"", false).Attributes().Add(
        u"farAway");
  }
  bool IsStandardBehaviorNamespace(std::u16string_view) const override { return false; }
  void DefineStandardBehavior(const ComPtr<INvVexaSchema>&, const Bstr&) const override {}
  void DefineStandardBehaviors(const ComPtr<INvVexaSchema>&, std::u16string_view) const override {
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
