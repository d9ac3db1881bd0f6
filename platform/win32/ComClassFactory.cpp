#include "platform/win32/ComClassFactory.h"

#include <new>

namespace platform::win32 {

HRESULT TComClassFactory::Create(const TClass& kind, REFIID iid, void** object) {
    auto* factory = new (std::nothrow) TComClassFactory(kind);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

STDMETHODIMP TComClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TComClassFactory::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) TComClassFactory::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP TComClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return class_.create(iid, object);
}

STDMETHODIMP TComClassFactory::LockServer(BOOL lock) {
    class_.lock(lock != FALSE);
    return S_OK;
}

}  // namespace platform::win32
