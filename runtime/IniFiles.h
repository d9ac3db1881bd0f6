#pragma once
// The runtime's INI-file classes: the abstract TCustomIniFile and TIniFile,
// which works directly on the file through the platform's profile services
// (every read asks the file, every write goes to the file at once).
#include <string>

#include "runtime/Classes.h"
#include "runtime/DateUtils.h"

namespace rt {

class TCustomIniFile : public TObject {
    RT_CLASS_SAME_PROPS(TCustomIniFile, TObject)
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    virtual std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) = 0;
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    // Decimal or "$"/"0x" hex; anything else gives the default.
    virtual int ReadInteger(const std::string& section, const std::string& key, int defaultValue);
    virtual void WriteInteger(const std::string& section, const std::string& key, int value);
    // Stored as "1" or "0"; any other number is true, a non-number the default.
    virtual bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);
    virtual void WriteBool(const std::string& section, const std::string& key, bool value);
    virtual TDateTime ReadDate(const std::string& section, const std::string& key, TDateTime defaultValue);
    virtual void WriteDate(const std::string& section, const std::string& key, TDateTime value);
    virtual double ReadFloat(const std::string& section, const std::string& key, double defaultValue);
    virtual void WriteFloat(const std::string& section, const std::string& key, double value);

    // The section's key names in file order.
    virtual void ReadSection(const std::string& section, TStringList& keys) = 0;
    virtual void ReadSections(TStringList& sections) = 0;
    // The section's "key=value" lines.
    virtual void ReadSectionValues(const std::string& section, TStringList& lines) = 0;
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& key) = 0;
    virtual void UpdateFile() = 0;

    bool SectionExists(const std::string& section);
    bool ValueExists(const std::string& section, const std::string& key);

private:
    std::string fileName_;
};

class TIniFile : public TCustomIniFile {
    RT_CLASS_SAME_PROPS(TIniFile, TCustomIniFile)
public:
    using TCustomIniFile::TCustomIniFile;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) override;
    // Raises EIniFileException "Unable to write to %s" when the file cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void ReadSection(const std::string& section, TStringList& keys) override;
    void ReadSections(TStringList& sections) override;
    void ReadSectionValues(const std::string& section, TStringList& lines) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& key) override;
    void UpdateFile() override;
    // Replaces a section's content with "key=value" lines in one call.
    virtual void WriteSectionValues(const std::string& section, const TStringList& lines);
};

class EIniFileException : public Exception { using Exception::Exception; };

}  // namespace rt
