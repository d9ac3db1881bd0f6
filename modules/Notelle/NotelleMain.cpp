// Notelle.exe NAME: shows the help or notice page that NAME names, from the
// installation's Help folder, with the shell's "open" verb (the user's own
// program for web pages). Exit codes: 0 opened, 2 not a page name, 3 no
// such page, 4 the shell could not open it.
#include <windows.h>
#include <shellapi.h>

#include <cctype>
#include <string>

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1);
}

// The page's file name: letters and digits only, so that no name reaches
// outside the Help folder or names anything but a page.
bool PageName(std::string text, std::string& page) {
    const std::size_t first = text.find_first_not_of(" \t\"");
    const std::size_t last = text.find_last_not_of(" \t\"");
    if (first == std::string::npos) return false;
    text = text.substr(first, last - first + 1);
    if (text.empty() || text.size() > 64) return false;
    page.clear();
    for (unsigned char c : text) {
        if (!std::isalnum(c)) return false;
        page += static_cast<char>(std::tolower(c));
    }
    page += ".html";
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    std::string page;
    if (!PageName(commandLine ? commandLine : "", page)) return 2;
    const std::string folder = ProgramFolder() + "Help\\";
    const std::string path = folder + page;
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return 3;
    const auto opened = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
    return opened > 32 ? 0 : 4;
}
