#include "popupblocker/win32/TIEBrowserHelper.h"

#include <new>
#include <string>
#include <vector>

#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "popupblocker/BHOAppHelper.h"
#include "popupblocker/BHOEvents.h"
#include "popupblocker/BHORegistration.h"
#include "popupblocker/win32/BHOServer.h"
#include "platform/win32/Win32Browser.h"
#include "runtime/DispArgs.h"

using Microsoft::WRL::ComPtr;

namespace popupblocker::win32 {
namespace {

// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
constexpr IID kBrowserEvents = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

void Check(HRESULT result, const char* what) {
    if (FAILED(result)) foundation::RaiseErrorFmt("%s failed (%x)", {std::string(what), static_cast<unsigned>(result)});
}

// A call that hands out an interface may also succeed and hand out nothing.
template <class Face>
void CheckInterface(HRESULT result, const ComPtr<Face>& object, const char* what) {
    Check(result, what);
    if (!object) foundation::RaiseError(std::string(what) + " is missing");
}

// Owns a VARIANT.
struct VariantHolder {
    VARIANT value;
    VariantHolder() { ::VariantInit(&value); }
    ~VariantHolder() { ::VariantClear(&value); }
    VariantHolder(const VariantHolder&) = delete;
    VariantHolder& operator=(const VariantHolder&) = delete;
};

// The parameter block of one Invoke in the event's own argument order.
class DispatchEventContext final : public IEventContext {
public:
    DispatchEventContext(DISPPARAMS* params, TIEBrowserHelper& helper) : params_(params), helper_(helper) {
        if (params_ && params_->rgvarg) {
            std::vector<int> named;
            if (params_->rgdispidNamedArgs)
                for (UINT j = 0; j < params_->cNamedArgs; ++j) named.push_back(params_->rgdispidNamedArgs[j]);
            map_ = rt::MapArguments(params_->cArgs, named);
        }
    }

    std::size_t ArgumentCount() override { return map_.size(); }

    std::string ArgumentText(std::size_t index) override {
        VariantHolder copy, text;
        Check(::VariantCopyInd(&copy.value, &Argument(index)), "VariantCopyInd");
        Check(::VariantChangeType(&text.value, &copy.value, 0, VT_BSTR), "VariantChangeType");
        return platform::win32::AnsiFromWide(text.value.bstrVal, ::SysStringLen(text.value.bstrVal));
    }

    void SetFlagArgument(std::size_t index, bool value) override {
        VARIANT& argument = Argument(index);
        const VARIANT_BOOL flag = value ? VARIANT_TRUE : VARIANT_FALSE;
        if (argument.vt == (VT_BYREF | VT_BOOL) && argument.pboolVal) {
            *argument.pboolVal = flag;
        } else if (argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal && argument.pvarVal->vt == VT_BOOL) {
            argument.pvarVal->boolVal = flag;
        } else {
            foundation::RaiseError("The cancel argument is not a boolean by reference");
        }
    }

    void EndConnection() override { helper_.EndConnection(); }

private:
    VARIANT& Argument(std::size_t index) {
        foundation::RaiseErrorIf(index >= map_.size(), "Too few event arguments");
        return params_->rgvarg[map_[index]];
    }

