#include "writer/info_schema_seams.h"

#include "schema/namespaces.h"
#include "schema/schema_seams.h"
#include "schemadoc/schema_info_seam.h"
#include "writer/info.h"

namespace nv {
namespace {

ComPtr<IUnknown> CreateSchemaInfo() { return MakeMemoryBasedInfo(true); }

void CopySchemaInfo(const ComPtr<IUnknown>& destination, const ComPtr<IUnknown>& source) {
  destination.as<INvVexaInfoCRaw>().Copy(source.as<INvVexaInfo>());
}

bool InfoHasMustUnderstandItems(const ComPtr<IUnknown>& info) {
  const auto items = info.as<INvVexaInfoCRaw>();
  for (LONG k = 0, count = items.Count(); k < count; ++k)
    if (items.GetItem(k).MustUnderstand() == muYes) return true;
  return false;
}

}  // namespace

bool AppendSchemaInfo(std::u16string& out, const ComPtr<INvVexaSchema>& schema) {
  const auto info = schema.Info().as<INvVexaInfoCRaw>();
  // The schema document's own prefixes are declared on its root; the Header
  // declares its item namespaces itself, so a fresh table of its own will do.
  const ComPtr<INvVexaNamespaces> prefixes = CreateObject<CNvVexaNamespaces>();
  out += info.GetXMLStr(true, prefixes).View();
  return info.Count() > 0;
}

void InstallInfoSeams() noexcept {
  SchemaSeams& seams = InstalledSchemaSeams();
  seams.createSchemaInfo = CreateSchemaInfo;
  seams.copySchemaInfo = CopySchemaInfo;
  seams.infoHasMustUnderstandItems = InfoHasMustUnderstandItems;
  InstalledSchemaInfoRenderer() = AppendSchemaInfo;
}

}  // namespace nv
