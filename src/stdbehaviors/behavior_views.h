// Typed views over the values of the standard behaviours: the test that
// decides whether an object carries a behaviour, the string and time
// properties every view reads and writes, and the versioning, time-stamp and
// file-association views with their writers' and readers' casts.
#pragma once

#include <string_view>

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

// The URI of a standard class behaviour: its namespace, "#", its element name.
Bstr StandardBehaviorUri(std::u16string_view ns, std::u16string_view element);

// True when the object's class or one of its ancestors has the behaviour. A
// null object fails with E_POINTER; an object of another library with
// E_NOINTERFACE.
bool CarriesBehavior(const ComPtr<INvVexaObject>& object, const Bstr& uri);

// A view of one behaviour of one object: the object, and the behaviour's
// value collection taken once, when the view is made (an object whose class
// lacks the behaviour fails there).
class BehaviorView {
 public:
  BehaviorView(ComPtr<INvVexaObject> object, const Bstr& uri)
      : object_(std::move(object)), values_(object_.GetBehaviorValues(uri)) {}
  virtual ~BehaviorView() = default;

 protected:
  const ComPtr<INvVexaObject>& Object() const { return object_; }
  const ComPtr<INvVexaAttributesValues>& Values() const { return values_; }

 private:
  ComPtr<INvVexaObject> object_;
  ComPtr<INvVexaAttributesValues> values_;
};

// The value of `name` as a string when it is assigned and not null, else the
// empty string.
Bstr StringProperty(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name);
// A non-empty string is stored as a string; the empty string stores Null.
void PutStringProperty(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name,
                       const BstrArg& value);
// The value of `name` as a double (a date converts) when it is assigned and
// not null, else -1.0.
double TimeProperty(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name);
// Stores the double as it is; -1.0 is a number like any other.
void PutTimeProperty(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name,
                     double value);

// The casts shared by the writers and readers: a new view of the same object
// when it carries the behaviour, else null.
ComPtr<INvVexaVersioning> CastToVersioning(const ComPtr<INvVexaObject>& object);
ComPtr<INvVexaTimeStamp> CastToTimeStamp(const ComPtr<INvVexaObject>& object);
ComPtr<INvVexaFileAssociation> CastToFileAssociation(const ComPtr<INvVexaObject>& object);

// The versioning and time-stamp writers and readers: nothing but their cast.
class CNvVexaVersioningCastImpl {
 public:
  virtual ~CNvVexaVersioningCastImpl() = default;
  virtual ComPtr<INvVexaVersioning> CastToVersioning(const ComPtr<INvVexaObject>& object) {
    return nv::CastToVersioning(object);
  }
};

class CNvVexaTimeStampCastImpl {
 public:
  virtual ~CNvVexaTimeStampCastImpl() = default;
  virtual ComPtr<INvVexaTimeStamp> CastToTimeStamp(const ComPtr<INvVexaObject>& object) {
    return nv::CastToTimeStamp(object);
  }
};

class CNvVexaVersioningWriter final
    : public Implements<CNvVexaVersioningWriter, CNvVexaVersioningCastImpl,
                        INvVexaVersioningWriter> {};
class CNvVexaVersioningReader final
    : public Implements<CNvVexaVersioningReader, CNvVexaVersioningCastImpl,
                        INvVexaVersioningReader> {};
class CNvVexaTimeStampWriter final
    : public Implements<CNvVexaTimeStampWriter, CNvVexaTimeStampCastImpl,
                        INvVexaTimeStampWriter> {};
class CNvVexaTimeStampReader final
    : public Implements<CNvVexaTimeStampReader, CNvVexaTimeStampCastImpl,
                        INvVexaTimeStampReader> {};

}  // namespace nv
