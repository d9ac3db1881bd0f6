// The rich-edit control, page controls and tab controls.
#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>

#include "platform/win32/ui/StandardPeers.h"
#include "runtime/ComCtrls.h"
#include "runtime/RichEdit.h"

namespace platform::win32::ui {
namespace {

struct FlagScope {
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    bool& flag_;
};

// A rich-edit control counts a line end as one character, the runtime's
// control as two (CR LF).
int NativeToControl(const std::string& text, LONG native) {
    std::size_t i = 0;
    for (LONG count = 0; count < native && i < text.size(); ++count)
        i += text.compare(i, 2, "\r\n") == 0 ? 2 : 1;
    return static_cast<int>(i);
}

LONG ControlToNative(const std::string& text, int position) {
    LONG native = 0;
    for (std::size_t i = 0; i < text.size() && static_cast<int>(i) < position; ++native)
        i += text.compare(i, 2, "\r\n") == 0 ? 2 : 1;
    return native;
}

struct StreamSource {
    const std::string* bytes;
    std::size_t offset;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const std::size_t left = source->bytes->size() - source->offset;
    const std::size_t count = std::min(left, static_cast<std::size_t>(wanted > 0 ? wanted : 0));
    std::memcpy(buffer, source->bytes->data() + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

class RichEditPeer : public Peer {
public:
    using Peer::Peer;

    bool Command(WORD code) override {
        if (code != EN_CHANGE) return false;
        const std::string text = NativeText();
        FlagScope echo(echoing_);
        if (text != Edit().Text()) Edit().SetText(text);
        ReadSelection();
        return true;
    }

    bool Notify(NMHDR& header, LRESULT& result) override {
        if (header.code != EN_SELCHANGE) return false;
        FlagScope echo(echoing_);
        ReadSelection();
        result = 0;
        return true;
    }

    void Changed(rt::TControlChange change) override {
        if (!Window() || echoing_) return;
        switch (change) {
            case rt::TControlChange::RichText: StreamIn(Edit().RichText(), SF_RTF); break;
            case rt::TControlChange::Selection: PushSelection(); break;
            case rt::TControlChange::Style: PushStyle(); break;
            case rt::TControlChange::Scroll: {
                const LRESULT first = ::SendMessageA(Window(), EM_GETFIRSTVISIBLELINE, 0, 0);
                ::SendMessageA(Window(), EM_LINESCROLL, 0, Edit().FirstVisibleLine() - first);
                break;
            }
            default: Peer::Changed(change); break;
        }
    }

protected:
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message != WM_GETDLGCODE) return false;
        result = Default(message, wParam, lParam);
        // The text takes every key but Escape, which closes its window as in a
        // multi-line edit of a dialog.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE)
            result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        return true;
    }

