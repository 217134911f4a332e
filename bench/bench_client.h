// What the benchmark clients share: failures as exceptions with the
// library's message, and owning holders for interface pointers and BSTRs.
// The benchmarks use the installed header only, as any client would.
#pragma once

#include <NorvVexa1/NorvVexa1.h>

#include <stdexcept>
#include <string>

namespace bench {

inline void Check(HRESULT hr, const char* what) {
  if (SUCCEEDED(hr)) return;
  std::string message = what;
  IErrorInfo* info = nullptr;
  BSTR text = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && SUCCEEDED(info->GetDescription(&text))) {
    message += ": ";
    for (UINT k = 0; k < SysStringLen(text); ++k) message += static_cast<char>(text[k]);
  }
  SysFreeString(text);
  if (info) info->Release();
  throw std::runtime_error(message);
}

template <class I>
struct Ref {
  I* p = nullptr;
  Ref() = default;
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() {
    if (p) p->Release();
  }
  I* operator->() const { return p; }
};

struct Text {
  BSTR b;
  explicit Text(const std::u16string& s)
      : b(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(b); }
};

inline std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

inline VARIANT Scalar(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  return v;
}

inline void AddAttribute(INvVexaAttributes* owner, const char16_t* name, DataTypeEnum type) {
  Ref<INvVexaAttribute> attribute;
  Check(owner->Add(Text(name).b, &attribute.p), "Attributes.Add");
  Ref<INvVexaTypeDefinition> definition;
  Check(attribute->get_TypeDefinition(&definition.p), "TypeDefinition");
  Check(definition->put_ValueType(type), "ValueType");
}

// Makes `writer`, lets `define` build its schema and creates an embedded-mode
// package at `path`.
inline void CreateEmbeddedPackage(Ref<INvVexaWriter>& writer, void (*define)(INvVexaSchema*),
                                  const std::string& path, ArchiveFileCompressionLevelEnum level) {
  Check(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                         reinterpret_cast<void**>(&writer.p)),
        "CoCreateInstance");
  Ref<INvVexaSchema> schema;
  Check(writer->get_Schema(&schema.p), "Schema");
  define(schema.p);
  Check(writer->SetSchemaMode(mtEmbedded, nullptr, nullptr, VARIANT_FALSE), "SetSchemaMode");
  Check(writer->CreateVexaArchiveFileEx(Text(Wide(path)).b, level), "Create");
}

// The iterator over the objects of the package `reader` has open.
inline void GetObjectIterator(INvVexaReader* reader, Ref<INvVexaObjectIterator>& iterator) {
  Ref<INvVexaDataReader> data;
  Check(reader->get_DataReader(&data.p), "Reader.DataReader");
  Ref<INvVexaObjectReader> objects;
  Check(data->get_ObjectReader(&objects.p), "DataReader.ObjectReader");
  Check(objects->GetObjectIterator(&iterator.p), "ObjectReader.GetObjectIterator");
}

}  // namespace bench
