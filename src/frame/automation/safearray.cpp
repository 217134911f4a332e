// One-dimensional SAFEARRAYs. Each descriptor sits behind a hidden word that
// holds the element VARTYPE (FADF_HAVEVARTYPE), as in the Windows layout; the
// element data is a block of its own so that SafeArrayRedim can resize it.
#include "frame/automation/automation_api.h"
#include "frame/automation/safearray_internal.h"
#include "frame/automation/variant_internal.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Lock counts change atomically: an array may be locked from several threads.
bool IsLocked(SAFEARRAY& psa) { return std::atomic_ref<ULONG>(psa.cLocks).load() > 0; }

}  // namespace

namespace {

struct ArrayBlock {
  VARTYPE vt;
  SAFEARRAY array;
};

constexpr ULONG kMaxLocks = 0xFFFF;
// Data that the caller placed (stack, static, embedded) is never freed or moved.
constexpr USHORT kForeignData = FADF_AUTO | FADF_STATIC | FADF_EMBEDDED;
constexpr USHORT kTypeFlags =
    FADF_HAVEVARTYPE | FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH | FADF_VARIANT;

ArrayBlock* BlockOf(SAFEARRAY* array) {
  return reinterpret_cast<ArrayBlock*>(reinterpret_cast<char*>(array) -
                                       offsetof(ArrayBlock, array));
}

bool IsElementType(VARTYPE vt) {
  switch (vt) {
    case VT_UI1: case VT_I1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_I8:
    case VT_UI8: case VT_INT: case VT_UINT: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BOOL: case VT_ERROR: case VT_BSTR: case VT_VARIANT: case VT_UNKNOWN:
    case VT_DISPATCH:
      return true;
    default:
      return false;
  }
}

USHORT TypeFlagsFor(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR: return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_UNKNOWN: return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    case VT_DISPATCH: return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_VARIANT: return FADF_HAVEVARTYPE | FADF_VARIANT;
    default: return FADF_HAVEVARTYPE;
  }
}

bool IsOneDimensional(const SAFEARRAY* array) { return array != nullptr && array->cDims == 1; }

// The upper bound, lLbound + cElements - 1, must stay a LONG.
bool BoundFits(const SAFEARRAYBOUND& bound) {
  return int64_t{bound.lLbound} + bound.cElements - 1 <= INT32_MAX;
}

// At least one byte, so that even an empty array has data to point at.
size_t DataBytes(ULONG count, ULONG elementSize) {
  const size_t bytes = size_t{count} * elementSize;  // two 32-bit factors: no overflow
  return bytes == 0 ? 1 : bytes;
}

SAFEARRAY* NewArray(VARTYPE vt, USHORT typeFlags, ULONG elementSize,
                    const SAFEARRAYBOUND& bound) {
  if (elementSize == 0 || !BoundFits(bound)) return nullptr;
  auto* block = new (std::nothrow) ArrayBlock{};
  if (block == nullptr) return nullptr;
  SAFEARRAY& array = block->array;
  array.pvData = std::calloc(1, DataBytes(bound.cElements, elementSize));
  if (array.pvData == nullptr) {
    delete block;
    return nullptr;
  }
  block->vt = vt;
  array.cDims = 1;
  array.fFeatures = typeFlags;
  array.cbElements = elementSize;
  array.rgsabound[0] = bound;
  return &array;
}

// The element at `index`, or null when the index is outside the bounds.
void* SlotAt(SAFEARRAY* array, LONG index) {
  const SAFEARRAYBOUND& bound = array->rgsabound[0];
  const int64_t offset = int64_t{index} - bound.lLbound;
  if (offset < 0 || offset >= bound.cElements) return nullptr;
  return nv::ElementAt(*array, static_cast<ULONG>(offset));
}

HRESULT CopyAllElements(const SAFEARRAY& from, SAFEARRAY& to) {
  const nv::ElementKind kind = nv::ElementKindOf(from);
  for (ULONG i = 0; i < from.rgsabound[0].cElements; ++i) {
    const HRESULT hr = nv::CopyElementOut(kind, nv::ElementAt(from, i), nv::ElementAt(to, i),
                                          from.cbElements);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

// Shrinks or grows the data to `count` elements; growth is zero-filled.
HRESULT ResizeData(SAFEARRAY& array, ULONG count) {
  const ULONG old = array.rgsabound[0].cElements;
  if (count < old) nv::ReleaseElements(array, count, old - count);
  void* data = std::realloc(array.pvData, DataBytes(count, array.cbElements));
  // A failed shrink keeps the larger block, which still holds every element.
  if (data == nullptr) return count < old ? S_OK : E_OUTOFMEMORY;
  array.pvData = data;
  array.rgsabound[0].cElements = count;
  if (count > old)
    std::memset(nv::ElementAt(array, old), 0, size_t{count - old} * array.cbElements);
  return S_OK;
}

}  // namespace

NVAPI SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound) {
  if (cDims != 1 || rgsabound == nullptr || !IsElementType(vt)) return nullptr;
  return NewArray(vt, TypeFlagsFor(vt), static_cast<ULONG>(nv::ValueSize(vt)), rgsabound[0]);
}

NVAPI SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
  SAFEARRAYBOUND bound{cElements, lLbound};
  return SafeArrayCreate(vt, 1, &bound);
}

