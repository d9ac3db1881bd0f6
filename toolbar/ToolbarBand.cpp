#include "toolbar/ToolbarBand.h"

#include "platform/Services.h"

namespace toolbar {

void FillBandInfo(TBandInfo& info, int formWidth, int formHeight, bool firstRun) {
    using namespace bandinfo;
    if (info.mask & MinSize) info.minSize = {BandMinWidth, BandMinHeight + 2};
    if (info.mask & MaxSize) info.maxSize = {-1, -1};
    if (info.mask & Integral) info.integral = {1, 1};
    if (info.mask & Actual) info.actual = {formWidth, formHeight};
    if (info.mask & ModeFlags) info.modeFlags = ModeNormal | (firstRun ? ModeBreak : 0);
    info.mask &= ~BackColor;
}

TBandMenuCommand BandMenuCommandFor(bool verbIsText, unsigned offset, unsigned reportedCount) {
    if (verbIsText || reportedCount == 0 || offset > reportedCount - 1) return TBandMenuCommand::Refused;
    switch (offset) {
        case 0: return TBandMenuCommand::BandInfoChanged;
        case 1: return TBandMenuCommand::HomePage;
        case BandMenuAboutOffset: return TBandMenuCommand::About;
        default: return TBandMenuCommand::Refused;
    }
}

namespace {

using platform::RegRoot;
using platform::RegValue;

constexpr const char* kDeskBandCategory = "{00021492-0000-0000-C000-000000000046}";
constexpr const char* kBrowserToolbarKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";

struct ValueHome {
    RegRoot root;
    const char* key;
};
// Where the browser keeps the band: its toolbar list and the per-user layouts.
constexpr ValueHome kBandValues[] = {
    {RegRoot::LocalMachine, "Software\\Microsoft\\Internet Explorer\\Toolbar"},
    {RegRoot::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Toolbar\\ShellBrowser"},
    {RegRoot::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser"},
    {RegRoot::Users,
     "S-1-5-21-613840927-1295078436-1847362059-1000\\Software\\Microsoft\\Internet Explorer\\Toolbar\\ShellBrowser"},
    {RegRoot::Users,
     "S-1-5-21-613840927-1295078436-1847362059-1000\\Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser"},
};

std::string ClassKey() { return std::string("CLSID\\") + ToolbarBandClassId; }

RegValue OneZeroByte() {
    RegValue value;
    value.type = platform::RegType::Binary;
    value.bytes = {0x00};
    return value;
}

// A key that cannot be made is skipped: its value is not written.
void WriteIn(RegRoot root, const std::string& key, const std::string& name, const RegValue& value) {
    auto& registry = platform::Registry();
    if (registry.CreateKey(root, key)) registry.WriteValue(root, key, name, value);
}

}  // namespace

void UpdateToolbarBandRegistry(bool doRegister, const std::string& serverPath) {
    auto& registry = platform::Registry();
    const std::string server = ClassKey() + "\\InprocServer32";
    if (doRegister) {
        // The standard in-process entries, then the band's own.
        WriteIn(RegRoot::ClassesRoot, ClassKey(), "", RegValue::String(ToolbarBandDescription));
        WriteIn(RegRoot::ClassesRoot, server, "", RegValue::String(serverPath));
        WriteIn(RegRoot::ClassesRoot, ClassKey(), "", RegValue::String(ToolbarBandMenuName));
        WriteIn(RegRoot::ClassesRoot, server, "ThreadingModel", RegValue::String("Apartment"));
        WriteIn(RegRoot::LocalMachine, kBrowserToolbarKey, ToolbarBandClassId, OneZeroByte());
        return;
    }
    // The shell's cached list of desk bands, then the class with its categories
    // (the standard in-process entries among them).
    registry.DeleteKey(RegRoot::ClassesRoot, std::string("Component Categories\\") + kDeskBandCategory + "\\Enum");
    registry.DeleteKey(RegRoot::ClassesRoot, ClassKey() + "\\Implemented Categories\\" + kDeskBandCategory);
    registry.DeleteKey(RegRoot::ClassesRoot, server);
    registry.DeleteKey(RegRoot::ClassesRoot, ClassKey());
    for (const ValueHome& home : kBandValues)
        if (registry.KeyExists(home.root, home.key)) registry.DeleteValue(home.root, home.key, ToolbarBandClassId);
}

}  // namespace toolbar
