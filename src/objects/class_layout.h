// What writing objects of one class needs from the schema, read once per
// class rather than once per value: the definition of every attribute by
// name, and the blocks of the object text in written order. An object writer
// keeps one layout per class for the life of its package, so the schema must
// not change while the package is open (it was written out when the package
// was created).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <functional>
#include <unordered_map>
#include <vector>

#include "frame/interfaces.h"

namespace nv {

// Hashing that finds string keys by views, without making a string.
struct ViewHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view text) const noexcept {
    return std::hash<std::u16string_view>()(text);
  }
};
template <class T>
using ViewMap = std::unordered_map<std::u16string, T, ViewHash, std::equal_to<>>;

// One attribute's definition, copied out of the schema.
struct AttributeFacts {
  Bstr name;
  // The element in object text is prefix ":" name; its tags are kept whole.
  std::u16string startTag;  // "    <" element, indented as in object text
  std::u16string endTag;    // "</" element ">"
  DataTypeEnum type = dtUndefined;
  bool required = false;
  bool nullAllowed = false;
  LONG maxLength = 0;  // strings only; below 1 means no limit
  Variant defaultValue;
  size_t slot = 0;  // where its value is kept: the first attribute of this name
};

// The attributes of a class (its chain's, root first) or of one behaviour.
class AttributeSet {
 public:
  // `owner` names the class or behaviour in messages: Class "Part".
  explicit AttributeSet(std::u16string owner = {}) : owner_(std::move(owner)) {}
  // Appends the attributes of `attributes`, named in text with `prefix`.
  void Append(const ComPtr<INvVexaAttributes>& attributes, std::u16string_view prefix);

  size_t Size() const noexcept { return facts_.size(); }
  const AttributeFacts& operator[](size_t index) const noexcept { return facts_[index]; }
  // The slot of the attribute named `name`, or -1.
  long SlotOf(std::u16string_view name) const;
  // The index of `name`, trying `guess` first (values tend to come in
  // definition order), or -1.
  long IndexOf(std::u16string_view name, size_t guess) const;
  const std::u16string& Owner() const noexcept { return owner_; }

 private:
  std::u16string owner_;
  std::vector<AttributeFacts> facts_;
  ViewMap<size_t> slots_;
};

// A run of attributes in object text: a class's own attributes, or one
// behaviour's block.
struct TextBlock {
  std::u16string behaviorUri;  // empty for a class's own attributes
  std::u16string element;      // the behaviour element ("NS1:Tracked"), else empty
  const AttributeSet* attributes = nullptr;  // the class or behaviour set
  size_t first = 0;                          // the range in `attributes`
  size_t last = 0;
};

class ClassLayout {
 public:
  // The layout of `vexaClass`; behaviour element prefixes come from
  // `namespaces` (may be null for layouts that never write text). Given the
  // schema's behaviours, every behaviour of the class must be one of them:
  // the package declares and defines those only.
  ClassLayout(const ComPtr<INvVexaClass>& vexaClass, const ComPtr<INvVexaNamespaces>& namespaces,
              const ComPtr<INvVexaClassesBehaviors>& schemaBehaviors = nullptr);
  // Blocks point into the layout, so it stays where it was made.
  ClassLayout(const ClassLayout&) = delete;
  ClassLayout& operator=(const ClassLayout&) = delete;

  const AttributeSet& ClassAttributes() const noexcept { return classAttributes_; }
  // The attributes of a behaviour of the class, or null when the class does
  // not have it.
  const AttributeSet* BehaviorAttributes(std::u16string_view uri) const;
  // Root first: each class's own attributes, then its behaviour blocks.
  const std::vector<TextBlock>& Blocks() const noexcept { return blocks_; }

 private:
  AttributeSet classAttributes_;
  ViewMap<AttributeSet> behaviors_;
  std::vector<TextBlock> blocks_;
};

// How messages name a class and a behaviour.
std::u16string ClassOwnerText(std::u16string_view className);
std::u16string BehaviorOwnerText(std::u16string_view behaviorUri);

// The attribute set `owner` holds, sharing its ownership.
inline std::shared_ptr<const AttributeSet> ShareAttributes(
    const std::shared_ptr<const ClassLayout>& owner, const AttributeSet* set) {
  return set ? std::shared_ptr<const AttributeSet>(owner, set) : nullptr;
}

}  // namespace nv
