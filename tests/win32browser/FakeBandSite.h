#pragma once
// A band site of our own, as a browser window hands it to a toolbar band:
// its window, focus notices and band commands, and the window's browser as
// a service. Records what the band tells it.
#include <vector>

#include <ocidl.h>
#include <oleidl.h>
#include <servprov.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "FakeBrowser.h"

namespace zrtest {

// {0002DF05-0000-0000-C000-000000000046}: the service of the window's IWebBrowser2.
inline constexpr GUID kWebBrowserApp = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The browser's band site: its window, focus notices and band commands, and
// the browser window's browser as a service. Each interface can be left out.
class FakeBandSite final : public IOleWindow, public IInputObjectSite, public IOleCommandTarget, public IServiceProvider {
public:
    struct Command {
        GUID group;
        DWORD id;
        VARTYPE type;
        LONG band;
    };
    struct Faces {
        bool window = true, focus = true, commands = true, services = true;
    };

    FakeBandSite(HWND window, ComPtr<FakeBrowser> browser) : window_(window), browser_(std::move(browser)) {}
    FakeBandSite(HWND window, ComPtr<FakeBrowser> browser, Faces faces)
        : window_(window), browser_(std::move(browser)), faces_(faces) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown)) *object = static_cast<IOleWindow*>(this);
        else if (IsEqualIID(iid, IID_IOleWindow) && faces_.window) *object = static_cast<IOleWindow*>(this);
        else if (IsEqualIID(iid, IID_IInputObjectSite) && faces_.focus) *object = static_cast<IInputObjectSite*>(this);
        else if (IsEqualIID(iid, IID_IOleCommandTarget) && faces_.commands) *object = static_cast<IOleCommandTarget*>(this);
        else if (IsEqualIID(iid, IID_IServiceProvider) && faces_.services) *object = static_cast<IServiceProvider*>(this);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives on the test's stack

    STDMETHODIMP GetWindow(HWND* window) override {
        *window = window_;
        return window_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    STDMETHODIMP OnFocusChangeIS(IUnknown* from, BOOL gained) override {
        focusChanges.push_back(gained != FALSE);
        focusFrom = from;
        return S_OK;
    }

    STDMETHODIMP QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*) override { return E_NOTIMPL; }
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT*) override {
        commands.push_back({group ? *group : GUID{}, id, in ? in->vt : VARTYPE(VT_EMPTY), in && in->vt == VT_I4 ? in->lVal : -1});
        return S_OK;
    }

    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override {
        *object = nullptr;
        if (!IsEqualGUID(service, kWebBrowserApp) || !browser_) return E_NOINTERFACE;
        return browser_->QueryInterface(iid, object);
    }

    ULONG References() const { return refs_; }

    std::vector<bool> focusChanges;
    IUnknown* focusFrom = nullptr;
    std::vector<Command> commands;

private:
    HWND window_;
    ComPtr<FakeBrowser> browser_;
    Faces faces_;
    ULONG refs_ = 0;
};

}  // namespace zrtest
