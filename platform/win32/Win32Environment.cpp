// Environment-variable references in text.
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

std::string Win32Environment::Expand(const std::string& text) {
    std::string buffer;
    DWORD size = static_cast<DWORD>(text.size()) + 256;
    for (int attempt = 0; attempt < 8; ++attempt) {
        buffer.assign(size, '\0');
        // The result counts the closing NUL; a result larger than the buffer
        // is the size needed (a variable may change between two calls).
        DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size);
        if (needed == 0) return text;
        if (needed <= size) {
            buffer.resize(needed - 1);
            // The ANSI call may count one more than it wrote; the string ends at its NUL.
            buffer.resize(std::char_traits<char>::length(buffer.c_str()));
            return buffer;
        }
        size = needed + 1;
    }
    return text;
}

}  // namespace platform::win32
