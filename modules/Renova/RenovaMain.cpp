// Renova.exe [/S]: the updater. It reads the installed version and the feed's
// address from "Renova.ini" beside itself, reads the offer at that address
// (a small INI text; file:// addresses serve tests and local mirrors), and
// when the offer is newer fetches its installer and starts it, silently
// ("/S") when it was itself started with "/S". Without "/S" the user is told
// the result and asked before installing. Every check is recorded in the
// "Update" section. Exit codes: 0 nothing to install, 1 installer started,
// 2 the check failed (no version, no feed, a garbled offer, a failed fetch).
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <urlmon.h>

#include <cstdio>
#include <string>

#include "UpdateOffer.h"

namespace {

constexpr const char* kDefaultFeed = "http://www.zephyratoolbar.com/update/renova.ini";
constexpr const char* kTitle = "Zephyra Update";
constexpr DWORD kMaxFeedBytes = 64 * 1024;

std::string ProgramFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1);
}

std::string IniText(const std::string& file, const char* section, const char* key, const char* fallback = "") {
    char value[2048] = {};
    ::GetPrivateProfileStringA(section, key, fallback, value, sizeof value, file.c_str());
    return value;
}

std::string VersionText(const renova::Version& v) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);
}

// Copies the file at `address` (file:// or a web address) to `target`.
bool Fetch(const std::string& address, const std::string& target) {
    if (address.rfind("file:", 0) == 0) {
        char path[MAX_PATH * 2] = {};
        DWORD size = sizeof path;
        return SUCCEEDED(::PathCreateFromUrlA(address.c_str(), path, &size, 0)) &&
               ::CopyFileA(path, target.c_str(), FALSE) != 0;
    }
    return SUCCEEDED(::URLDownloadToFileA(nullptr, address.c_str(), target.c_str(), 0, nullptr));
}

std::string ReadSmallFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes(kMaxFeedBytes, '\0');
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), kMaxFeedBytes, &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

class Check {
public:
    Check(std::string ini, bool silent) : ini_(std::move(ini)), silent_(silent) {}

    // Records the result with the day of the check; tells the user unless silent.
    int Done(int code, const std::string& result) {
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        char day[16];
        std::snprintf(day, sizeof day, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
        ::WritePrivateProfileStringA("Update", "LastCheck", day, ini_.c_str());
        ::WritePrivateProfileStringA("Update", "LastResult", result.c_str(), ini_.c_str());
        if (!silent_ && code != 1) ::MessageBoxA(nullptr, result.c_str(), kTitle, MB_OK | MB_ICONINFORMATION);
        return code;
    }

private:
    std::string ini_;
    bool silent_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const bool silent = ::StrStrIA(commandLine ? commandLine : "", "/S") != nullptr;
    const std::string ini = ProgramFolder() + "Renova.ini";
    Check check(ini, silent);

    const auto installed = renova::ParseVersion(IniText(ini, "ProductInfo", "version"));
    if (!installed) return check.Done(2, "The installed version is not known.");
    const std::string feed = IniText(ini, "Update", "Feed", kDefaultFeed);

    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string work = std::string(temp) + "ZephyraUpdate\\";
    ::CreateDirectoryA(work.c_str(), nullptr);
    const std::string feedCopy = work + "offer.ini";
    ::DeleteFileA(feedCopy.c_str());
    if (!Fetch(feed, feedCopy)) return check.Done(2, "The update information could not be read.");
    const auto offer = renova::ParseFeed(ReadSmallFile(feedCopy));
    if (!offer) return check.Done(2, "The update information is not understood.");
    if (offer->version <= *installed)
        return check.Done(0, "Zephyra " + VersionText(*installed) + " is up to date.");

    const std::string offered = VersionText(offer->version);
    if (!silent && ::MessageBoxA(nullptr, ("Zephyra " + offered + " is available. Install it now?").c_str(), kTitle,
                                 MB_YESNO | MB_ICONQUESTION) != IDYES)
        return check.Done(0, "Zephyra " + offered + " is available; not installed.");
    // Only a plain file name is used for the copy, whatever the offer names.
    std::string name = offer->installer.substr(offer->installer.find_last_of("/\\") + 1);
    if (name.empty() || name.find_first_of(":*?\"<>|") != std::string::npos) name = "ZephyraSetup.exe";
    const std::string installer = work + name;
    if (!Fetch(renova::InstallerAddress(feed, offer->installer), installer))
        return check.Done(2, "The installer of Zephyra " + offered + " could not be fetched.");
    const auto started = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", installer.c_str(), silent ? "/S" : nullptr, work.c_str(), SW_SHOWNORMAL));
    if (started <= 32) return check.Done(2, "The installer of Zephyra " + offered + " could not be started.");
    return check.Done(1, "The installer of Zephyra " + offered + " was started.");
}
