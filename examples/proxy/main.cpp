// A first client of the installed library: creates a writer, sets the proxy
// through its initialization data, reads it back and prints it.
#include <NorvVexa1/NorvVexa1.h>

#include <cstdio>
#include <string>

namespace {

std::string Narrow(BSTR text) {
  std::string out;
  for (UINT i = 0; i < SysStringLen(text); ++i)
    out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  return out;
}

int Fail(const char* what, HRESULT hr) {
  std::fprintf(stderr, "%s failed: 0x%08X\n", what, static_cast<unsigned>(hr));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const char* proxy = argc > 1 ? argv[1] : "proxy.example.test:8080";
  CoInitialize(nullptr);

  INvVexaWriter* writer = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER,
                                IID_INvVexaWriter, reinterpret_cast<void**>(&writer));
  if (FAILED(hr)) return Fail("CoCreateInstance(NvVexaWriter)", hr);

  INvVexaInitializationData* data = nullptr;
  hr = writer->get_InitializationData(&data);
  if (FAILED(hr)) return Fail("InitializationData", hr);

  std::u16string wide(proxy, proxy + std::char_traits<char>::length(proxy));
  BSTR value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  hr = data->SetProxy(value);
  SysFreeString(value);
  if (FAILED(hr)) return Fail("SetProxy", hr);

  BSTR readBack = nullptr;
  hr = data->GetProxy(&readBack);
  if (FAILED(hr)) return Fail("GetProxy", hr);
  std::printf("Proxy of the writer's initialization data: %s\n", Narrow(readBack).c_str());
  SysFreeString(readBack);

  data->Release();
  writer->Release();
  std::printf("Module can unload now: %s\n", DllCanUnloadNow() == S_OK ? "yes" : "no");
  CoUninitialize();
  return 0;
}
