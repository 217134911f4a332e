#include "schema/behavior_uri.h"

#include "frame/exception.h"
#include "instance/ncname.h"
#include "values/xml_escape.h"

namespace nv {

void CheckBehaviorUriForm(std::u16string_view uri) {
  const Bstr text(uri);
  const size_t hash = uri.find(u'#');
  if (hash == std::u16string_view::npos)
    throw ENvException(u"missing character \"#\" in class Behavior URI \"" + text + u"\"");
  if (hash == 0) throw ENvException(u"missing namespace in class Behavior URI \"" + text + u"\"");
  const std::u16string_view name = uri.substr(hash + 1);
  if (name.empty())
    throw ENvException(u"missing name for behavior in class behavior URI \"" + text + u"\"");
  if (!IsValidNCName(name))
    throw ENvException(u"Invalid name \"" + Bstr(name) + u"\" for class behavior");
  // The namespace is declared in every document that uses the behaviour.
  CheckXmlCharacters(uri, u"The class behavior URI");
}

Bstr BehaviorNamespaceOf(std::u16string_view uri) {
  const size_t hash = uri.find(u'#');
  if (hash == std::u16string_view::npos)
    throw ENvException(u"\"" + Bstr(uri) +
                       u"\" is is not a valid Behavior Name, missing # seperator");
  return Bstr(uri.substr(0, hash));
}

bool IsRelativeLocation(std::u16string_view location) noexcept {
  return location.find(u"://") == std::u16string_view::npos &&
         location.find(u':') == std::u16string_view::npos && !location.starts_with(u"\\\\");
}

}  // namespace nv
