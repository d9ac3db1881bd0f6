#pragma once
// The class factory of the helper object.
#include <atomic>

#include "platform/win32/Win32Api.h"

#include <unknwn.h>

namespace popupblocker::win32 {

class TIEBrowserHelperFactory final : public IClassFactory {
public:
    static HRESULT Create(REFIID iid, void** object);
    // The class with its server and threading model, and the browser's helper-object key.
    static bool UpdateRegistry(bool doRegister);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

protected:
    TIEBrowserHelperFactory() = default;
    ~TIEBrowserHelperFactory() = default;

private:
    std::atomic<ULONG> refs_{1};  // references held by callers
};

}  // namespace popupblocker::win32
