#pragma once
// What the toolbar band decides for the browser's calls, apart from COM:
// the band information it reports, its focus bookkeeping, the commands of
// its context menu and its registry entries. The COM class in win32/ only
// translates between these and the browser's interfaces.
#include <string>

namespace toolbar {

inline constexpr const char* ToolbarBandClassId = "{7A33D136-248C-4BA5-B72D-BB68F4AD9039}";
inline constexpr const char* ToolbarBandDescription = "Zephyra";
// The name the browser lists in its toolbar menu ("&": the accelerator).
inline constexpr const char* ToolbarBandMenuName = "&Zephyra";

// ------------------------------------------------------------ band information

// The members of the browser's band information, by their mask bits.
namespace bandinfo {
inline constexpr unsigned MinSize = 0x1;
inline constexpr unsigned MaxSize = 0x2;
inline constexpr unsigned Integral = 0x4;
inline constexpr unsigned Actual = 0x8;
inline constexpr unsigned Title = 0x10;
inline constexpr unsigned ModeFlags = 0x20;
inline constexpr unsigned BackColor = 0x40;

inline constexpr unsigned ModeNormal = 0x0;
inline constexpr unsigned ModeBreak = 0x100;  // a row of its own
}  // namespace bandinfo

inline constexpr int BandMinWidth = 250;   // the form's minimum width
inline constexpr int BandMinHeight = 21;   // the form's minimum height; the band asks 2 more

struct TBandPoint {
    long x = 0;
    long y = 0;
    bool operator==(const TBandPoint&) const = default;
};

struct TBandInfo {
    unsigned mask = 0;
    TBandPoint minSize, maxSize, integral, actual;
    unsigned modeFlags = 0;
};

// Fills the members the mask asks for and nothing else; the title is never
// written and the background-colour bit is cleared (the default background).
// On the first run the band starts on a row of its own.
void FillBandInfo(TBandInfo& info, int formWidth, int formHeight, bool firstRun);

// ------------------------------------------------------------ focus

// Whether the band holds the keyboard focus, and whether a change is told to
// the site (the site's OnFocusChangeIS with the new state).
class TBandFocus {
public:
    bool Has() const { return has_; }
    // The browser shows or hides the band: told.
    bool Show(bool shown) { return Set(shown, true); }
    // The browser activates or deactivates the band itself: not told back.
    bool UIActivate(bool active) { return Set(active, false); }
    // One of the form's controls was made, destroyed or clicked: the band has the focus, told.
    bool ChildNotified() { return Set(true, true); }

private:
    bool Set(bool has, bool tell) {
        has_ = has;
        return tell;
    }
    bool has_ = false;
};

// ------------------------------------------------------------ context menu

inline constexpr const char* BandMenuAboutCaption = "About...";
inline constexpr unsigned BandMenuAboutOffset = 2;
inline constexpr unsigned BandMenuCommandCount = 3;  // offsets 0 to 2 are the band's
inline constexpr const char* BandAboutText = "Band Objects ver. 1.1";

enum class TBandMenuCommand { Refused, BandInfoChanged, HomePage, About };

// The command of a context-menu invocation: a verb given as text, or an
// offset beyond what the last menu reported, is refused.
TBandMenuCommand BandMenuCommandFor(bool verbIsText, unsigned offset, unsigned reportedCount);

// ------------------------------------------------------------ registration

// Writes the band's class (server path, "Apartment") and its entry in the
// browser's toolbar list, or removes them with the browser's cached layout
// of the band. Keys that cannot be opened are skipped and removals ignore
// errors: unregistering where nothing is registered succeeds.
void UpdateToolbarBandRegistry(bool doRegister, const std::string& serverPath);

}  // namespace toolbar
