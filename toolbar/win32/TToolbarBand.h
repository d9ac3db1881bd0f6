#pragma once
// The toolbar band the browser creates for each of its windows that shows
// the toolbar: it takes the band site, makes the toolbar form as a child of
// the site's window, and from then on relays sizes, showing and closing,
// focus, keys and its one-item context menu. What it decides comes from
// toolbar/ToolbarBand.h; everything the user sees lives in the form.
#include <atomic>
#include <memory>

#include "platform/win32/Win32Api.h"

#include <exdisp.h>
#include <ocidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "toolbar/ToolbarBand.h"

namespace toolbar {
class TBandForm;
}

namespace toolbar::win32 {

// {7A33D136-248C-4BA5-B72D-BB68F4AD9039}
inline constexpr CLSID CLSID_ToolbarBand = {
    0x7A33D136, 0x248C, 0x4BA5, {0xB7, 0x2D, 0xBB, 0x68, 0xF4, 0xAD, 0x90, 0x39}};

class TToolbarBand final : public IDeskBand,
                           public IInputObject,
                           public IObjectWithSite,
                           public IPersistStreamInit,
                           public IContextMenu {
public:
    static HRESULT Create(REFIID iid, void** object);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleWindow, IDockingWindow, IDeskBand
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP ShowDW(BOOL show) override;
    STDMETHODIMP CloseDW(DWORD reserved) override;
    STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* toolbarSite, BOOL reserved) override;
    STDMETHODIMP GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) override;

    // IInputObject
    STDMETHODIMP UIActivateIO(BOOL activate, MSG* message) override;
    STDMETHODIMP HasFocusIO() override;
    STDMETHODIMP TranslateAcceleratorIO(MSG* message) override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** site) override;

    // IPersist, IPersistStreamInit: the band keeps nothing in the browser's stream.
    STDMETHODIMP GetClassID(CLSID* classId) override;
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(IStream*) override { return S_OK; }
    STDMETHODIMP Save(IStream*, BOOL) override { return S_OK; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override { return E_NOTIMPL; }

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT* reserved, LPSTR name, UINT size) override;

    // Commands to the site (its IOleCommandTarget, the desk-band group).
    void NotifyBandInfoChanged();
    void MaximizeBand();
    void NotifyFocusChange(bool gained);

protected:
    TToolbarBand();
    ~TToolbarBand();

private:
    static LRESULT CALLBACK BandWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND FormWindow() const;
    void CreateForm();
    void DestroyForm();
    void Unhook(HWND window);
    void SiteCommand(DWORD command);

    std::atomic<ULONG> refs_{1};                                     // references held by callers
    unsigned menuCommandCount_ = 0;                                  // reported by the last QueryContextMenu
    TBandFocus focus_;
    DWORD bandId_ = 0;                                               // from the last GetBandInfo
    WNDPROC savedWindowProc_ = nullptr;                              // the form's own, while hooked
    HWND parentWindow_ = nullptr;                                    // the site's window
    Microsoft::WRL::ComPtr<IInputObjectSite> site_;
    Microsoft::WRL::ComPtr<IOleCommandTarget> commandTarget_;
    std::unique_ptr<toolbar::TBandForm> form_;                       // from the first GetWindow
    Microsoft::WRL::ComPtr<IWebBrowser2> browser_;
};

}  // namespace toolbar::win32
