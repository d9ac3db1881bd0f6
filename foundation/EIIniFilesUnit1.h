#pragma once
// Write-through settings-file access shared by every module: nothing is
// cached, every read asks the file and every write goes to it at once, so
// the band, the helper object and the merge program each see the others'
// changes. Every write holds the file's cross-process lock, so writers in
// several processes never lose each other's keys.
#include <memory>
#include <string>

#include "platform/Profiles.h"
#include "runtime/ComCtrls.h"
#include "runtime/IniFiles.h"

namespace foundation {

// Holds the cross-process lock of a settings file for the life of the scope,
// so that a read-decide-write sequence is not interleaved with another
// writer. Nested scopes and writes on the same thread reuse the held lock.
class ScopedIniLock {
public:
    explicit ScopedIniLock(const std::string& fileName);
    ~ScopedIniLock();
    ScopedIniLock(const ScopedIniLock&) = delete;
    ScopedIniLock& operator=(const ScopedIniLock&) = delete;

private:
    void Release();  // forgets this file's entry once no lock of it is held
    std::string key_;
    std::unique_ptr<platform::IFileLockHold> hold_;
};

// The blanks the profile services trim from the ends of names and values.
inline bool IsProfileBlank(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u == 0x20 || (u >= 0x09 && u <= 0x0D) || u == 0x1A;
}

class TEIIniFile : public rt::TIniFile {
    RT_CLASS_SAME_PROPS(TEIIniFile, rt::TIniFile)
public:
    using rt::TIniFile::TIniFile;

    // Writes never report failure: a file that cannot be written keeps what it had.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& key) override;
    void WriteSectionValues(const std::string& section, const rt::TStringList& lines) override;

    int KeyCount(const std::string& section);
    // Items of a numbered list: keys "0" .. KeyCount-1, missing ones empty.
    void ReadList(const std::string& section, rt::TStringList& list);
    bool ReadBoolStr(const std::string& section, const std::string& key, bool defaultValue);
    void WriteBoolStr(const std::string& section, const std::string& key, bool value);
    // Copies `section` of `source` here; without `overwrite` a section that
    // already has keys is left alone.
    void CopySection(const std::string& section, TEIIniFile& source, bool overwrite);
    // Item i of the view is checked when the numbered list in `section` has an
    // item i that reads true; one update bracket of the view's items.
    virtual void ReadChecks(const std::string& section, rt::TListView& listView);
    // Erases `section`, then writes names[i]=values[i].
    virtual void WriteNamedList(const std::string& section, const rt::TStringList& names, const rt::TStringList& values);
};

// The module's shared instance. A non-empty name reopens it on that file; an
// empty name reuses the open one (or opens the module's own .ini file).
TEIIniFile& SharedIniFile(const std::string& fileName = "");
// Frees the shared instance (module unload).
void FreeSharedIniFile();

}  // namespace foundation
