// File-name containment: a name the archive's entry-name test accepts, or
// one the extraction's test (relative, no parent component) accepts, stays
// inside the root when joined to it.
#include "archive/entry_names.h"
#include "frame/text.h"
#include "fuzz_support.h"
#include "platform/paths.h"

using namespace nv_fuzz;

namespace {

const fs::path kRoot = "/root/of/extraction";

void RequireInside(const fs::path& joined, std::string_view name, const char* test) {
  const fs::path normal = joined.lexically_normal();
  const auto [end, ignored] =
      std::mismatch(kRoot.begin(), kRoot.end(), normal.begin(), normal.end());
  if (end != kRoot.end() || normal == kRoot)
    Fail(std::string(test) + " accepted \"" + archive::PrintableName(name) + "\" -> " +
         normal.string());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  if (archive::UnsafeNameReason(raw).empty() && !archive::IsFolderName(raw)) {
    fs::path joined = kRoot;
    const auto components = archive::NameComponents(raw);
    for (const std::string& component : components) {
      if (component.empty() || component == "." || component == ".." ||
          component.find('\0') != std::string::npos)
        Fail("entry name component \"" + archive::PrintableName(component) + "\" of \"" +
             archive::PrintableName(raw) + "\"");
      joined /= component;
    }
    if (!components.empty()) RequireInside(joined, raw, "entry-name test");
  }
  // Names given to extraction come from instance documents, which cannot
  // carry U+0000; the entry-name test above is the one that sees raw bytes.
  const std::u16string name = Utf8ToUtf16(raw);
  if (!name.empty() && name.find(u'\0') == std::u16string::npos && IsRelativePath(name) &&
      !HasParentComponent(name)) {
    const std::string path = ToFileSystemPath(name);
    if (path.find_first_not_of("/.") != std::string::npos)
      RequireInside(kRoot / fs::path(path).relative_path(), raw, "extraction test");
    const std::string joined = JoinPath(Utf8ToUtf16(kRoot.string()), name).ToUtf8();
    if (path.find_first_not_of("/.") != std::string::npos)
      RequireInside(fs::path(joined), raw, "JoinPath");
  }
  return 0;
}
