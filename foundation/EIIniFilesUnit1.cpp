#include "foundation/EIIniFilesUnit1.h"

#include <map>
#include <mutex>
#include <vector>

#include "foundation/EIFunctionsBase.h"
#include "platform/Services.h"

namespace foundation {
namespace {

// Locks this thread holds, by file, with their nesting depth; made with the
// first lock and freed with the last (a module's thread storage must need no
// destructor at the thread's end).
thread_local std::map<std::string, int>* heldLocks = nullptr;

std::mutex sharedMutex;
std::unique_ptr<TEIIniFile> sharedIni;
// Instances replaced by a reopen stay alive until unload: another window's
// thread may still be using the reference it was given (they hold only a name).
std::vector<std::unique_ptr<TEIIniFile>> retiredIni;

// Runs a write under the file's lock; a failed write keeps the file as it was
// and is not reported.
template <class Write>
void LockedWrite(const std::string& fileName, Write write) {
    try {
        ScopedIniLock lock(fileName);
        write();
    } catch (const std::exception&) {
    }
}

}  // namespace

ScopedIniLock::ScopedIniLock(const std::string& fileName) : key_(rt::LowerCase(fileName)) {
    if (!heldLocks) heldLocks = new std::map<std::string, int>();
    int& depth = (*heldLocks)[key_];
    if (depth == 0) {
        try {
            hold_ = platform::FileLocks().Lock(fileName);
        } catch (...) {
            Release();
            throw;
        }
    }
    ++depth;
}

ScopedIniLock::~ScopedIniLock() {
    if (heldLocks) {
        auto it = heldLocks->find(key_);
        if (it != heldLocks->end()) --it->second;
    }
    Release();
}

void ScopedIniLock::Release() {
    if (!heldLocks) return;
    auto it = heldLocks->find(key_);
    if (it != heldLocks->end() && it->second <= 0) heldLocks->erase(it);
    if (heldLocks->empty()) {
        delete heldLocks;
        heldLocks = nullptr;
    }
}

void TEIIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    LockedWrite(FileName(), [&] { rt::TIniFile::WriteString(section, key, value); });
}

void TEIIniFile::EraseSection(const std::string& section) {
    LockedWrite(FileName(), [&] {
        // The profile services erase the first section of a name; a second
        // one of the same name would then come back on the next read.
        rt::TStringList sections;
        ReadSections(sections);
        for (int tries = sections.Count() + 1; tries > 0; --tries) {
            rt::TIniFile::EraseSection(section);
            ReadSections(sections);
            bool left = false;
            for (int i = 0; i < sections.Count() && !left; ++i) left = rt::SameText(sections[i], section);
            if (!left) break;
        }
    });
}

void TEIIniFile::DeleteKey(const std::string& section, const std::string& key) {
    LockedWrite(FileName(), [&] { rt::TIniFile::DeleteKey(section, key); });
}

void TEIIniFile::WriteSectionValues(const std::string& section, const rt::TStringList& lines) {
    LockedWrite(FileName(), [&] { rt::TIniFile::WriteSectionValues(section, lines); });
}

int TEIIniFile::KeyCount(const std::string& section) {
    rt::TStringList keys;
    ReadSection(section, keys);
    return keys.Count();
}

void TEIIniFile::ReadList(const std::string& section, rt::TStringList& list) {
    list.Clear();
    const int count = KeyCount(section);
    for (int i = 0; i < count; ++i) list.Add(ReadString(section, std::to_string(i), ""));
}

bool TEIIniFile::ReadBoolStr(const std::string& section, const std::string& key, bool defaultValue) {
    try {
        return TextToBool(ReadString(section, key, BoolToText(defaultValue)));
    } catch (...) {
        return defaultValue;
    }
}

void TEIIniFile::WriteBoolStr(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, BoolToText(value));
}

void TEIIniFile::CopySection(const std::string& section, TEIIniFile& source, bool overwrite) {
    ScopedIniLock lock(FileName());
    if (!overwrite && KeyCount(section) > 0) return;
    EraseSection(section);
    rt::TStringList keys;
    source.ReadSection(section, keys);
    for (int i = 0; i < keys.Count(); ++i) WriteString(section, keys[i], source.ReadString(section, keys[i], ""));
}

void TEIIniFile::ReadChecks(const std::string& section, rt::TListView& listView) {
    rt::TStringList values;
    ReadList(section, values);
    rt::TListItems& items = listView.Items();
    items.BeginUpdate();
    try {
        for (int i = 0; i < items.Count(); ++i) items[i].Checked = i < values.Count() && TextToBool(values[i]);
    } catch (...) {
        items.EndUpdate();
        throw;
    }
    items.EndUpdate();
}

void TEIIniFile::WriteNamedList(const std::string& section, const rt::TStringList& names,
                                const rt::TStringList& values) {
    ScopedIniLock lock(FileName());
    EraseSection(section);
    for (int i = 0; i < names.Count(); ++i) WriteString(section, names[i], values[i]);
}

TEIIniFile& SharedIniFile(const std::string& fileName) {
    std::lock_guard<std::mutex> guard(sharedMutex);
    if (!fileName.empty() && sharedIni) retiredIni.push_back(std::move(sharedIni));
    if (!sharedIni) sharedIni = std::make_unique<TEIIniFile>(fileName.empty() ? ModuleIniFileName() : fileName);
    return *sharedIni;
}

void FreeSharedIniFile() {
    std::lock_guard<std::mutex> guard(sharedMutex);
    sharedIni.reset();
    retiredIni.clear();
}

}  // namespace foundation
