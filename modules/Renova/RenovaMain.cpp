// Renova.exe [/S]: the updater. It reads the installed version and the feed's
// address from "Renova.ini" beside itself, reads the offer at that address
// (https, or a local folder for mirrors and tests), and when the offer is
// newer and signed by the vendor, fetches its installer from the feed's own
// host, checks that it is the very file the vendor signed and starts it,
// silently ("/S") when it was itself started with "/S". Without "/S" the user
// is told the result and asked before installing. Every check is recorded in
// the "Update" section. Exit codes: 0 nothing to install, 1 installer started,
// 2 the check failed or the offer was refused.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <urlmon.h>

#include <cstdio>
#include <string>

#include "updater/UpdateOffer.h"
#ifdef ZR_TEST_UPDATE_KEYS
#include "TestUpdateKeys.h"
#else
#include "updater/VendorKey.h"
#endif

namespace {

constexpr const char* kDefaultFeed = "https://www.zephyratoolbar.com/update/renova.ini";
constexpr const char* kTitle = "Zephyra Update";
constexpr DWORD kMaxFeedBytes = 64 * 1024;

// The one key whose offers are believed: built into the program.
updater::RsaPublicKey TrustedKey() {
#ifdef ZR_TEST_UPDATE_KEYS
    return {*updater::BytesFromHex(zrtest::TestUpdateKeyModulus), 65537};
#else
    return {*updater::BytesFromHex(updater::VendorUpdateKeyModulus), updater::VendorUpdateKeyExponent};
#endif
}

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

// Copies the file at `address` (file:// or https) to `target`.
bool Fetch(const std::string& address, const std::string& target) {
    ::DeleteFileA(target.c_str());
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

// A downloaded installer held open so that nobody can write or replace it
// between the check of its digest and its start.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle_(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {}
    ~HeldFile() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // The lower-case hexadecimal SHA-256 of the whole file; empty when unreadable.
    std::string Sha256() {
        if (handle_ == INVALID_HANDLE_VALUE) return "";
        updater::Sha256 hash;
        static char chunk[64 * 1024];
        DWORD read = 0;
        do {
            if (!::ReadFile(handle_, chunk, sizeof chunk, &read, nullptr)) return "";
            hash.Update(chunk, read);
        } while (read > 0);
        const updater::Digest digest = hash.Final();
        return updater::HexText(digest.data(), digest.size());
    }

private:
    HANDLE handle_;
};

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

    const auto installed = updater::ParseVersion(IniText(ini, "ProductInfo", "version"));
    if (!installed) return check.Done(2, "The installed version is not known.");
    const std::string feed = IniText(ini, "Update", "Feed", kDefaultFeed);
    if (!updater::IsAllowedFeedAddress(feed)) return check.Done(2, "The update address is not a secure address.");

    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string work = std::string(temp) + "ZephyraUpdate\\";
    ::CreateDirectoryA(work.c_str(), nullptr);
    const std::string feedCopy = work + "offer.ini";
    if (!Fetch(feed, feedCopy)) return check.Done(2, "The update information could not be read.");
    const auto offer = updater::ParseFeed(ReadSmallFile(feedCopy));
    ::DeleteFileA(feedCopy.c_str());
    if (!offer) return check.Done(2, "The update information is not understood.");
    if (offer->version <= *installed)
        return check.Done(0, "Zephyra " + updater::VersionText(*installed) + " is up to date.");

    const std::string offered = "Zephyra " + updater::VersionText(offer->version);
    if (!updater::IsSignedBy(*offer, TrustedKey()))
        return check.Done(2, "The update information of " + offered + " is not signed by the vendor; nothing was installed.");
    const auto source = updater::InstallerSourceFor(feed, offer->installer);
    if (!source)
        return check.Done(2, "The offer of " + offered + " names an installer that is not allowed; nothing was installed.");

    if (!silent && ::MessageBoxA(nullptr, (offered + " is available. Install it now?").c_str(), kTitle,
                                 MB_YESNO | MB_ICONQUESTION) != IDYES)
        return check.Done(0, offered + " is available; not installed.");
    const std::string installer = work + source->name;
    if (!Fetch(source->address, installer)) {
        ::DeleteFileA(installer.c_str());
        return check.Done(2, "The installer of " + offered + " could not be fetched.");
    }
    std::string refusal;
    {
        HeldFile held(installer);
        if (held.Sha256() != offer->sha256) {
            refusal = "The installer of " + offered + " is not the one the vendor signed; it was deleted.";
        } else {
            // Started by its full path while still held, so what starts is what was checked.
            const auto started = reinterpret_cast<INT_PTR>(::ShellExecuteA(
                nullptr, "open", installer.c_str(), silent ? "/S" : nullptr, work.c_str(), SW_SHOWNORMAL));
            if (started > 32) return check.Done(1, "The installer of " + offered + " was started.");
            refusal = "The installer of " + offered + " could not be started.";
        }
    }
    ::DeleteFileA(installer.c_str());
    return check.Done(2, refusal);
}
