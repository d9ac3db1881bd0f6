#include "toolbar/win32/TToolbarBand.h"

#include <new>

#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "platform/win32/Win32Browser.h"
#include "runtime/Dialogs.h"
#include "toolbar/BandForm.h"
#include "toolbar/win32/BandServer.h"

using Microsoft::WRL::ComPtr;

namespace toolbar::win32 {
namespace {

// {EB0FE172-1A3A-11D0-89B3-00A0C90A90AC}: the desk-band command group.
constexpr GUID kDeskBandCommands = {0xEB0FE172, 0x1A3A, 0x11D0, {0x89, 0xB3, 0x00, 0xA0, 0xC9, 0x0A, 0x90, 0xAC}};
// {0002DF05-0000-0000-C000-000000000046}: the service of the browser window's IWebBrowser2.
constexpr GUID kWebBrowserApp = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DWORD kBandInfoChanged = 0;  // DBID_BANDINFOCHANGED
constexpr DWORD kMaximizeBand = 2;     // DBID_MAXIMIZEBAND
constexpr const char* kBandProperty = "ZephyraToolbarBand";

// Nothing raised in the band may cross into the browser.
template <class Action>
HRESULT Guarded(const char* what, Action action) {
    try {
        return action();
    } catch (const std::exception& error) {
        ReportBandError(what, error);
    } catch (...) {
    }
    return E_FAIL;
}

}  // namespace

HRESULT TToolbarBand::Create(REFIID iid, void** object) {
    auto* band = new (std::nothrow) TToolbarBand();
    if (!band) return E_OUTOFMEMORY;
    const HRESULT result = band->QueryInterface(iid, object);
    band->Release();
    return result;
}

TToolbarBand::TToolbarBand() { BandObjectCreated(); }

TToolbarBand::~TToolbarBand() {
    try {
        DestroyForm();
    } catch (...) {
    }
    site_.Reset();
    commandTarget_.Reset();
    browser_.Reset();
    BandObjectDestroyed();
}

// ------------------------------------------------------------ IUnknown

STDMETHODIMP TToolbarBand::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    struct Entry {
        const IID* iid;
        void* face;
    };
    // IOleWindow and IDockingWindow are reached through IDeskBand only, as the browser asks.
    const Entry kInterfaces[] = {
        {&IID_IUnknown, static_cast<IDeskBand*>(this)},
        {&IID_IInputObject, static_cast<IInputObject*>(this)},
        {&IID_IContextMenu, static_cast<IContextMenu*>(this)},
        {&IID_IObjectWithSite, static_cast<IObjectWithSite*>(this)},
        {&IID_IPersistStreamInit, static_cast<IPersistStreamInit*>(this)},
        {&IID_IPersist, static_cast<IPersistStreamInit*>(this)},
        {&IID_IDeskBand, static_cast<IDeskBand*>(this)},
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

STDMETHODIMP_(ULONG) TToolbarBand::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) TToolbarBand::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

// ------------------------------------------------------------ IDeskBand

STDMETHODIMP TToolbarBand::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = nullptr;
    return Guarded("GetWindow", [&] {
        if (!form_) CreateForm();
        *window = FormWindow();
        return *window ? S_OK : E_FAIL;
    });
}

STDMETHODIMP TToolbarBand::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP TToolbarBand::ShowDW(BOOL show) {
    return Guarded("ShowDW", [&] {
        foundation::SetToolbarVisible(show != FALSE);
        if (focus_.Show(show != FALSE)) NotifyFocusChange(show != FALSE);
        return S_OK;
    });
}

STDMETHODIMP TToolbarBand::CloseDW(DWORD) {
    return Guarded("CloseDW", [&] {
        DestroyForm();
        return S_OK;
    });
}

