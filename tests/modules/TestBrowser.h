#pragma once
// A browser window of the test's own: the helper's site, with the events
// connection point, a record of ShowBrowserBar and the events it fires.
#include <map>
#include <string>
#include <vector>

#include <ocidl.h>
#include <wrl/client.h>

#include "WebBrowserStub.h"

namespace zrtest {

// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr IID kBrowserEvents = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

class TestBrowser final : public WebBrowserStub, public IConnectionPointContainer, public IConnectionPoint {
public:
    struct BarRequest {
        std::string classId;
        VARTYPE showType = VT_EMPTY;
        bool show = false;
        VARTYPE sizeType = VT_EMPTY;
        long size = -1;
    };

    static Microsoft::WRL::ComPtr<TestBrowser> Make();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override;

    // IWebBrowser2 (the rest answers E_NOTIMPL)
    STDMETHODIMP ShowBrowserBar(VARIANT* classId, VARIANT* show, VARIANT* size) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override { return E_NOTIMPL; }

    // Events to every connected sink; the result of the last sink.
    HRESULT Fire(DISPID id, DISPPARAMS& params);
    // NewWindow2(ppDisp, Cancel): positional, or named in the given order of argument numbers.
    HRESULT NewWindow2(VARIANT_BOOL& cancel, const std::vector<DISPID>& namedOrder = {});
    HRESULT Quit();

    std::size_t Sinks() const { return sinks_.size(); }
    const std::vector<DWORD>& Unadvised() const { return unadvised_; }
    int BadUnadvises() const { return badUnadvises_; }
    const std::vector<BarRequest>& BarRequests() const { return bars_; }

private:
    TestBrowser() = default;
    ULONG refs_ = 0;
    std::map<DWORD, Microsoft::WRL::ComPtr<IDispatch>> sinks_;
    DWORD nextCookie_ = 1;
    std::vector<DWORD> unadvised_;
    int badUnadvises_ = 0;
    std::vector<BarRequest> bars_;
};

// An object that is no browser, to site the helper on.
class NotABrowser final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (!left) delete this;
        return left;
    }

private:
    ULONG refs_ = 0;
};

}  // namespace zrtest
