// Code-page text to UTF-16.
#include "platform/win32/Win32Api.h"

#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

std::u16string Win32CodePage::ToUtf16(const std::string& text) {
    if (text.empty()) return std::u16string();
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage_, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return std::u16string();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage_, 0, text.data(), size, wide.data(), length);
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace platform::win32