    HWND MakeWindow(HWND parent) override {
        rt::TRichEdit& edit = Edit();
        DWORD style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_SAVESEL;
        if (edit.ReadOnly()) style |= ES_READONLY;
        if (!edit.HideSelection()) style |= ES_NOHIDESEL;
        if (!edit.WordWrap()) style |= ES_AUTOHSCROLL;
        const rt::TScrollStyle bars = edit.ScrollBars();
        if (bars == rt::TScrollStyle::ssVertical || bars == rt::TScrollStyle::ssBoth) style |= WS_VSCROLL;
        if (bars == rt::TScrollStyle::ssHorizontal || bars == rt::TScrollStyle::ssBoth) style |= WS_HSCROLL;
        const DWORD exStyle = edit.BorderStyle() == rt::TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0;
        HWND window = MakeSystemWindow(RICHEDIT_CLASSA, style, exStyle, parent);
        if (!window) return nullptr;
        ::SendMessageA(window, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
        ::SendMessageA(window, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
        ::SendMessageA(window, EM_SETTARGETDEVICE, 0, edit.WordWrap() ? 0 : 1);
        return window;
    }

    void PushText() override {
        if (!Window()) return;
        if (!Edit().RichText().empty()) StreamIn(Edit().RichText(), SF_RTF);
        else if (NativeText() != Edit().Text()) StreamIn(Edit().Text(), SF_TEXT);  // never read as RTF
    }

private:
    rt::TRichEdit& Edit() const { return static_cast<rt::TRichEdit&>(Control()); }

    std::string NativeText() const {
        GETTEXTLENGTHEX query{GTL_USECRLF | GTL_NUMCHARS, CP_ACP};
        const LRESULT length = ::SendMessageA(Window(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0);
        if (length <= 0) return std::string();
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        GETTEXTEX get{static_cast<DWORD>(text.size()), GT_USECRLF, CP_ACP, nullptr, nullptr};
        const LRESULT got = ::SendMessageA(Window(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                           reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        return text;
    }

    void StreamIn(const std::string& bytes, UINT format) {
        FlagScope echo(echoing_);
        StreamSource source{&bytes, 0};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadStream};
        ::SendMessageA(Window(), EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
        PushSelection();
    }

    void PushSelection() {
        const std::string& text = Edit().Text();
        const int start = Edit().SelStart(), end = start + Edit().SelLength();
        CHARRANGE range{ControlToNative(text, std::min(start, end)), ControlToNative(text, std::max(start, end))};
        ::SendMessageA(Window(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        ::SendMessageA(Window(), EM_SCROLLCARET, 0, 0);
    }

    void ReadSelection() {
        CHARRANGE range{};
        ::SendMessageA(Window(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        const std::string& text = Edit().Text();
        const int start = NativeToControl(text, range.cpMin), end = NativeToControl(text, range.cpMax);
        Edit().SetSelStart(start);
        Edit().SetSelLength(end - start);
    }

    void PushStyle() {
        ::SendMessageA(Window(), EM_SETREADONLY, Edit().ReadOnly(), 0);
        ::SendMessageA(Window(), EM_SETTARGETDEVICE, 0, Edit().WordWrap() ? 0 : 1);
    }
};

// Tabs of a page control (its pages with a visible tab) or a tab control.
class TabsPeer : public Peer {
public:
    using Peer::Peer;

    bool Notify(NMHDR& header, LRESULT& result) override {
        if (header.code == TCN_SELCHANGING) {
            result = FALSE;  // the control asks its own OnChanging on the change
            return true;
        }
        if (header.code != TCN_SELCHANGE) return false;
        const int tab = static_cast<int>(::SendMessageA(Window(), TCM_GETCURSEL, 0, 0));
        const std::shared_ptr<bool> alive = AliveToken();
        const bool changed = SelectTab(tab);
        if (*alive && !changed) PushSelection();  // refused: the old tab again
        result = 0;
        return true;
    }

    void Changed(rt::TControlChange change) override {
        if (!Window()) return;
        switch (change) {
            case rt::TControlChange::Items: Fill(); break;
            case rt::TControlChange::Selection: PushSelection(); break;
            default: Peer::Changed(change); break;
        }
    }

protected:
    HWND MakeWindow(HWND parent) override {
        HWND window = MakeSystemWindow(WC_TABCONTROLA, WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent);
        if (window) FillInto(window);
        return window;
    }
    void PushText() override {}

    virtual std::vector<std::string> Captions() const = 0;
    virtual int Current() const = 0;
    virtual bool SelectTab(int tab) = 0;

private:
    void FillInto(HWND window) {
        ::SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
        const std::vector<std::string> captions = Captions();
        for (std::size_t i = 0; i < captions.size(); ++i) {
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(captions[i].c_str());
            ::SendMessageA(window, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        ::SendMessageA(window, TCM_SETCURSEL, static_cast<WPARAM>(Current()), 0);
    }
    void Fill() { FillInto(Window()); }
    void PushSelection() { ::SendMessageA(Window(), TCM_SETCURSEL, static_cast<WPARAM>(Current()), 0); }
};

class PageControlPeer : public TabsPeer {
public:
    using TabsPeer::TabsPeer;

protected:
    std::vector<std::string> Captions() const override {
        std::vector<std::string> captions;
        for (int i = 0; i < Pages().TabCount(); ++i) captions.push_back(Pages().PageOfTab(i)->Caption());
        return captions;
    }
    int Current() const override { return Pages().ActivePage() ? Pages().ActivePage()->TabIndex() : -1; }
    bool SelectTab(int tab) override { return Pages().SelectTab(tab); }

private:
    rt::TPageControl& Pages() const { return static_cast<rt::TPageControl&>(Control()); }
};

class TabControlPeer : public TabsPeer {
public:
    using TabsPeer::TabsPeer;

protected:
    std::vector<std::string> Captions() const override {
        std::vector<std::string> captions;
        for (int i = 0; i < Tabs().Tabs().Count(); ++i) captions.push_back(Tabs().Tabs()[i]);
        return captions;
    }
    int Current() const override { return Tabs().TabIndex(); }
    bool SelectTab(int tab) override { return Tabs().SelectTab(tab); }

private:
    rt::TTabControl& Tabs() const { return static_cast<rt::TTabControl&>(Control()); }
};

}  // namespace

std::unique_ptr<Peer> MakeTextTabPeer(rt::TControl& control) {
    if (dynamic_cast<rt::TRichEdit*>(&control)) return std::make_unique<RichEditPeer>(control);
    if (dynamic_cast<rt::TPageControl*>(&control)) return std::make_unique<PageControlPeer>(control);
    if (dynamic_cast<rt::TTabControl*>(&control)) return std::make_unique<TabControlPeer>(control);
    return nullptr;
}

}  // namespace platform::win32::ui
