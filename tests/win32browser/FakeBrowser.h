#pragma once
// A small browser of the test's own behind the real automation interfaces:
// IWebBrowser2, a document with IHTMLDocument2, IOleContainer and
// IPersistStreamInit, its IHTMLWindow2, and embedded objects. It records
// what reaches it as the interfaces deliver it (wide strings, variants,
// safe arrays), and fires events through its connection point.
#include <map>
#include <string>
#include <vector>

#include <ocidl.h>
#include <oleidl.h>
#include <wrl/client.h>

#include "ComStubs.h"

namespace zrtest {

using Microsoft::WRL::ComPtr;

// Reference counting shared by the fakes; objects start with one reference.
class RefCounted {
public:
    virtual ~RefCounted() = default;

protected:
    ULONG AddRefImpl() { return ++refs_; }
    ULONG ReleaseImpl() {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    ULONG refs_ = 1;
};

#define ZR_REFCOUNT                                                            \
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }         \
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

std::wstring BstrText(BSTR text);

// An embedded control that is not a browser.
class FakePlugin : public IUnknown, public RefCounted {
public:
    ZR_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
};

class FakeWindow : public StubHTMLWindow2, public RefCounted {
public:
    struct Script {
        std::wstring code, language;
    };
    ZR_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    HRESULT STDMETHODCALLTYPE execScript(BSTR code, BSTR language, VARIANT* result) override;

    std::vector<Script> scripts;  // run scripts
    bool scriptsFail = false;     // every script is a script error
};

class FakeDocument : public StubHTMLDocument2, public IOleContainer, public IPersistStreamInit, public RefCounted {
public:
    FakeDocument();
    ZR_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;

    // IHTMLDocument2
    HRESULT STDMETHODCALLTYPE get_parentWindow(IHTMLWindow2** window) override;
    HRESULT STDMETHODCALLTYPE write(SAFEARRAY* lines) override;
    HRESULT STDMETHODCALLTYPE close() override;

    // IParseDisplayName, IOleContainer
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD flags, IEnumUnknown** objects) override;
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override { return E_NOTIMPL; }

    // IPersist, IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override { return E_NOTIMPL; }

    ComPtr<FakeWindow> window;                 // the parentWindow
    std::string source;                        // the bytes Save writes
    bool canSave = true;
    bool isContainer = true;                   // false: no IOleContainer
    bool isHtml = true;                        // false: no IHTMLDocument2 (another kind of document)
    std::vector<ComPtr<IUnknown>> embedded;    // frames and plug-ins, in order
    std::vector<std::wstring> written;         // the strings of each write
    int closes = 0;
    DWORD enumFlags = 0;                       // the flags of the last EnumObjects
};

// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr IID kBrowserEvents = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

// The browser's events: its connection point container with the one point,
// for DWebBrowserEvents2, which keeps what was advised (asking it for the
// events interface as the real browser does). A separate object from the
// browser, so that the browser stays one plain IUnknown for conversions.
class FakeEvents : public IConnectionPointContainer, public IConnectionPoint, public RefCounted {
public:
    ZR_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // Invoke on every advised sink; the last sink's answer.
    HRESULT Fire(DISPID id, DISPPARAMS* params, WORD flags = DISPATCH_METHOD, EXCEPINFO* info = nullptr,
                 UINT* argError = nullptr);

    std::map<DWORD, ComPtr<IDispatch>> sinks;  // by cookie
    std::vector<DWORD> unadvised;              // cookies, in order
    bool hasPoint = true;                      // false: FindConnectionPoint finds none
    bool failAdvise = false;
    bool failUnadvise = false;                 // Unadvise fails and the sink is kept

private:
    DWORD nextCookie_ = 1;
};

class FakeBrowser : public StubWebBrowser2, public RefCounted {
public:
    struct Navigation {
        std::wstring url;
        std::vector<VARTYPE> optionalTypes;  // flags, target, post data, headers
        std::vector<LONG> optionalInts;      // their values where VT_I4
        VARTYPE arrayElementType = VT_EMPTY; // of the post data's safe array
        LONG lowerBound = -1, upperBound = -1;
        std::string postBytes;
        std::wstring headers;
    };
    struct Bar {
        VARTYPE clsidType, showType, sizeType;
        std::wstring clsid;
        VARIANT_BOOL show;
        LONG size;
    };

    FakeBrowser();
    ZR_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;

    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT* level) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override;
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* busy) override;
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* state) override;
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override;
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* handle) override;
    HRESULT STDMETHODCALLTYPE put_Left(LONG value) override;
    HRESULT STDMETHODCALLTYPE put_Top(LONG value) override;
    HRESULT STDMETHODCALLTYPE put_Width(LONG value) override;
    HRESULT STDMETHODCALLTYPE put_Height(LONG value) override;
    HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT* clsid, VARIANT* show, VARIANT* size) override;

    ComPtr<FakeEvents> events;      // its IConnectionPointContainer; null: none
    ComPtr<FakeDocument> document;  // null: no page
    std::wstring locationUrl, locationName;
    VARIANT_BOOL busy = VARIANT_FALSE;
    READYSTATE readyState = READYSTATE_COMPLETE;
    SHANDLE_PTR hwnd = 0x1234;
    bool failNavigation = false;

    std::vector<std::wstring> calls;  // "Stop", "Navigate", "Navigate2", "Left=0", ... in order
    std::vector<Navigation> navigations;
    std::vector<LONG> refreshLevels;
    std::vector<VARTYPE> refreshTypes;
    std::vector<Bar> bars;
};

// A fake made with `new`, owned by the returned reference.
template <class T>
ComPtr<T> Make() {
    ComPtr<T> object;
    object.Attach(new T());
    return object;
}

}  // namespace zrtest
