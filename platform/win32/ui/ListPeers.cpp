// Combo boxes (the search box among them) and list boxes with selection
// marks and drag reordering.
#include <algorithm>

#include "platform/win32/ui/StandardPeers.h"
#include "runtime/StdCtrls.h"

namespace platform::win32::ui {
namespace {

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

// Sets a flag for the lifetime of a scope.
struct FlagScope {
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    bool& flag_;
};

class ComboPeer : public Peer {
public:
    using Peer::Peer;

    bool Command(WORD code) override {
        auto& combo = Combo();
        switch (code) {
            case CBN_EDITCHANGE: {
                const std::string typed = WindowText(Window());
                FlagScope echo(echoing_);
                combo.TypeText(typed);
                return true;
            }
            case CBN_SELCHANGE: {
                const int index = static_cast<int>(::SendMessageA(Window(), CB_GETCURSEL, 0, 0));
                if (index >= 0) combo.SelectFromList(index);
                return true;
            }
            case CBN_DROPDOWN:
                FitDroppedWidth();
                combo.DropDown();
                return true;
            // The list tells whether it closes on a choice just before it closes.
            case CBN_SELENDOK: closingOnPick_ = true; return true;
            case CBN_SELENDCANCEL: closingOnPick_ = false; return true;
            case CBN_CLOSEUP: {
                const bool picked = closingOnPick_;
                closingOnPick_ = false;
                // A click in the list closes it before the list reports the
                // new selection: the control takes the pick first.
                const int index = static_cast<int>(::SendMessageA(Window(), CB_GETCURSEL, 0, 0));
                if (picked && index >= 0 && index != combo.ItemIndex()) combo.SelectFromList(index);
                combo.CloseUp(picked);
                return true;
            }
            default: return false;
        }
    }

    HWND FocusWindow() const override { return edit_ ? edit_ : Window(); }

    void Changed(rt::TControlChange change) override {
        if (!Window() || echoing_) return;
        switch (change) {
            case rt::TControlChange::Items: Fill(); break;
            case rt::TControlChange::Selection: PushSelection(); break;
            case rt::TControlChange::DropDown:
                ::SendMessageA(Window(), CB_SHOWDROPDOWN, Combo().DroppedDown(), 0);
                break;
            default: Peer::Changed(change); break;
        }
    }
    HBRUSH ControlColor(HDC dc) override { return nullptr; }

protected:
    HWND MakeWindow(HWND parent) override {
        DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL;
        switch (Combo().Style()) {
            case rt::TComboBoxStyle::csDropDown: style |= CBS_DROPDOWN; break;
            case rt::TComboBoxStyle::csSimple: style |= CBS_SIMPLE; break;
            case rt::TComboBoxStyle::csDropDownList: style |= CBS_DROPDOWNLIST; break;
        }
        HWND window = MakeSystemWindow("COMBOBOX", style, 0, parent);
        if (!window) return nullptr;
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (::GetComboBoxInfo(window, &info) && info.hwndItem && info.hwndItem != window) {
            edit_ = info.hwndItem;
            SubclassChild(edit_);
        }
        if (Combo().MaxLength() > 0) ::SendMessageA(window, CB_LIMITTEXT, static_cast<WPARAM>(Combo().MaxLength()), 0);
        FillInto(window);
        return window;
    }

    void PushBounds() override {
        if (!Window()) return;
        // A combo box's window reaches down over its drop-down list.
        const int rows = Combo().DropDownCount() > 0 ? Combo().DropDownCount() : 8;
        const int itemHeight = static_cast<int>(::SendMessageA(Window(), CB_GETITEMHEIGHT, 0, 0));
        ::SetWindowPos(Window(), nullptr, Scale(Control().Left()), Scale(Control().Top()), Scale(Control().Width()),
                       Scale(Control().Height()) + rows * (itemHeight > 0 ? itemHeight : Scale(13)) + 2,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void PushText() override {
        if (Window() && Combo().Style() != rt::TComboBoxStyle::csDropDownList) Peer::PushText();
    }

private:
    rt::TComboBox& Combo() const { return static_cast<rt::TComboBox&>(Control()); }

    void FillInto(HWND window) {
        ::SendMessageA(window, CB_RESETCONTENT, 0, 0);
        const rt::TStringList& items = Combo().Items();
        for (int i = 0; i < items.Count(); ++i)
            ::SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
        ::SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(Combo().ItemIndex()), 0);
    }
    void Fill() {
        FillInto(Window());
        PushText();  // clearing the entries cleared the edit's text
    }
    void PushSelection() {
        const int index = Combo().ItemIndex();
        if (static_cast<int>(::SendMessageA(Window(), CB_GETCURSEL, 0, 0)) != index)
            ::SendMessageA(Window(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PushText();  // no current entry empties the edit: the text stays the control's
    }

    // The list as wide as its widest entry in the box's font, within the
    // screen, and never narrower than the box.
    void FitDroppedWidth() {
        HDC dc = ::GetDC(Window());
        if (!dc) return;
        HGDIOBJ before = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(Window(), WM_GETFONT, 0, 0)));
        int widest = 0;
        const rt::TStringList& items = Combo().Items();
        for (int i = 0; i < items.Count(); ++i) {
            SIZE extent{};
            if (::GetTextExtentPoint32A(dc, items[i].c_str(), static_cast<int>(items[i].size()), &extent))
                widest = std::max(widest, static_cast<int>(extent.cx));
        }
        ::SelectObject(dc, before);
        ::ReleaseDC(Window(), dc);
        RECT box{};
        ::GetWindowRect(Window(), &box);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoA(::MonitorFromWindow(Window(), MONITOR_DEFAULTTONEAREST), &monitor);
        const int boxWidth = box.right - box.left;
        // The item's margins, the list's border and its scroll bar.
        const int wanted = widest + Scale(8) + 2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL);
        const int room = std::max(boxWidth, static_cast<int>(monitor.rcWork.right - std::max(box.left, monitor.rcWork.left)));
        ::SendMessageA(Window(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::clamp(wanted, boxWidth, room)), 0);
    }

