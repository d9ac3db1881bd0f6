// Time, the user's date format and sleeping.
#include <cctype>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

std::string LocaleText(LCTYPE type) {
    char buffer[128] = {};
    int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer) : std::string();
}

// Literal text in the runtime's notation: quoted with ' unless it holds one,
// which the runtime can only quote with ".
void AppendLiteral(std::string& out, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        bool quote = text[start] == '\'';
        std::size_t end = start;
        while (end < text.size() && (text[end] == '\'') == quote) ++end;
        char mark = quote ? '"' : '\'';
        out += mark;
        out.append(text, start, end - start);
        out += mark;
        start = end;
    }
}

}  // namespace

std::uint32_t Win32Clock::TickCount() { return ::GetTickCount(); }

LocalTime Win32Clock::Now() {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::string Win32Clock::ConvertDatePicture(const std::string& picture) {
    // Both notations use d, M and y the same way and keep separators as they
    // are. The era (g) has no counterpart and goes with the space after it;
    // quoted text ('' is a quote) and any other letter stay literal.
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        char c = picture[i];
        if (c == '\'') {
            std::string literal;
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        literal += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += picture[i++];
            }
            // A lone "''" outside quotes is one quote character.
            if (literal.empty() && i >= 2 && picture[i - 1] == '\'' && picture[i - 2] == '\'') literal.assign(1, '\'');
            AppendLiteral(out, literal);
        } else if (c == 'g') {
            while (i < picture.size() && picture[i] == 'g') ++i;
            while (i < picture.size() && picture[i] == ' ') ++i;
        } else if (c == 'd' || c == 'M' || c == 'y') {
            out += c;
            ++i;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '"') {
            AppendLiteral(out, std::string(1, c));
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();  // left by an era at the end
    return out.empty() ? std::string("M/d/yyyy") : out;
}

std::string Win32Clock::ShortDateFormat() { return ConvertDatePicture(LocaleText(LOCALE_SSHORTDATE)); }

char Win32Clock::DateSeparator() {
    std::string separator = LocaleText(LOCALE_SDATE);
    return separator.empty() ? '/' : separator[0];
}

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform::win32
