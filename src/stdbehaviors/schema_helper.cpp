#include "stdbehaviors/schema_helper.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "frame/exception.h"
#include "stdbehaviors/catalogue.h"

namespace nv {
namespace {

// A standard class behaviour: its namespace and element name.
struct BehaviorRef {
  std::u16string_view ns;
  std::u16string_view element;
};

Bstr UriOf(const BehaviorRef& behavior) {
  return Bstr(std::u16string(behavior.ns) + u"#" + std::u16string(behavior.element));
}

constexpr BehaviorRef kTimeStamp{kTimeStampNamespace, u"timeStamp"};
constexpr BehaviorRef kFileAssociation{kFilesNamespace, u"fileAssociation"};
constexpr BehaviorRef kVersion{kVersioningNamespace, u"version"};
constexpr BehaviorRef kTrackChanges{kChangeTrackingNamespace, u"trackChanges"};

// One step of adding a support: a standard behaviour is defined and, when the
// step names a class, a class is created that lists it (and `alsoLists`, if
// any) with must-understand muNo.
struct Step {
  BehaviorRef defines;
  std::u16string_view className = {};
  std::u16string_view parent = {};
  bool isAbstract = false;
  BehaviorRef alsoLists = {};
};

struct Role {
  std::u16string_view name;
  std::u16string_view className;
};

// A support: its steps in order, then the domain behaviour whose roles the
// new classes play (none when `domain` is empty).
struct Support {
  std::span<const Step> steps;
  std::u16string_view domain = {};
  std::span<const Role> roles = {};
};

constexpr Step kChangesSteps[] = {
    {{kChangeTrackingNamespace, u"transaction"}, u"__transaction"},
    {{kChangeTrackingNamespace, u"change"}, u"__change", {}, true},
    {{kChangeTrackingNamespace, u"objectCreated"}, u"__objectCreated", u"__change"},
    {{kChangeTrackingNamespace, u"objectValueModified"}, u"__objectValueModified", u"__change"},
    {{kChangeTrackingNamespace, u"objectDeleted"}, u"__objectDeleted", u"__change"},
    {kTrackChanges},
};
constexpr Role kChangesRoles[] = {{u"objectDeleted", u"__objectDeleted"},
                                  {u"objectValueModified", u"__objectValueModified"},
                                  {u"objectCreated", u"__objectCreated"},
                                  {u"transaction", u"__transaction"}};

constexpr Step kFilesSteps[] = {
    {kTimeStamp},
    {{kFilesNamespace, u"fileDescription"}, u"__fileDescription", {}, true, kTimeStamp},
    {kFileAssociation},
    {{kFilesNamespace, u"mainFile"}, u"__mainFile", u"__fileDescription"},
    {{kFilesNamespace, u"secondaryFile"}, u"__secondaryFile", u"__fileDescription"},
};
constexpr Role kFilesRoles[] = {{u"file", u"__fileDescription"}};

constexpr Step kVersioningSteps[] = {{kVersion}};
constexpr Step kTimeStampSteps[] = {{kTimeStamp}};

constexpr Support kChangesSupport{kChangesSteps, kChangeTrackingDomainNamespace, kChangesRoles};
constexpr Support kFilesSupport{kFilesSteps, kFilesDomainNamespace, kFilesRoles};
constexpr Support kVersioningSupport{kVersioningSteps};
constexpr Support kTimeStampSupport{kTimeStampSteps};

void CreateClass(const ComPtr<INvVexaSchema>& schema, const Step& step) {
  const ComPtr<INvVexaClasses> classes = schema.Classes();
  const ComPtr<INvVexaClass> vexaClass = classes.Add(step.className);
  const ComPtr<INvVexaClassBehaviors> own = vexaClass.CurrentClassBehaviors();
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema.ClassesBehaviors();
  for (const BehaviorRef& behavior : {step.defines, step.alsoLists})
    if (!behavior.element.empty()) own.Add(behaviors.ItemByURI(UriOf(behavior)), muNo);
  if (!step.parent.empty()) vexaClass.PutParentClass(classes.ItemByName(step.parent));
  if (step.isAbstract) vexaClass.PutIsAbstract(true);
}

void AddSupport(const ComPtr<INvVexaSchema>& schema, const Support& support) {
  for (const Step& step : support.steps) {
    DefineStandardBehavior(schema, UriOf(step.defines));
    if (!step.className.empty()) CreateClass(schema, step);
  }
  if (support.domain.empty()) return;
  const ComPtr<INvVexaDomainBehaviorRoleClassMapping> mapping =
      schema.DomainBehaviors().Add(support.domain).RoleClassMapping();
  const ComPtr<INvVexaClasses> classes = schema.Classes();
  for (const Role& role : support.roles)
    mapping.PutItem(role.name, classes.ItemByName(role.className));
}

// A behaviour a client enables per class, and the failure when its support
// was not added to the schema.
struct Enablement {
  BehaviorRef behavior;
  const char* missing;
};

constexpr Enablement kFileAssociationEnablement{
    kFileAssociation, "Schema does not support Vexa Standard fileAssociation class behavior"};
constexpr Enablement kVersioningEnablement{
    kVersion, "Schema does not support VEXA Standard versioning class behavior"};
constexpr Enablement kChangeTrackingEnablement{
    kTrackChanges, "Schema does not support VEXA Standard trackChanges class behavior"};
constexpr Enablement kTimeStampEnablement{
    kTimeStamp, "Schema does not support Vexa Standard timeStamp class behavior"};

void CheckClass(const ComPtr<INvVexaClass>& vexaClass) {
  if (!vexaClass) throw ENvException("Invalid value for parameter VexaClass");
}

void Enable(const ComPtr<INvVexaSchema>& schema, const Enablement& enablement,
            const ComPtr<INvVexaClass>& vexaClass) {
  CheckClass(vexaClass);
  const ComPtr<INvVexaClassBehavior> behavior =
      schema.ClassesBehaviors().ItemByURI(UriOf(enablement.behavior));
  if (!behavior) throw ENvException(enablement.missing);
  vexaClass.CurrentClassBehaviors().Add(behavior, muNo);
}

bool IsEnabled(const Enablement& enablement, const ComPtr<INvVexaClass>& vexaClass) {
  CheckClass(vexaClass);
  return vexaClass.SupportsBehavior(UriOf(enablement.behavior));
}

}  // namespace

CNvVexaSchemaHelperImpl::CNvVexaSchemaHelperImpl(ComPtr<INvVexaSchema> schema)
    : schema_(std::move(schema)) {
  if (!schema_) throw ENvException("Invalid value for parameter Schema");
}

void CNvVexaSchemaHelperImpl::AddDefaultChangesSupport() { AddSupport(schema_, kChangesSupport); }
void CNvVexaSchemaHelperImpl::AddDefaultFilesSupport() { AddSupport(schema_, kFilesSupport); }
void CNvVexaSchemaHelperImpl::AddDefaultVersioningSupport() {
  AddSupport(schema_, kVersioningSupport);
}
void CNvVexaSchemaHelperImpl::AddDefaultTimeStampSupport() {
  AddSupport(schema_, kTimeStampSupport);
}

void CNvVexaSchemaHelperImpl::EnableFileAssociationForClass(const ComPtr<INvVexaClass>& vexaClass) {
  Enable(schema_, kFileAssociationEnablement, vexaClass);
}
void CNvVexaSchemaHelperImpl::EnableVersioningForClass(const ComPtr<INvVexaClass>& vexaClass) {
  Enable(schema_, kVersioningEnablement, vexaClass);
}
void CNvVexaSchemaHelperImpl::EnableChangeTrackingForClass(const ComPtr<INvVexaClass>& vexaClass) {
  Enable(schema_, kChangeTrackingEnablement, vexaClass);
}
void CNvVexaSchemaHelperImpl::EnableTimeStampForClass(const ComPtr<INvVexaClass>& vexaClass) {
  Enable(schema_, kTimeStampEnablement, vexaClass);
}

bool CNvVexaSchemaHelperImpl::IsFileAssociationEnabled(const ComPtr<INvVexaClass>& vexaClass) {
  return IsEnabled(kFileAssociationEnablement, vexaClass);
}
bool CNvVexaSchemaHelperImpl::IsVersioningEnabled(const ComPtr<INvVexaClass>& vexaClass) {
  return IsEnabled(kVersioningEnablement, vexaClass);
}
bool CNvVexaSchemaHelperImpl::IsChangeTrackingEnabled(const ComPtr<INvVexaClass>& vexaClass) {
  return IsEnabled(kChangeTrackingEnablement, vexaClass);
}
bool CNvVexaSchemaHelperImpl::IsTimeStampEnabled(const ComPtr<INvVexaClass>& vexaClass) {
  return IsEnabled(kTimeStampEnablement, vexaClass);
}

}  // namespace nv
