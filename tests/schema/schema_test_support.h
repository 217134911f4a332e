// Helpers shared by the schema model tests.
#pragma once

#include "support/failure_of.h"

#include <string>

#include "frame/exception.h"
#include "frame/interfaces.h"
#include "schema/schema.h"
#include "schema/schema_seams.h"

namespace nv::test {

using nv_test::kNoFailure;

inline ComPtr<INvVexaSchema> NewSchema() { return MakeSchema(nullptr); }

// The message of the failure `call` raises, or kNoFailure.
template <class F>
std::string FailureOf(F&& call) {
  return nv_test::MessageOfFailure(std::forward<F>(call));
}

inline std::string Utf8(const Bstr& text) { return text.ToUtf8(); }

// Installs seams for one test and puts the previous ones back afterwards.
class ScopedSeams {
 public:
  explicit ScopedSeams(const SchemaSeams& seams) : saved_(InstalledSchemaSeams()) {
    InstalledSchemaSeams() = seams;
  }
  ~ScopedSeams() { InstalledSchemaSeams() = saved_; }
  ScopedSeams(const ScopedSeams&) = delete;
  ScopedSeams& operator=(const ScopedSeams&) = delete;

 private:
  SchemaSeams saved_;
};

// A class named `name` with the given parent (or none).
inline ComPtr<INvVexaClass> AddClass(const ComPtr<INvVexaSchema>& schema, const char16_t* name,
                                     const ComPtr<INvVexaClass>& parent = nullptr) {
  ComPtr<INvVexaClass> made = schema.Classes().Add(name);
  if (parent) made.PutParentClass(parent);
  return made;
}

}  // namespace nv::test