STDMETHODIMP TToolbarBand::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP TToolbarBand::GetBandInfo(DWORD bandId, DWORD, DESKBANDINFO* info) {
    bandId_ = bandId;
    if (!info) return E_POINTER;
    return Guarded("GetBandInfo", [&] {
        TBandInfo band;
        band.mask = info->dwMask;
        band.minSize = {info->ptMinSize.x, info->ptMinSize.y};
        band.maxSize = {info->ptMaxSize.x, info->ptMaxSize.y};
        band.integral = {info->ptIntegral.x, info->ptIntegral.y};
        band.actual = {info->ptActual.x, info->ptActual.y};
        band.modeFlags = info->dwModeFlags;
        RECT area{};
        if (HWND window = FormWindow()) ::GetClientRect(window, &area);
        FillBandInfo(band, area.right, area.bottom, foundation::IsFirstTime());
        info->dwMask = band.mask;
        info->ptMinSize = {band.minSize.x, band.minSize.y};
        info->ptMaxSize = {band.maxSize.x, band.maxSize.y};
        info->ptIntegral = {band.integral.x, band.integral.y};
        info->ptActual = {band.actual.x, band.actual.y};
        info->dwModeFlags = band.modeFlags;
        return S_OK;
    });
}

// ------------------------------------------------------------ IInputObject

STDMETHODIMP TToolbarBand::UIActivateIO(BOOL activate, MSG*) {
    return Guarded("UIActivateIO", [&] {
        focus_.UIActivate(activate != FALSE);
        if (activate && form_) {
            // The form's active control takes the focus; on the way in, the search box.
            rt::TWinControl* target = form_->ActiveControl() ? form_->ActiveControl() : form_->edtSearch;
            HWND window = reinterpret_cast<HWND>(rt::UiBackend().HandleOf(*target));
            ::SetFocus(window ? window : FormWindow());
        }
        return S_OK;
    });
}

STDMETHODIMP TToolbarBand::HasFocusIO() { return focus_.Has() ? S_OK : S_FALSE; }

STDMETHODIMP TToolbarBand::TranslateAcceleratorIO(MSG* message) {
    if (!message || !form_) return S_FALSE;
    const HRESULT result = Guarded("TranslateAcceleratorIO", [&] {
        const TMsg key{reinterpret_cast<platform::WindowHandle>(message->hwnd), message->message, message->wParam,
                       message->lParam};
        return static_cast<HRESULT>(form_->FilterAccelerator(key));
    });
    return result == S_OK ? S_OK : S_FALSE;
}

// ------------------------------------------------------------ IObjectWithSite

STDMETHODIMP TToolbarBand::SetSite(IUnknown* site) {
    if (!site) return S_OK;  // the references stay until the band goes
    return Guarded("SetSite", [&] {
        site_.Reset();
        site->QueryInterface(IID_IInputObjectSite, reinterpret_cast<void**>(site_.GetAddressOf()));
        ComPtr<IOleWindow> siteWindow;
        HWND parent = nullptr;
        // Each answer is checked for the interface too: a site may succeed and hand out nothing.
        if (SUCCEEDED(site->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(siteWindow.GetAddressOf()))) &&
            siteWindow && SUCCEEDED(siteWindow->GetWindow(&parent)))
            parentWindow_ = parent;
        commandTarget_.Reset();
        site->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(commandTarget_.GetAddressOf()));
        // The browser window's browser, as a service of the site.
        browser_.Reset();
        ComPtr<IServiceProvider> services;
        IUnknown* provider = commandTarget_ ? static_cast<IUnknown*>(commandTarget_.Get()) : site;
        if (SUCCEEDED(provider->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(services.GetAddressOf()))) &&
            services)
            services->QueryService(kWebBrowserApp, IID_IWebBrowser2, reinterpret_cast<void**>(browser_.GetAddressOf()));
        return S_OK;
    });
}

STDMETHODIMP TToolbarBand::GetSite(REFIID iid, void** site) {
    if (!site) return E_POINTER;
    *site = nullptr;
    return site_ ? site_->QueryInterface(iid, site) : E_FAIL;
}

// ------------------------------------------------------------ IPersist

STDMETHODIMP TToolbarBand::GetClassID(CLSID* classId) {
    if (!classId) return E_POINTER;
    *classId = CLSID_ToolbarBand;
    return S_OK;
}

// ------------------------------------------------------------ IContextMenu

STDMETHODIMP TToolbarBand::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT, UINT) {
    ::InsertMenuA(menu, index, MF_BYPOSITION | MF_STRING, firstId + BandMenuAboutOffset, BandMenuAboutCaption);
    menuCommandCount_ = BandMenuCommandCount;
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, BandMenuCommandCount);
}

