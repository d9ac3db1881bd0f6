#include "TestBrowser.h"

#include <olectl.h>

using Microsoft::WRL::ComPtr;

namespace zrtest {

ComPtr<TestBrowser> TestBrowser::Make() { return ComPtr<TestBrowser>(new TestBrowser()); }

STDMETHODIMP TestBrowser::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser) ||
        IsEqualIID(iid, IID_IWebBrowserApp) || IsEqualIID(iid, IID_IWebBrowser2))
        *object = static_cast<IWebBrowser2*>(this);
    else if (IsEqualIID(iid, IID_IConnectionPointContainer))
        *object = static_cast<IConnectionPointContainer*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TestBrowser::Release() {
    const ULONG left = --refs_;
    if (!left) delete this;
    return left;
}

STDMETHODIMP TestBrowser::ShowBrowserBar(VARIANT* classId, VARIANT* show, VARIANT* size) {
    BarRequest request;
    if (classId && classId->vt == VT_BSTR && classId->bstrVal) {
        for (const wchar_t* c = classId->bstrVal; *c; ++c) request.classId += static_cast<char>(*c);
    }
    if (show) {
        request.showType = show->vt;
        request.show = show->vt == VT_BOOL && show->boolVal == VARIANT_TRUE;
    }
    if (size) {
        request.sizeType = size->vt;
        if (size->vt == VT_I4) request.size = size->lVal;
    }
    bars_.push_back(request);
    return S_OK;
}

STDMETHODIMP TestBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(iid, kBrowserEvents)) return CONNECT_E_NOCONNECTION;
    *point = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP TestBrowser::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = kBrowserEvents;
    return S_OK;
}

STDMETHODIMP TestBrowser::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = static_cast<IConnectionPointContainer*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP TestBrowser::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    ComPtr<IDispatch> events;
    // As the real browser does: the sink must answer for the events interface.
    if (FAILED(sink->QueryInterface(kBrowserEvents, reinterpret_cast<void**>(events.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_[*cookie] = events;
    return S_OK;
}

STDMETHODIMP TestBrowser::Unadvise(DWORD cookie) {
    if (!sinks_.erase(cookie)) {
        ++badUnadvises_;
        return CONNECT_E_NOCONNECTION;
    }
    unadvised_.push_back(cookie);
    return S_OK;
}

HRESULT TestBrowser::Fire(DISPID id, DISPPARAMS& params) {
    HRESULT result = S_OK;
    const auto sinks = sinks_;  // a sink may unadvise while it handles the event
    for (const auto& [cookie, sink] : sinks)
        result = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    return result;
}

HRESULT TestBrowser::NewWindow2(VARIANT_BOOL& cancel, const std::vector<DISPID>& namedOrder) {
    IDispatch* newWindow = nullptr;
    VARIANT window, flag;
    ::VariantInit(&window);
    ::VariantInit(&flag);
    window.vt = VT_BYREF | VT_DISPATCH;
    window.ppdispVal = &newWindow;
    flag.vt = VT_BYREF | VT_BOOL;
    flag.pboolVal = &cancel;
    VARIANT args[2];
    std::vector<DISPID> named = namedOrder;
    if (named.empty()) {
        args[0] = flag;  // last-first
        args[1] = window;
    } else {
        for (std::size_t j = 0; j < named.size(); ++j) args[j] = named[j] == 0 ? window : flag;
    }
    DISPPARAMS params{args, named.empty() ? nullptr : named.data(), 2, static_cast<UINT>(named.size())};
    return Fire(251, params);
}

HRESULT TestBrowser::Quit() {
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    return Fire(253, params);
}

STDMETHODIMP NotABrowser::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

}  // namespace zrtest
