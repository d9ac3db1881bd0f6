// Message boxes and the input box. Windows has no stock input box, so one is
// built at run time from an in-memory dialog template.
#include <vector>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

// A dialog template is a packed run of WORDs; items start on DWORD boundaries.
class TemplateWriter {
public:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void AlignDword() {
        if (words_.size() % 2) Word(0);
    }
    // A NUL-terminated UTF-16 string converted from the ANSI code page.
    void Text(const std::string& text) {
        if (!text.empty()) {
            int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
            std::vector<wchar_t> wide(static_cast<std::size_t>(length > 0 ? length : 0));
            if (length > 0)
                ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
            for (wchar_t c : wide) Word(static_cast<WORD>(c));
        }
        Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const std::string& title) {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);  // extended style
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);  // a predefined class by atom
        Word(classAtom);
        Text(title);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    std::vector<WORD> words_;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;

struct InputState {
    const std::string* initial;
    std::string typed;
};

INT_PTR CALLBACK InputProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<InputState*>(lParam);
            ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            ::SetDlgItemTextA(dialog, Win32Dialogs::kEditId, state->initial->c_str());
            return TRUE;  // focus to the edit, which selects its text
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* state = reinterpret_cast<InputState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
                HWND edit = ::GetDlgItem(dialog, Win32Dialogs::kEditId);
                std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
                int length = ::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
                text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
                state->typed = std::move(text);
                ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {  // also Esc and the close box
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

HINSTANCE OwnModule() {
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&InputProc), &self);
    return self;
}

// The window the user is in: the thread's active window (an open dialog, or
// the browser's frame around the band), else the foreground window when it is
// one of this process's. A box owned by it is modal to it and stays above it.
HWND OwnerForBox() {
    if (HWND active = ::GetActiveWindow()) return active;
    HWND foreground = ::GetForegroundWindow();
    DWORD process = 0;
    if (foreground && ::GetWindowThreadProcessId(foreground, &process) && process == ::GetCurrentProcessId())
        return foreground;
    return nullptr;
}

}  // namespace

int Win32Dialogs::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return ::MessageBoxA(OwnerForBox(), text.c_str(), caption.c_str(), flags);
}

bool Win32Dialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    // Sizes in dialog units.
    constexpr short kWidth = 230, kHeight = 68, kMargin = 7, kButtonWidth = 50, kButtonHeight = 14;
    TemplateWriter t;
    t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.Dword(0);  // extended style
    t.Word(4);   // items
    t.Word(0);
    t.Word(0);
    t.Word(static_cast<WORD>(kWidth));
    t.Word(static_cast<WORD>(kHeight));
    t.Word(0);  // no menu
    t.Word(0);  // the standard dialog class
    t.Text(caption);
    t.Word(8);  // font size in points
    t.Text("MS Shell Dlg");
    t.Item(SS_LEFT | SS_NOPREFIX, kMargin, kMargin, kWidth - 2 * kMargin, 18, kPromptId, kStatic, prompt);
    t.Item(ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kMargin, 28, kWidth - 2 * kMargin, 13, kEditId, kEdit,
           "");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - 2 * kButtonWidth - kMargin - 4, 47, kButtonWidth, kButtonHeight,
           IDOK, kButton, "OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, kWidth - kButtonWidth - kMargin, 47, kButtonWidth, kButtonHeight, IDCANCEL,
           kButton, "Cancel");

    InputState state{&value, {}};
    INT_PTR result =
        ::DialogBoxIndirectParamA(OwnModule(), t.Get(), OwnerForBox(), InputProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    value = std::move(state.typed);
    return true;
}

}  // namespace platform::win32
