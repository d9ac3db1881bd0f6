// The clipboard's CF_TEXT. Every handle has one owner: the window and the
// open clipboard are scoped; the memory block is ours until SetClipboardData
// takes it, and the system's afterwards.
#include <cstring>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

// A hidden message-only window that owns what we put on the clipboard (with
// no owner, EmptyClipboard leaves none and SetClipboardData fails).
class OwnerWindow {
public:
    OwnerWindow()
        : window_(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~OwnerWindow() {
        if (window_) ::DestroyWindow(window_);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_;
};

// The clipboard opened for this thread, closed when this goes.
class OpenedClipboard {
public:
    OpenedClipboard(HWND owner, unsigned attempts, unsigned pause) {
        for (unsigned i = 0; i < attempts && !open_; ++i) {
            if (i > 0) ::Sleep(pause);
            open_ = ::OpenClipboard(owner) != FALSE;
        }
    }
    ~OpenedClipboard() {
        if (open_) ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

// A movable global memory block freed with GlobalFree unless released.
class UniqueGlobal {
public:
    explicit UniqueGlobal(SIZE_T bytes) : block_(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~UniqueGlobal() {
        if (block_) ::GlobalFree(block_);
    }
    UniqueGlobal(const UniqueGlobal&) = delete;
    UniqueGlobal& operator=(const UniqueGlobal&) = delete;
    HGLOBAL Get() const { return block_; }
    void Release() { block_ = nullptr; }

private:
    HGLOBAL block_;
};

}  // namespace

Win32Clipboard::Win32Clipboard(unsigned attempts, unsigned pauseMilliseconds)
    : attempts_(attempts ? attempts : 1), pause_(pauseMilliseconds) {}

bool Win32Clipboard::SetText(const std::string& text) {
    // CF_TEXT ends at the first NUL.
    const std::size_t length = std::strlen(text.c_str());
    UniqueGlobal block(length + 1);
    if (!block.Get()) return false;
    void* bytes = ::GlobalLock(block.Get());
    if (!bytes) return false;
    std::memcpy(bytes, text.c_str(), length + 1);
    ::GlobalUnlock(block.Get());

    OwnerWindow owner;
    if (!owner.Get()) return false;
    OpenedClipboard clipboard(owner.Get(), attempts_, pause_);
    if (!clipboard || !::EmptyClipboard()) return false;
    if (!::SetClipboardData(CF_TEXT, block.Get())) return false;
    block.Release();  // the system's now
    return true;
}

std::optional<std::string> Win32Clipboard::GetText() {
    if (!::IsClipboardFormatAvailable(CF_TEXT)) return std::nullopt;
    // Opened for a window of ours too: with none, some systems let a second
    // thread in while another holds the clipboard open.
    OwnerWindow reader;
    OpenedClipboard clipboard(reader.Get(), attempts_, pause_);
    if (!clipboard) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_TEXT);  // the clipboard's: never freed here
    if (!data) return std::nullopt;
    const SIZE_T size = ::GlobalSize(data);
    const char* bytes = static_cast<const char*>(::GlobalLock(data));
    if (!bytes) return std::nullopt;
    std::string text(bytes, strnlen(bytes, size));
    ::GlobalUnlock(data);
    return text;
}

bool Win32Clipboard::HasText() { return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE; }

}  // namespace platform::win32
