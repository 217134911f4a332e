// A test object built exactly like the library's objects.
#pragma once

#include "frame/implements.h"
#include "nvgen_widget/calls.h"
#include "nvgen_widget/forwarders.h"

namespace nv::test {

class CWidgetImpl {
 public:
  virtual ~CWidgetImpl() = default;

  virtual Bstr Name() { return name_; }
  virtual void PutName(const BstrArg& value) { name_ = value; }
  virtual Variant Item(LONG index) { return index == 0 ? item_ : Variant(); }
  virtual void PutItem(LONG index, const VARIANT& value) {
    if (index != 0) throw ENvException("Illegal index");
    item_ = Variant(value);
  }
  virtual bool Enabled() { return enabled_; }
  virtual void PutEnabled(bool value) { enabled_ = value; }
  virtual WidgetColorEnum Color() { return wcGreen; }
  virtual Bstr Combine(const BstrArg& text, LONG times, WidgetColorEnum color,
                       const BstrArg& suffix) {
    if (times < 0) throw ENvException("Negative count");
    Bstr out;
    for (LONG k = 0; k < times; ++k) out += text.View();
    return out + (u":" + std::u16string(1, u'0' + static_cast<int>(color))) + suffix.View();
  }
  virtual void Fail(const BstrArg& message) { throw ENvException(Bstr(message)); }
  virtual ComPtr<IWidget> MakeChild(const BstrArg& name);
  virtual void Relay(const ComPtr<IWidget>& other, const BstrArg& message) {
    other.Fail(message);
  }
  virtual void RelayInternal(const BstrArg& message);
  virtual LONG Twice(LONG value) { return 2 * value; }
  virtual void FailInside(const BstrArg& message) { throw ENvException(Bstr(message)); }

 private:
  Bstr name_;
  Variant item_;
  bool enabled_ = false;
};

class CWidget final : public Implements<CWidget, CWidgetImpl, IWidgetEx, IWidgetCRaw> {};

// Borrows a creatable class identifier so its failures carry a ProgID.
class CCreatableWidget final
    : public Implements<CCreatableWidget, CWidgetImpl, IWidgetEx, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaWriter;
};

inline ComPtr<IWidget> CWidgetImpl::MakeChild(const BstrArg& name) {
  ComPtr<IWidgetEx> made = CreateObject<CWidget>();
  made.PutName(name);
  return made;
}

inline void CWidgetImpl::RelayInternal(const BstrArg& message) {
  ComPtr<IWidgetEx> other = CreateObject<CWidget>();
  other.as<IWidgetCRaw>().FailInside(message);
}

}  // namespace nv::test
