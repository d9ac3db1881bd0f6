// HostProfileFiles: the profile services over files of this machine, with the
// rules of wine's kernel32 (see ProfileText.h).
//
// Every call reads the file afresh (wine re-reads a file written in the last
// two seconds, so sequences of calls see the same thing); only the parse of
// bytes seen a moment ago is kept (ParsedFiles), and every
// write that changes the model regenerates the whole file and replaces it
// atomically (temporary file in the same folder, then rename). A write that
// changes nothing leaves the file alone, and a missing file stays missing.
//
// A write returns false, leaving the file as it was, when the folder does not
// exist (kernel32 does not create folders), when the file is read-only, or
// when the new content cannot be put in place (a read-only folder included).
// Calls of one process run one at a time (wine's PROFILE_CritSect); between
// processes a caller holds IFileLocks.
#include <algorithm>
#include <filesystem>
#include <memory>
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

// The documents parsed last, with the bytes they came from. A call still reads
// the file each time and uses a parse only for exactly those bytes: a form's
// save and reload make ten calls on one file, and parsing, not reading, is
// what grows with it. Guarded by ProfileMutex.
class ParsedFiles {
public:
    std::shared_ptr<const profile::Document> Parse(const std::string& nativePath, std::string bytes) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->path == nativePath && it->bytes == bytes) {
                std::rotate(entries_.begin(), it, it + 1);
                return entries_.front().document;
            }
        }
        auto document = std::make_shared<const profile::Document>(profile::Document::Parse(bytes));
        std::erase_if(entries_, [&](const Entry& e) { return e.path == nativePath; });
        entries_.insert(entries_.begin(), Entry{nativePath, std::move(bytes), document});
        if (entries_.size() > kKept) entries_.pop_back();
        return document;
    }

private:
    static constexpr std::size_t kKept = 4;
    struct Entry {
        std::string path, bytes;
        std::shared_ptr<const profile::Document> document;
    };
    std::vector<Entry> entries_;
};

ParsedFiles& Parsed() {
    static ParsedFiles parsed;
    return parsed;
}

std::shared_ptr<const profile::Document> Load(const std::string& nativePath) {
    std::optional<std::string> bytes = ReadWholeFile(nativePath);
    return Parsed().Parse(nativePath, bytes ? std::move(*bytes) : std::string());
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
    profile::Document doc = *Parsed().Parse(nativePath, std::move(bytes));
    if (!change(doc)) return true;  // nothing changed: nothing written
    // The next call parses what was written: a document is not always what
    // its own text reads back as (a value holding a line break).
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
    return Load(mapper_(file))->ReadString(section, key, defaultValue);
}

std::vector<std::string> HostProfileFiles::ReadKeys(const std::string& file, const std::string& section) {
    std::lock_guard<std::mutex> lock(ProfileMutex());
    return Load(mapper_(file))->Keys(section);
}

std::vector<std::string> HostProfileFiles::ReadSectionNames(const std::string& file) {
    std::lock_guard<std::mutex> lock(ProfileMutex());
    return Load(mapper_(file))->SectionNames();
}

std::vector<std::string> HostProfileFiles::ReadSectionLines(const std::string& file, const std::string& section) {
    std::lock_guard<std::mutex> lock(ProfileMutex());
    return Load(mapper_(file))->SectionLines(section);
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
    // Every write is on disk when the call returns; parses are kept only
    // with the bytes they came from.
}

}  // namespace platform::host
