#include "runtime/IniFiles.h"

#include "platform/Services.h"
#include "runtime/Format.h"
#include "runtime/Internal.h"

namespace rt {

// ---------------------------------------------------------- TCustomIniFile

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) {
    return StrToIntDef(ReadString(section, key, ""), defaultValue);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

TDateTime TCustomIniFile::ReadDate(const std::string& section, const std::string& key, TDateTime defaultValue) {
    const std::string text = ReadString(section, key, "");
    TDateTime value = 0;
    return !text.empty() && TryStrToDate(text, value) ? value : defaultValue;
}

void TCustomIniFile::WriteDate(const std::string& section, const std::string& key, TDateTime value) {
    WriteString(section, key, DateToStr(value));
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& key, double defaultValue) {
    double value = 0;
    return detail::TextToFloat(ReadString(section, key, ""), value) ? value : defaultValue;
}

void TCustomIniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
    WriteString(section, key, FloatToStr(value));
}

bool TCustomIniFile::SectionExists(const std::string& section) {
    TStringList keys;
    ReadSection(section, keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& key) {
    TStringList keys;
    ReadSection(section, keys);
    return keys.IndexOf(key) >= 0;
}

// ---------------------------------------------------------------- TIniFile


std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) {
    return platform::Profiles().ReadString(FileName(), section, key, defaultValue);
}

namespace {
void CheckWritten(bool written, const std::string& fileName) {
    if (!written) throw EIniFileException(Format("Unable to write to %s", {fileName}));
}
}  // namespace

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    CheckWritten(platform::Profiles().WriteString(FileName(), section, key, value), FileName());
}

void TIniFile::ReadSection(const std::string& section, TStringList& keys) {
    keys.SetStrings(platform::Profiles().ReadKeys(FileName(), section));
}

void TIniFile::ReadSections(TStringList& sections) {
    sections.SetStrings(platform::Profiles().ReadSectionNames(FileName()));
}

void TIniFile::ReadSectionValues(const std::string& section, TStringList& lines) {
    lines.SetStrings(platform::Profiles().ReadSectionLines(FileName(), section));
}

void TIniFile::EraseSection(const std::string& section) {
    CheckWritten(platform::Profiles().EraseSection(FileName(), section), FileName());
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    CheckWritten(platform::Profiles().DeleteKey(FileName(), section, key), FileName());
}

void TIniFile::UpdateFile() { platform::Profiles().Flush(FileName()); }

void TIniFile::WriteSectionValues(const std::string& section, const TStringList& lines) {
    CheckWritten(platform::Profiles().WriteSectionLines(FileName(), section, lines.ToVector()), FileName());
}

}  // namespace rt
