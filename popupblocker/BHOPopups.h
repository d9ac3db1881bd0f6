#pragma once
// What the helper does with a new-window request and the browser's quit:
// cancel the window unless a modifier key is held, and tell the user with
// the first-block notice, a sound and a short flash of blocked cursors.
#include <cstdint>
#include <string>

namespace popupblocker {

inline constexpr std::uint32_t NotifyQuietTime = 1300;
inline constexpr const char* BlockedSoundResource = "POPUP_BLOCKED";
inline constexpr const char* NoticeProgram = "Notelle.exe";
inline constexpr const char* FirstBlockNoticePage = "FIRSTPOPUPBLOCKED";

// `cancel` is set when the window must not open; it stays set whatever fails afterwards.
void DoNewWindow2(bool& cancel);
void DoOnQuit();
void NotifyPopupKilled();
// True when the previous call was less than the quiet time ago; renews the stamp.
bool RecentlyNotified();
void PlayBlockedPopupSound();
void ShowBlockedCursor();
void ReplaceCursors();
void RestoreCursors();
void ShowFirstPopupBlockedNotice();

// The tick of the previous RecentlyNotified, or -1 before the first (module load).
std::int64_t LastNotifyTick();
void ResetNotifyStamp();

}  // namespace popupblocker