    DISPPARAMS* params_;
    TIEBrowserHelper& helper_;
    std::vector<std::size_t> map_;
};

}  // namespace

HRESULT TIEBrowserHelper::Create(REFIID iid, void** object) {
    auto* helper = new (std::nothrow) TIEBrowserHelper();
    if (!helper) return E_OUTOFMEMORY;
    const HRESULT result = helper->QueryInterface(iid, object);
    helper->Release();
    return result;
}

TIEBrowserHelper::TIEBrowserHelper() { ObjectCreated(); }

TIEBrowserHelper::~TIEBrowserHelper() {
    try {
        foundation::BugWatcher().Log("DESTROY TIEBrowserHelper");
        EndConnection();
    } catch (...) {
    }
    ObjectDestroyed();
}

void TIEBrowserHelper::EndConnection() {
    if (connection_) {
        connection_->Unadvise(cookie_);
        connection_.Reset();
        cookie_ = 0;
    }
}

// IUnknown

STDMETHODIMP TIEBrowserHelper::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    struct Entry {
        const IID* iid;
        void* face;
    };
    const Entry kInterfaces[] = {
        {&IID_IUnknown, static_cast<IObjectWithSite*>(this)},
        {&IID_IObjectWithSite, static_cast<IObjectWithSite*>(this)},
        {&IID_IDispatch, static_cast<IDispatch*>(this)},
        {&kBrowserEvents, static_cast<IDispatch*>(this)},  // the browser asks its sink for the events interface
    };
    for (const Entry& entry : kInterfaces) {
        if (IsEqualIID(iid, *entry.iid)) {
            *object = entry.face;
            AddRef();
            return S_OK;
        }
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TIEBrowserHelper::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) TIEBrowserHelper::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

// IObjectWithSite

STDMETHODIMP TIEBrowserHelper::SetSite(IUnknown* site) {
    try {
        // Each helper ends only its own connection: re-siting, or a browser
        // letting go of a window that never sent its quit.
        EndConnection();
        if (!site) {
            browser_.Reset();
            return S_OK;
        }
        browser_.Reset();
        CheckInterface(site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser_.GetAddressOf())),
                       browser_, "The site's IWebBrowser2");
        ComPtr<IConnectionPointContainer> container;
        CheckInterface(browser_.As(&container), container, "IConnectionPointContainer");
        ComPtr<IConnectionPoint> connection;
        CheckInterface(container->FindConnectionPoint(kBrowserEvents, &connection), connection, "FindConnectionPoint");
        DWORD cookie = 0;
        Check(connection->Advise(static_cast<IDispatch*>(this), &cookie), "Advise");
        connection_ = connection;
        cookie_ = cookie;
        if (foundation::IsFirstTime()) DoShowBrowserBar(site, BandClassId, true);
    } catch (const std::exception& error) {
        ReportException("SetSite", error);
    } catch (...) {
    }
    return S_OK;
}

STDMETHODIMP TIEBrowserHelper::GetSite(REFIID iid, void** site) {
    if (site) *site = nullptr;
    return S_OK;
}

// IDispatch

STDMETHODIMP TIEBrowserHelper::Invoke(DISPID dispId, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                      VARIANT* result, EXCEPINFO* exceptionInfo, UINT* argError) {
    // The event may be our quit, whose unadvise can drop the browser's reference to us.
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    try {
        DispatchEventContext context(params, *this);
        return HandleBrowserEvent(dispId, context) == EventResult::Handled ? S_OK : DISP_E_MEMBERNOTFOUND;
    } catch (const std::exception& error) {
        ReportException("Invoke", error);
    } catch (...) {
    }
    return S_OK;
}

bool DoShowBrowserBar(IUnknown* site, const char* classIdText, bool show) {
    try {
        foundation::RaiseErrorIf(site == nullptr, "No site");
        ComPtr<IWebBrowser2> browser;
        CheckInterface(site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser.GetAddressOf())),
                       browser, "The site's IWebBrowser2");
        std::wstring wide(classIdText, classIdText + std::char_traits<char>::length(classIdText));
        VariantHolder classId, visible, size;
        classId.value.vt = VT_BSTR;
        classId.value.bstrVal = ::SysAllocString(wide.c_str());
        visible.value.vt = VT_BOOL;
        visible.value.boolVal = show ? VARIANT_TRUE : VARIANT_FALSE;
        size.value.vt = VT_I4;
        size.value.lVal = 0;
        Check(browser->ShowBrowserBar(&classId.value, &visible.value, &size.value), "ShowBrowserBar");
        return true;
    } catch (const std::exception& error) {
        ReportException("DoShowBrowserBar", error);
    } catch (...) {
    }
    return false;
}

}  // namespace popupblocker::win32
