// The content of an object element: class attribute elements and behaviour
// blocks, in any order and any mix, read into value collections. Shared by
// the object iterator and by the reading of captured attribute texts, so
// that both accept exactly the same elements.
#pragma once

#include <string_view>
#include <utility>

#include "frame/bstr.h"
#include "frame/interfaces.h"
#include "xml/pull_parser.h"

namespace nv {

class CNvVexaAttributesValuesImpl;

// Where the values of one object (or value set) go. The collections must
// live as long as the target: it hands out the implementations behind them.
class ObjectValuesTarget {
 public:
  virtual ~ObjectValuesTarget() = default;
  virtual CNvVexaAttributesValuesImpl* ClassValues() = 0;
  // The values of the behaviour `uri`; fails when the class lacks it.
  virtual CNvVexaAttributesValuesImpl* BehaviorValues(const Bstr& uri) = 0;
};

// The values of an object: its own, and per behaviour the object's, which
// fails for a behaviour its class lacks.
class ObjectValuesOf final : public ObjectValuesTarget {
 public:
  explicit ObjectValuesOf(const ComPtr<INvVexaObject>& object) : object_(object) {}
  CNvVexaAttributesValuesImpl* ClassValues() override;
  CNvVexaAttributesValuesImpl* BehaviorValues(const Bstr& uri) override;

 private:
  const ComPtr<INvVexaObject>& object_;
};

class ObjectContentReader {
 public:
  // Elements in `classNamespace` are class attributes; elements in any other
  // namespace are behaviour blocks, named by namespace "#" local name.
  ObjectContentReader(PullParser& parser, Bstr classNamespace)
      : parser_(parser), classNamespace_(std::move(classNamespace)) {}

  // Reads the content from the current token up to the end tag named
  // `endName` in `endNamespace`, and passes it. `className` names the class
  // in messages.
  void Read(ObjectValuesTarget& target, const Bstr& className, std::u16string_view endName,
            std::u16string_view endNamespace);

 private:
  bool IsClassNamespace(const Token& tag);
  void ReadAttributeElement(CNvVexaAttributesValuesImpl* values, const Bstr& className);
  void ReadBehaviorElement(ObjectValuesTarget& target, const Bstr& className);

  PullParser& parser_;
  Bstr classNamespace_;
  const char16_t* classNamespaceText_ = nullptr;
};

}  // namespace nv
