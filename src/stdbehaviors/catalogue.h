// The standard class behaviours (change tracking, files, versioning, time
// stamps) built in, so that a schema can be given them without reading a
// behaviour schema document; and the schema services the module hands to the
// schemas its objects make.
#pragma once

#include <memory>
#include <string_view>

#include "frame/bstr.h"
#include "frame/interfaces.h"
#include "schema/schema.h"

namespace nv {

// The namespaces of the standard class and domain behaviours.
inline constexpr std::u16string_view kChangeTrackingNamespace =
    u"http://www.norvane.com/vexa/std/ns/core/classBehaviors/changeTracking/1.0";
inline constexpr std::u16string_view kFilesNamespace =
    u"http://www.norvane.com/vexa/std/ns/core/classBehaviors/files/1.0";
inline constexpr std::u16string_view kVersioningNamespace =
    u"http://www.norvane.com/vexa/std/ns/core/classBehaviors/versioning/1.0";
inline constexpr std::u16string_view kTimeStampNamespace =
    u"http://www.norvane.com/vexa/std/ns/core/classBehaviors/timeStamp/1.0";
inline constexpr std::u16string_view kChangeTrackingDomainNamespace =
    u"http://www.norvane.com/vexa/std/ns/core/domainBehaviors/changeTracking/1.0";
inline constexpr std::u16string_view kFilesDomainNamespace =
    u"http://www.norvane.com/vexa/std/ns/core/domainBehaviors/files/1.0";

// True for one of the four standard class-behaviour namespaces.
bool IsStandardBehaviorNamespace(std::u16string_view behaviorNamespace) noexcept;

// Defines the standard behaviour `uri` in `schema`: its attributes from the
// catalogue and the standard schema location of its namespace. Only the
// element name after "#" selects the definition. A time stamp the schema
// already has is kept as it is.
void DefineStandardBehavior(const ComPtr<INvVexaSchema>& schema, const Bstr& uri);

// Defines every behaviour of a standard namespace, in catalogue order; fails
// with "Namespace "<ns>" is not standard" for any other namespace.
void DefineStandardBehaviors(const ComPtr<INvVexaSchema>& schema, std::u16string_view ns);

// The services of the module's schemas: the standard catalogue, and the
// schema document reader for behaviour schema documents.
std::shared_ptr<const SchemaServices> StandardSchemaServices();

}  // namespace nv
