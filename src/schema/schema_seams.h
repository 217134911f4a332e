// What the schema model needs from later layers, installed by those layers:
// - the schema document reader, to load a class behaviour's definition from
//   its behaviour schema document (ClassesBehaviors.Add with Load true);
// - the standard behaviour catalogue, to define a standard behaviour when a
//   schema is copied;
// - the Info collection of a schema (created memory-based for a schema,
//   copied with the schema, asked for must-understand items).
// Each seam is a plain function pointer; an operation that needs a seam that
// is not installed fails with a message that names the missing part.
#pragma once

#include <string_view>

#include "frame/bstr.h"
#include "frame/interfaces.h"

namespace nv {

struct SchemaSeams {
  // Reads the behaviour schema document at `location` into `schema`, with the
  // behaviour-schema switch on and no extracted-files folder.
  void (*loadBehaviorSchema)(const ComPtr<INvVexaSchema>& schema, const Bstr& location) = nullptr;

  // True when `behaviorNamespace` is one of the standard class-behaviour
  // namespaces.
  bool (*isStandardBehaviorNamespace)(std::u16string_view behaviorNamespace) = nullptr;
  // Defines the standard behaviour `uri` in `schema` from the built-in catalogue.
  void (*defineStandardBehavior)(const ComPtr<INvVexaSchema>& schema, const Bstr& uri) = nullptr;

  // A new memory-based Info collection for a schema.
  ComPtr<IUnknown> (*createSchemaInfo)() = nullptr;
  // Fills `destination` from `source` (both made by createSchemaInfo).
  void (*copySchemaInfo)(const ComPtr<IUnknown>& destination,
                         const ComPtr<IUnknown>& source) = nullptr;
  // True when an item of `info` must be understood.
  bool (*infoHasMustUnderstandItems)(const ComPtr<IUnknown>& info) = nullptr;
};

// The installed seams (process-wide; installed once, before use).
SchemaSeams& InstalledSchemaSeams() noexcept;

}  // namespace nv
