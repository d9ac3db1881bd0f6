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

namespace {
void CheckWritten(bool written, const std::string& fileName) {
    if (!written) throw EIniFileException(Format("Unable to write to %s", {fileName}));
}

// A line break in a section, key or value would start a line of its own in
// the file, and so could forge sections and keys: each one becomes a space.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}
}  // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) {
    // Names are written on one line, so they are looked up the same way.
    return platform::Profiles().ReadString(FileName(), OneLine(section), OneLine(key), defaultValue);
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    CheckWritten(platform::Profiles().WriteString(FileName(), OneLine(section), OneLine(key), OneLine(value)),
                 FileName());
}

void TIniFile::ReadSection(const std::string& section, TStringList& keys) {
    keys.SetStrings(platform::Profiles().ReadKeys(FileName(), OneLine(section)));
}

void TIniFile::ReadSections(TStringList& sections) {
    sections.SetStrings(platform::Profiles().ReadSectionNames(FileName()));
}

void TIniFile::ReadSectionValues(const std::string& section, TStringList& lines) {
    lines.SetStrings(platform::Profiles().ReadSectionLines(FileName(), OneLine(section)));
}

void TIniFile::EraseSection(const std::string& section) {
    CheckWritten(platform::Profiles().EraseSection(FileName(), OneLine(section)), FileName());
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    CheckWritten(platform::Profiles().DeleteKey(FileName(), OneLine(section), OneLine(key)), FileName());
}

void TIniFile::UpdateFile() { platform::Profiles().Flush(FileName()); }

void TIniFile::WriteSectionValues(const std::string& section, const TStringList& lines) {
    std::vector<std::string> oneLines = lines.ToVector();
    for (std::string& line : oneLines) line = OneLine(std::move(line));
    CheckWritten(platform::Profiles().WriteSectionLines(FileName(), OneLine(section), oneLines), FileName());
}

}  // namespace rt