STDMETHODIMP TToolbarBand::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    if (!info) return E_INVALIDARG;
    const auto verb = reinterpret_cast<UINT_PTR>(info->lpVerb);
    const TBandMenuCommand command = BandMenuCommandFor(HIWORD(verb) != 0, LOWORD(verb), menuCommandCount_);
    if (command == TBandMenuCommand::Refused) return E_FAIL;
    return Guarded("InvokeCommand", [&] {
        switch (command) {
            case TBandMenuCommand::About: rt::ShowMessage(BandAboutText); break;
            case TBandMenuCommand::HomePage:
                if (form_) form_->Controller().HomePage();
                break;
            case TBandMenuCommand::BandInfoChanged: NotifyBandInfoChanged(); break;
            case TBandMenuCommand::Refused: break;
        }
        return S_OK;
    });
}

STDMETHODIMP TToolbarBand::GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT) { return S_OK; }

// ------------------------------------------------------------ site commands

void TToolbarBand::SiteCommand(DWORD command) {
    if (!commandTarget_) return;
    VARIANT band;
    ::VariantInit(&band);
    band.vt = VT_I4;
    band.lVal = static_cast<LONG>(bandId_);
    commandTarget_->Exec(&kDeskBandCommands, command, 0, &band, nullptr);
}

void TToolbarBand::NotifyBandInfoChanged() { SiteCommand(kBandInfoChanged); }
void TToolbarBand::MaximizeBand() { SiteCommand(kMaximizeBand); }

void TToolbarBand::NotifyFocusChange(bool gained) {
    if (site_) site_->OnFocusChangeIS(static_cast<IDeskBand*>(this), gained ? TRUE : FALSE);
}

// ------------------------------------------------------------ the form

HWND TToolbarBand::FormWindow() const {
    return form_ ? reinterpret_cast<HWND>(rt::UiBackend().HandleOf(*form_)) : nullptr;
}

void TToolbarBand::CreateForm() {
    // Without the site's window there is nothing to be a child of: no window yet.
    if (!parentWindow_ || !::IsWindow(parentWindow_)) return;
    EnsureThreadReady();
    form_ = std::make_unique<TBandForm>(nullptr, reinterpret_cast<std::uintptr_t>(parentWindow_));
    HWND window = FormWindow();
    if (!window) {
        form_.reset();
        foundation::RaiseError("The toolbar's window could not be made");
    }
    ::SetPropA(window, kBandProperty, this);
    savedWindowProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BandWindowProc)));
    // A site that gave no browser has no events to connect to: the form's
    // tries at connecting would only hold the browser's window for seconds.
    if (browser_) form_->SetBrowser(platform::win32::BrowserFrom(browser_.Get()));
    form_->RestoreState();
    form_->SetShowHint(true);  // every control's hint, shown for 5 seconds by the form's tip window
}

void TToolbarBand::DestroyForm() {
    if (!form_) return;
    form_->SetActiveControl(nullptr);
    Unhook(FormWindow());
    form_.reset();
}

void TToolbarBand::Unhook(HWND window) {
    if (!window || !savedWindowProc_) return;
    if (::GetPropA(window, kBandProperty) == this) {
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedWindowProc_));
        ::RemovePropA(window, kBandProperty);
    }
    savedWindowProc_ = nullptr;
}

LRESULT CALLBACK TToolbarBand::BandWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* band = static_cast<TToolbarBand*>(::GetPropA(window, kBandProperty));
    if (!band || !band->savedWindowProc_) return ::DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC saved = band->savedWindowProc_;
    try {
        switch (message) {
            case WM_PARENTNOTIFY:
                if (band->focus_.ChildNotified()) band->NotifyFocusChange(true);
                return 0;
            case WM_USER + 1: band->MaximizeBand(); return 0;
            case WM_USER + 2: band->NotifyBandInfoChanged(); return 0;
            case WM_NCDESTROY: band->Unhook(window); break;  // the window goes before the band lets go of it
            default: break;
        }
    } catch (...) {
        return 0;
    }
    return ::CallWindowProcA(saved, window, message, wParam, lParam);
}

}  // namespace toolbar::win32
