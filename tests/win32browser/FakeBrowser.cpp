// The test's own browser objects.
#include "FakeBrowser.h"

#include <cstring>

#include <olectl.h>

namespace zrtest {
namespace {

BSTR AllocText(const std::wstring& text) { return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

template <class I, class T>
HRESULT Hand(T* self, void** out) {
    *out = static_cast<I*>(self);
    self->AddRef();
    return S_OK;
}

class FakeEnum : public IEnumUnknown, public RefCounted {
public:
    explicit FakeEnum(std::vector<ComPtr<IUnknown>> items) : items_(std::move(items)) {}
    ZR_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IEnumUnknown) return Hand<IEnumUnknown>(this, out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IUnknown** items, ULONG* fetched) override {
        ULONG n = 0;
        while (n < count && next_ < items_.size()) {
            items[n] = items_[next_++].Get();
            items[n++]->AddRef();
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next_ += count;
        return next_ <= items_.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumUnknown**) override { return E_NOTIMPL; }

private:
    std::vector<ComPtr<IUnknown>> items_;
    std::size_t next_ = 0;
};

}  // namespace

std::wstring BstrText(BSTR text) { return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(); }

// ---- FakePlugin

HRESULT FakePlugin::QueryInterface(REFIID riid, void** out) {
    if (riid == IID_IUnknown) return Hand<IUnknown>(this, out);
    *out = nullptr;
    return E_NOINTERFACE;
}

// ---- FakeWindow

HRESULT FakeWindow::QueryInterface(REFIID riid, void** out) {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLFramesCollection2 || riid == IID_IHTMLWindow2)
        return Hand<IHTMLWindow2>(this, out);
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeWindow::execScript(BSTR code, BSTR language, VARIANT* result) {
    if (scriptsFail) return DISP_E_EXCEPTION;
    scripts.push_back({BstrText(code), BstrText(language)});
    if (result) {
        result->vt = VT_BSTR;  // a result the caller must free
        result->bstrVal = AllocText(L"done");
    }
    return S_OK;
}

// ---- FakeDocument

FakeDocument::FakeDocument() : window(Make<FakeWindow>()) {}

HRESULT FakeDocument::QueryInterface(REFIID riid, void** out) {
    if (riid == IID_IUnknown || riid == IID_IDispatch) return Hand<IHTMLDocument2>(this, out);
    if (isHtml && (riid == IID_IHTMLDocument || riid == IID_IHTMLDocument2)) return Hand<IHTMLDocument2>(this, out);
    if (isContainer && (riid == IID_IParseDisplayName || riid == IID_IOleContainer)) return Hand<IOleContainer>(this, out);
    if (riid == IID_IPersist || riid == IID_IPersistStreamInit) return Hand<IPersistStreamInit>(this, out);
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeDocument::get_parentWindow(IHTMLWindow2** out) {
    *out = window.Get();
    if (*out) (*out)->AddRef();
    return S_OK;
}

HRESULT FakeDocument::write(SAFEARRAY* lines) {
    if (!lines || ::SafeArrayGetDim(lines) != 1) return E_INVALIDARG;
    VARTYPE type = VT_EMPTY;
    ::SafeArrayGetVartype(lines, &type);
    if (type != VT_VARIANT) return E_INVALIDARG;
    LONG low = 0, high = -1;
    ::SafeArrayGetLBound(lines, 1, &low);
    ::SafeArrayGetUBound(lines, 1, &high);
    for (LONG i = low; i <= high; ++i) {
        VARIANT line;
        ::VariantInit(&line);
        ::SafeArrayGetElement(lines, &i, &line);
        written.push_back(line.vt == VT_BSTR ? BstrText(line.bstrVal) : L"<not a string>");
        ::VariantClear(&line);
    }
    return S_OK;
}

HRESULT FakeDocument::close() {
    ++closes;
    return S_OK;
}

HRESULT FakeDocument::EnumObjects(DWORD flags, IEnumUnknown** objects) {
    enumFlags = flags;
    *objects = new FakeEnum(embedded);
    return S_OK;
}

HRESULT FakeDocument::Save(IStream* stream, BOOL) {
    if (!canSave) return E_FAIL;
    ULONG written = 0;
    return stream->Write(source.data(), static_cast<ULONG>(source.size()), &written);
}

// ---- FakeBrowser

FakeBrowser::FakeBrowser() : events(Make<FakeEvents>()), document(Make<FakeDocument>()) {}

HRESULT FakeBrowser::QueryInterface(REFIID riid, void** out) {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp ||
        riid == IID_IWebBrowser2)
        return Hand<IWebBrowser2>(this, out);
    if (riid == IID_IConnectionPointContainer && events) return Hand<IConnectionPointContainer>(events.Get(), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

// ---- FakeEvents

HRESULT FakeEvents::QueryInterface(REFIID riid, void** out) {
    if (riid == IID_IUnknown || riid == IID_IConnectionPointContainer)
        return Hand<IConnectionPointContainer>(this, out);
    if (riid == IID_IConnectionPoint) return Hand<IConnectionPoint>(this, out);
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeEvents::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    *point = nullptr;
    if (!hasPoint || iid != kBrowserEvents) return CONNECT_E_NOCONNECTION;
    return Hand<IConnectionPoint>(this, reinterpret_cast<void**>(point));
}

HRESULT FakeEvents::GetConnectionInterface(IID* iid) {
    *iid = kBrowserEvents;
    return S_OK;
}

HRESULT FakeEvents::GetConnectionPointContainer(IConnectionPointContainer** container) {
    return Hand<IConnectionPointContainer>(this, reinterpret_cast<void**>(container));
}

HRESULT FakeEvents::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    if (failAdvise) return CONNECT_E_ADVISELIMIT;
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(kBrowserEvents, reinterpret_cast<void**>(events.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks[*cookie] = events;
    return S_OK;
}

HRESULT FakeEvents::Unadvise(DWORD cookie) {
    if (failUnadvise || !sinks.erase(cookie)) return CONNECT_E_NOCONNECTION;
    unadvised.push_back(cookie);
    return S_OK;
}

HRESULT FakeEvents::Fire(DISPID id, DISPPARAMS* params, WORD flags, EXCEPINFO* info, UINT* argError) {
    HRESULT result = S_OK;
    const auto advised = sinks;  // a sink may unadvise while it handles the event
    for (const auto& [cookie, sink] : advised)
        result = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, nullptr, info, argError);
    return result;
}

namespace {

void RecordOptional(FakeBrowser::Navigation& n, VARIANT* v) {
    n.optionalTypes.push_back(v ? v->vt : static_cast<VARTYPE>(VT_ERROR));
    n.optionalInts.push_back(v && v->vt == VT_I4 ? v->lVal : -1);
}

}  // namespace

HRESULT FakeBrowser::Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) {
    calls.push_back(L"Navigate");
    if (failNavigation) return E_FAIL;
    Navigation n;
    n.url = BstrText(url);
    for (VARIANT* v : {flags, target, post, headers}) RecordOptional(n, v);
    navigations.push_back(n);
    return S_OK;
}

HRESULT FakeBrowser::Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) {
    calls.push_back(L"Navigate2");
    if (failNavigation) return E_FAIL;
    Navigation n;
    n.url = url && url->vt == VT_BSTR ? BstrText(url->bstrVal) : L"<not a string>";
    for (VARIANT* v : {flags, target, post, headers}) RecordOptional(n, v);
    if (post && (post->vt & VT_ARRAY) && post->parray) {
        SAFEARRAY* bytes = post->parray;
        ::SafeArrayGetVartype(bytes, &n.arrayElementType);
        ::SafeArrayGetLBound(bytes, 1, &n.lowerBound);
        ::SafeArrayGetUBound(bytes, 1, &n.upperBound);
        void* data = nullptr;
        if (SUCCEEDED(::SafeArrayAccessData(bytes, &data))) {
            n.postBytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(n.upperBound - n.lowerBound + 1));
            ::SafeArrayUnaccessData(bytes);
        }
    }
    if (headers && headers->vt == VT_BSTR) n.headers = BstrText(headers->bstrVal);
    navigations.push_back(n);
    return S_OK;
}

HRESULT FakeBrowser::Stop() {
    calls.push_back(L"Stop");
    return S_OK;
}

HRESULT FakeBrowser::Refresh2(VARIANT* level) {
    refreshTypes.push_back(level ? level->vt : static_cast<VARTYPE>(VT_ERROR));
    refreshLevels.push_back(level && level->vt == VT_I4 ? level->lVal : -1);
    return S_OK;
}

HRESULT FakeBrowser::get_LocationURL(BSTR* url) {
    *url = AllocText(locationUrl);
    return S_OK;
}

HRESULT FakeBrowser::get_LocationName(BSTR* name) {
    *name = AllocText(locationName);
    return S_OK;
}

HRESULT FakeBrowser::get_Busy(VARIANT_BOOL* value) {
    *value = busy;
    return S_OK;
}

HRESULT FakeBrowser::get_ReadyState(READYSTATE* state) {
    *state = readyState;
    return S_OK;
}

HRESULT FakeBrowser::get_Document(IDispatch** out) {
    *out = document.Get();
    if (*out) (*out)->AddRef();
    return S_OK;
}

HRESULT FakeBrowser::get_HWND(SHANDLE_PTR* handle) {
    *handle = hwnd;
    return S_OK;
}

HRESULT FakeBrowser::put_Left(LONG value) {
    calls.push_back(L"Left=" + std::to_wstring(value));
    return S_OK;
}
HRESULT FakeBrowser::put_Top(LONG value) {
    calls.push_back(L"Top=" + std::to_wstring(value));
    return S_OK;
}
HRESULT FakeBrowser::put_Width(LONG value) {
    calls.push_back(L"Width=" + std::to_wstring(value));
    return S_OK;
}
HRESULT FakeBrowser::put_Height(LONG value) {
    calls.push_back(L"Height=" + std::to_wstring(value));
    return S_OK;
}

HRESULT FakeBrowser::ShowBrowserBar(VARIANT* clsid, VARIANT* show, VARIANT* size) {
    Bar bar{clsid->vt, show->vt, size->vt, clsid->vt == VT_BSTR ? BstrText(clsid->bstrVal) : L"",
            show->vt == VT_BOOL ? show->boolVal : VARIANT_BOOL(7), size->vt == VT_I4 ? size->lVal : -1};
    bars.push_back(bar);
    return S_OK;
}

}  // namespace zrtest