    HWND edit_ = nullptr;         // the edit field of a combo box that has one
    bool closingOnPick_ = false;  // CBN_SELENDOK came before the close-up
};

class ListPeer : public Peer {
public:
    using Peer::Peer;

    bool Command(WORD code) override {
        if (code == LBN_SELCHANGE) {
            {
                FlagScope echo(echoing_);
                ReadSelection();
            }
            Control().Click();
            return true;
        }
        if (code == LBN_DBLCLK) {
            Control().DblClick(rt::KeyboardShiftState());
            return true;
        }
        return false;
    }

    void Changed(rt::TControlChange change) override {
        if (!Window() || echoing_) return;
        switch (change) {
            case rt::TControlChange::Items: Fill(); break;
            case rt::TControlChange::Selection: PushSelection(); break;
            default: Peer::Changed(change); break;
        }
    }

protected:
    HWND MakeWindow(HWND parent) override {
        DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        if (List().MultiSelect()) style |= LBS_EXTENDEDSEL;
        HWND window = MakeSystemWindow("LISTBOX", style, WS_EX_CLIENTEDGE, parent);
        if (window) FillInto(window);
        return window;
    }

    void PushText() override {}  // a list box shows its items, not a caption

    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) RelayToToolTip(*this, message, wParam, lParam);
        if (message == WM_SETFONT) ::PostMessageA(Window(), LB_SETITEMHEIGHT, 0, Scale(List().ItemHeight()));
        if (!Draggable()) return false;
        switch (message) {
            case WM_LBUTTONDOWN: return ButtonDown(wParam, lParam);
            case WM_MOUSEMOVE: return armed_ && (wParam & MK_LBUTTON) && MouseMove(lParam);
            case WM_LBUTTONUP: return ButtonUp(wParam, lParam);
            case WM_CAPTURECHANGED:
                if (dragging_ && reinterpret_cast<HWND>(lParam) != Window()) EndDragAt(nullptr, rt::TPoint{0, 0});
                return false;
            default: return false;
        }
    }

private:
    rt::TListBox& List() const { return static_cast<rt::TListBox&>(Control()); }
    // A list that handles drags over itself reorders by drag.
    bool Draggable() const { return static_cast<bool>(Control().OnDragOver); }

    void FillInto(HWND window) {
        ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
        ::SendMessageA(window, LB_RESETCONTENT, 0, 0);
        const rt::TStringList& items = List().Items();
        for (int i = 0; i < items.Count(); ++i)
            ::SendMessageA(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
        ::SendMessageA(window, LB_SETITEMHEIGHT, 0, Scale(List().ItemHeight()));
        PushSelectionInto(window);
        ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(window, nullptr, TRUE);
    }
    void Fill() { FillInto(Window()); }
    void PushSelection() { PushSelectionInto(Window()); }
    void PushSelectionInto(HWND window) {
        rt::TListBox& list = List();
        if (list.MultiSelect()) {
            for (int i = 0; i < list.Items().Count(); ++i)
                ::SendMessageA(window, LB_SETSEL, list.Selected(i), i);
            if (list.ItemIndex() >= 0) ::SendMessageA(window, LB_SETCARETINDEX, list.ItemIndex(), FALSE);
        } else {
            ::SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(list.ItemIndex()), 0);
        }
        ::SendMessageA(window, LB_SETTOPINDEX, list.TopIndex(), 0);
    }
    void ReadSelection() {
        rt::TListBox& list = List();
        const int count = std::min(list.Items().Count(), static_cast<int>(::SendMessageA(Window(), LB_GETCOUNT, 0, 0)));
        if (list.MultiSelect()) {
            for (int i = 0; i < count; ++i) list.SetSelected(i, ::SendMessageA(Window(), LB_GETSEL, i, 0) > 0);
            list.SetItemIndex(static_cast<int>(::SendMessageA(Window(), LB_GETCARETINDEX, 0, 0)));
        } else {
            list.SetItemIndex(static_cast<int>(::SendMessageA(Window(), LB_GETCURSEL, 0, 0)));
        }
    }