NVAPI HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (psa == nullptr) return S_OK;
  if (IsLocked(*psa)) return DISP_E_ARRAYISLOCKED;
  if (!IsOneDimensional(psa)) return E_INVALIDARG;
  nv::ReleaseElements(*psa, 0, psa->rgsabound[0].cElements);
  if (psa->fFeatures & kForeignData) return S_OK;
  std::free(psa->pvData);
  delete BlockOf(psa);
  return S_OK;
}

NVAPI HRESULT SafeArrayLock(SAFEARRAY* psa) {
  if (psa == nullptr) return E_INVALIDARG;
  std::atomic_ref<ULONG> locks(psa->cLocks);
  ULONG now = locks.load();
  do {
    if (now >= kMaxLocks) return E_UNEXPECTED;
  } while (!locks.compare_exchange_weak(now, now + 1));
  return S_OK;
}

NVAPI HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
  if (psa == nullptr) return E_INVALIDARG;
  std::atomic_ref<ULONG> locks(psa->cLocks);
  ULONG now = locks.load();
  do {
    if (now == 0) return E_UNEXPECTED;
  } while (!locks.compare_exchange_weak(now, now - 1));
  return S_OK;
}

NVAPI HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
  if (psa == nullptr || ppvData == nullptr) return E_INVALIDARG;
  const HRESULT hr = SafeArrayLock(psa);
  *ppvData = SUCCEEDED(hr) ? psa->pvData : nullptr;
  return hr;
}

NVAPI HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) { return SafeArrayUnlock(psa); }

NVAPI HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
  if (!IsOneDimensional(psa) || plLbound == nullptr) return E_INVALIDARG;
  if (nDim != 1) return DISP_E_BADINDEX;
  *plLbound = psa->rgsabound[0].lLbound;
  return S_OK;
}

NVAPI HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
  if (!IsOneDimensional(psa) || plUbound == nullptr) return E_INVALIDARG;
  if (nDim != 1) return DISP_E_BADINDEX;
  const SAFEARRAYBOUND& bound = psa->rgsabound[0];
  // An empty array answers lLbound - 1, as on Windows.
  *plUbound = static_cast<LONG>(int64_t{bound.lLbound} + bound.cElements - 1);
  return S_OK;
}

NVAPI UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa == nullptr ? 0 : psa->cDims; }

NVAPI UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa == nullptr ? 0 : psa->cbElements; }

NVAPI HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
  if (psa == nullptr || pvt == nullptr) return E_INVALIDARG;
  const USHORT flags = psa->fFeatures;
  if (flags & FADF_HAVEVARTYPE) *pvt = BlockOf(psa)->vt;
  else if (flags & FADF_BSTR) *pvt = VT_BSTR;
  else if (flags & FADF_UNKNOWN) *pvt = VT_UNKNOWN;
  else if (flags & FADF_DISPATCH) *pvt = VT_DISPATCH;
  else if (flags & FADF_VARIANT) *pvt = VT_VARIANT;
  else return E_INVALIDARG;
  return S_OK;
}

NVAPI HRESULT SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew) {
  if (!IsOneDimensional(psa) || psaboundNew == nullptr || !BoundFits(*psaboundNew))
    return E_INVALIDARG;
  if (IsLocked(*psa)) return DISP_E_ARRAYISLOCKED;
  if (psa->fFeatures & (kForeignData | FADF_FIXEDSIZE)) return E_INVALIDARG;
  const HRESULT hr = ResizeData(*psa, psaboundNew->cElements);
  if (SUCCEEDED(hr)) psa->rgsabound[0].lLbound = psaboundNew->lLbound;
  return hr;
}

NVAPI HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
  if (ppsaOut == nullptr) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (psa == nullptr) return S_OK;
  if (!IsOneDimensional(psa)) return E_INVALIDARG;
  VARTYPE vt = VT_EMPTY;
  SafeArrayGetVartype(psa, &vt);  // arrays without a recorded type copy by their flags
  SAFEARRAY* copy = NewArray(vt, psa->fFeatures & kTypeFlags, psa->cbElements, psa->rgsabound[0]);
  if (copy == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = CopyAllElements(*psa, *copy);
  if (FAILED(hr)) {
    SafeArrayDestroy(copy);
    return hr;
  }
  *ppsaOut = copy;
  return S_OK;
}

NVAPI HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
  if (!IsOneDimensional(psa) || rgIndices == nullptr || pv == nullptr) return E_INVALIDARG;
  void* element = SlotAt(psa, rgIndices[0]);
  if (element == nullptr) return DISP_E_BADINDEX;
  return nv::CopyElementOut(nv::ElementKindOf(*psa), element, pv, psa->cbElements);
}

NVAPI HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
  if (!IsOneDimensional(psa) || rgIndices == nullptr) return E_INVALIDARG;
  const nv::ElementKind kind = nv::ElementKindOf(*psa);
  // Strings and interfaces pass the pointer itself, which may be null.
  if (pv == nullptr && (kind == nv::ElementKind::kPlain || kind == nv::ElementKind::kVariant))
    return E_INVALIDARG;
  void* element = SlotAt(psa, rgIndices[0]);
  if (element == nullptr) return DISP_E_BADINDEX;
  return nv::StoreElement(kind, element, pv, psa->cbElements);
}
