#pragma once
// The helper object the browser creates for each of its windows: it connects
// to that window's events and hands them to the popup logic.
#include <atomic>

#include "platform/win32/EventsDispatch.h"
#include "platform/win32/Win32Api.h"

#include <exdisp.h>
#include <ocidl.h>
#include <wrl/client.h>

namespace popupblocker::win32 {

class TIEBrowserHelper final : public IObjectWithSite, public platform::win32::TEventsDispatch {
public:
    static HRESULT Create(REFIID iid, void** object);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** site) override;

    // IDispatch
    STDMETHODIMP Invoke(DISPID dispId, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exceptionInfo, UINT* argError) override;

    // Ends this helper's own events connection, when it has one.
    void EndConnection();

protected:
    TIEBrowserHelper();
    ~TIEBrowserHelper();

private:
    std::atomic<ULONG> refs_{1};                              // references held by callers
    Microsoft::WRL::ComPtr<IWebBrowser2> browser_;           // the window's browser, from SetSite
    Microsoft::WRL::ComPtr<IConnectionPoint> connection_;    // this helper's events connection
    DWORD cookie_ = 0;                                        // its Advise number
};

// Asks the site's browser to show (or hide) the bar of that class; false when it failed.
bool DoShowBrowserBar(IUnknown* site, const char* classIdText, bool show);

}  // namespace popupblocker::win32