    int ItemAt(LPARAM lParam) const {
        const LRESULT hit = ::SendMessageA(Window(), LB_ITEMFROMPOINT, 0, lParam);
        return HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit));
    }

    bool ButtonDown(WPARAM wParam, LPARAM lParam) {
        armed_ = true;
        dragging_ = false;
        downAt_ = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int item = ItemAt(lParam);
        // A press on a selected item may start a drag of the whole selection:
        // the list sees the press only when it turns out a plain click.
        deferred_ = List().MultiSelect() && item >= 0 && item < List().Items().Count() && List().Selected(item) &&
                    !(wParam & (MK_SHIFT | MK_CONTROL));
        if (deferred_) {
            deferredW_ = wParam;
            deferredL_ = lParam;
            ::SetFocus(Window());
            ::SetCapture(Window());
            return true;
        }
        // Any other press selects first, as in every list, so that a drag
        // starting here moves what the press picked, not the old selection.
        const std::shared_ptr<bool> alive = AliveToken();
        Default(WM_LBUTTONDOWN, wParam, lParam);
        if (*alive && SelectionDiffers()) Command(LBN_SELCHANGE);
        return true;
    }

    // Whether the window shows another selection than the control holds
    // (the list box may not have told yet).
    bool SelectionDiffers() const {
        rt::TListBox& list = List();
        const int count = std::min(list.Items().Count(), static_cast<int>(::SendMessageA(Window(), LB_GETCOUNT, 0, 0)));
        if (!list.MultiSelect()) return list.ItemIndex() != static_cast<int>(::SendMessageA(Window(), LB_GETCURSEL, 0, 0));
        for (int i = 0; i < count; ++i)
            if (list.Selected(i) != (::SendMessageA(Window(), LB_GETSEL, i, 0) > 0)) return true;
        return false;
    }

    bool MouseMove(LPARAM lParam) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (!dragging_) {
            if (std::abs(at.x - downAt_.x) < ::GetSystemMetrics(SM_CXDRAG) &&
                std::abs(at.y - downAt_.y) < ::GetSystemMetrics(SM_CYDRAG))
                return deferred_;
            dragging_ = true;
            if (::GetCapture() != Window()) ::SetCapture(Window());
        }
        rt::TPoint local;
        rt::TControl* target = TargetAt(at, local);
        const bool accept = target && target->DragOver(&Control(), local.X, local.Y);
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(accept ? IDC_ARROW : IDC_NO)));
        return true;
    }

    bool ButtonUp(WPARAM wParam, LPARAM lParam) {
        const bool wasDragging = dragging_, wasDeferred = deferred_;
        armed_ = false;
        if (wasDragging) {
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            rt::TPoint local;
            rt::TControl* target = TargetAt(at, local);
            EndDragAt(target, local);
            return true;
        }
        deferred_ = false;
        if (wasDeferred) {
            ::ReleaseCapture();
            // A plain click after all: the list gets its press now.
            Default(WM_LBUTTONDOWN, deferredW_, deferredL_);
        }
        return false;
    }

    void EndDragAt(rt::TControl* target, rt::TPoint local) {
        dragging_ = deferred_ = armed_ = false;
        const std::shared_ptr<bool> alive = AliveToken();
        if (::GetCapture() == Window()) ::ReleaseCapture();
        if (!*alive) return;
        const bool accept = target && target->DragOver(&Control(), local.X, local.Y);
        if (accept) target->DragDrop(&Control(), local.X, local.Y);
        if (*alive) Control().EndDrag(accept ? target : nullptr, local.X, local.Y);
    }

    // The control under a point of this window, and the point in its client area.
    rt::TControl* TargetAt(POINT at, rt::TPoint& local) {
        ::ClientToScreen(Window(), &at);
        HWND under = ::WindowFromPoint(at);
        Peer* peer = PeerAtOrAbove(under);
        if (!peer || !peer->Window()) return nullptr;
        ::ScreenToClient(peer->Window(), &at);
        local = rt::TPoint{Unscale(at.x), Unscale(at.y)};
        return &peer->Control();
    }

    bool armed_ = false, dragging_ = false, deferred_ = false;
    POINT downAt_{};
    WPARAM deferredW_ = 0;
    LPARAM deferredL_ = 0;
};

}  // namespace

std::unique_ptr<Peer> MakeListPeer(rt::TControl& control) {
    if (dynamic_cast<rt::TComboBox*>(&control)) return std::make_unique<ComboPeer>(control);
    if (dynamic_cast<rt::TListBox*>(&control)) return std::make_unique<ListPeer>(control);
    return nullptr;
}

}  // namespace platform::win32::ui
