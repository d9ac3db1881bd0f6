// HostProfileFiles: the profile services over files of this machine, with the
// rules of wine's kernel32 (see ProfileText.h).
//
// Every call reads the file afresh (no cache: wine re-reads a file written in
// the last two seconds, so sequences of calls see the same thing), and every
// write that changes the model regenerates the whole file and replaces it
// atomically (temporary file in the same folder, then rename). A write that
// changes nothing leaves the file alone, and a missing file stays missing.
//
// A write returns false, leaving the file as it was, when the folder does not
// exist (kernel32 does not create folders), when the file is read-only, or
// when the new content cannot be put in place (a read-only folder included).
// Calls of one process run one at a time (wine's PROFILE_CritSect); between
// processes a caller holds IFileLocks.
#include <filesystem>
#include <mutex>
#include <system_error>

#include "platform/host/HostFileUtil.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/ProfileText.h"

namespace fs = std::filesystem;

namespace platform::host {
namespace {

std::mutex& ProfileMutex() {
    static std::mutex mutex;
    return mutex;
}

profile::Document Load(const std::string& nativePath) {
    std::optional<std::string> bytes = ReadWholeFile(nativePath);
    return profile::Document::Parse(bytes ? *bytes : std::string());
}

// PROFILE_Open with write access, then the change, then PROFILE_FlushFile.
template <typename Change>
bool Modify(const std::string& nativePath, Change change) {
    std::lock_guard<std::mutex> lock(ProfileMutex());
    std::error_code ec;
    fs::path path(nativePath);
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    if (!fs::is_directory(folder, ec)) return false;  // ERROR_PATH_NOT_FOUND
    std::string bytes;
    if (fs::exists(path, ec)) {
        if (!fs::is_regular_file(path, ec) || IsNativeReadOnly(nativePath)) return false;  // access denied
        std::optional<std::string> read = ReadWholeFile(nativePath);
        if (!read) return false;
        bytes = std::move(*read);
    }
    profile::Document doc = profile::Document::Parse(bytes);
    if (!change(doc)) return true;  // nothing changed: nothing written
    return WriteFileAtomically(nativePath, doc.Serialize());
}

}  // namespace

HostProfileFiles::HostProfileFiles(PathMapper mapper) {
    if (!mapper) mapper = [](const std::string& path) { return path; };
    // Like the Windows profile services, a name without a folder means a file
    // in the Windows folder.
    mapper_ = [mapper = std::move(mapper)](const std::string& file) {
        const bool bare = file.find_first_of("\\/:") == std::string::npos;
        return mapper(bare ? "c:\\windows\\" + file : file);
    };
}

std::string HostProfileFiles::ReadString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& defaultValue) {
    std::lock_guard<std::mutex> lock(ProfileMutex());
    return Load(mapper_(file)).ReadString(section, key, defaultValue);
}

std::vector<std::string> HostProfileFiles::ReadKeys(const std::string& file, const std::string& section) {
    std::lock_guard<std::mutex> lock(ProfileMutex());
    return Load(mapper_(file)).Keys(section);
}

std::vector<std::string> HostProfileFiles::ReadSectionNames(const std::string& file) {
    std::lock_guard<std::mutex> lock(ProfileMutex());
    return Load(mapper_(file)).SectionNames();
}

std::vector<std::string> HostProfileFiles::ReadSectionLines(const std::string& file, const std::string& section) {
    std::lock_guard<std::mutex> lock(ProfileMutex());
    return Load(mapper_(file)).SectionLines(section);
}

bool HostProfileFiles::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& value) {
    return Modify(mapper_(file), [&](profile::Document& doc) { return doc.WriteString(section, key, value); });
}

bool HostProfileFiles::DeleteKey(const std::string& file, const std::string& section, const std::string& key) {
    return Modify(mapper_(file), [&](profile::Document& doc) { return doc.DeleteKey(section, key); });
}

bool HostProfileFiles::EraseSection(const std::string& file, const std::string& section) {
    return Modify(mapper_(file), [&](profile::Document& doc) { return doc.EraseSection(section); });
}

bool HostProfileFiles::WriteSectionLines(const std::string& file, const std::string& section,
                                         const std::vector<std::string>& lines) {
    return Modify(mapper_(file), [&](profile::Document& doc) { return doc.WriteSection(section, lines); });
}

void HostProfileFiles::Flush(const std::string& /*file*/) {
    // Nothing is cached: every write is on disk when the call returns.
}

}  // namespace platform::host
