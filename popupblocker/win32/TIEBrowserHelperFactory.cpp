#include "popupblocker/win32/TIEBrowserHelperFactory.h"

#include <new>

#include "platform/Services.h"
#include "popupblocker/BHORegistration.h"
#include "popupblocker/win32/BHOServer.h"
#include "popupblocker/win32/TIEBrowserHelper.h"

namespace popupblocker::win32 {

HRESULT TIEBrowserHelperFactory::Create(REFIID iid, void** object) {
    auto* factory = new (std::nothrow) TIEBrowserHelperFactory();
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

bool TIEBrowserHelperFactory::UpdateRegistry(bool doRegister) {
    return UpdateHelperRegistry(doRegister, platform::Module().FileName());
}

// IUnknown

STDMETHODIMP TIEBrowserHelperFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    static const IID* const kInterfaces[] = {&IID_IUnknown, &IID_IClassFactory};
    for (const IID* known : kInterfaces) {
        if (IsEqualIID(iid, *known)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TIEBrowserHelperFactory::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) TIEBrowserHelperFactory::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

// IClassFactory

STDMETHODIMP TIEBrowserHelperFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return TIEBrowserHelper::Create(iid, object);
}

STDMETHODIMP TIEBrowserHelperFactory::LockServer(BOOL lock) {
    if (lock)
        ObjectCreated();
    else
        ObjectDestroyed();
    return S_OK;
}

}  // namespace popupblocker::win32
