#include "popupblocker/BHOPopups.h"

#include <atomic>
#include <mutex>

#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "popupblocker/BHOAppHelper.h"
#include "popupblocker/EICursorManager.h"

namespace popupblocker {
namespace {

// Shared by every window of the process: a block in one window quiets the next in another.
std::atomic<std::int64_t> lastNotifyTick{-1};

// Browser windows may run on threads of their own and the flash ends on the
// timer's thread: one flash operation at a time keeps the saved cursors whole.
std::recursive_mutex flashMutex;

struct BlockedCursor {
    int id;
    const char* file;
};

constexpr BlockedCursor kBlockedCursors[] = {
    {ocr::Normal, "ARROW_BLOCKED.cur"},      {ocr::Hand, "HAND_BLOCKED.cur"},
    {ocr::IBeam, "EDIT_BLOCKED.cur"},        {ocr::Wait, "ARROW_BLOCKED.cur"},
    {ocr::AppStarting, "ARROW_BLOCKED.cur"},
};

}  // namespace

std::int64_t LastNotifyTick() { return lastNotifyTick.load(); }
void ResetNotifyStamp() { lastNotifyTick = -1; }

void DoNewWindow2(bool& cancel) {
    try {
        if (foundation::IsModifierKeyDown()) return;  // the user asked for this window
        cancel = true;
        if (foundation::TakeFirstTimeBlockingPopup()) ShowFirstPopupBlockedNotice();
        NotifyPopupKilled();
    } catch (const std::exception& error) {
        ReportException("DoNewWindow2", error);
    }
}

void ShowFirstPopupBlockedNotice() {
    foundation::RunProgram(foundation::PathInModuleFolder(NoticeProgram), FirstBlockNoticePage,
                           platform::show::Normal);
}

void NotifyPopupKilled() {
    try {
        if (RecentlyNotified()) return;
        if (foundation::PlaySoundWhenBlockingPopup()) PlayBlockedPopupSound();
        if (foundation::ShowBlockedCursorWhenBlockingPopup()) ShowBlockedCursor();
    } catch (const std::exception& error) {
        ReportException("NotifyPopupKilled", error);
    }
}

bool RecentlyNotified() {
    try {
        const std::uint32_t tick = platform::Clock().TickCount();
        const std::int64_t previous = lastNotifyTick.exchange(tick);
        if (previous < 0) return false;  // nothing signalled since the module loaded
        // Elapsed time modulo 2^32, so the quiet time holds across the tick count's wrap-around.
        const std::int64_t elapsed = static_cast<std::uint32_t>(tick - static_cast<std::uint32_t>(previous));
        return elapsed < NotifyQuietTime;
    } catch (const std::exception& error) {
        ReportException("RecentlyNotified", error);
        return true;
    }
}

void PlayBlockedPopupSound() {
    try {
        foundation::BugWatcher().LogTick("PlayBlockedPopupSound");
        platform::Sound().PlayModuleWave(BlockedSoundResource);
    } catch (const std::exception& error) {
        ReportException("PlayBlockedPopupSound", error);
    }
}

void ShowBlockedCursor() {
    try {
        std::lock_guard<std::recursive_mutex> lock(flashMutex);
        TBHOFormlessAppHelper* helper = AppHelper();
        if (!helper || helper->CursorTimer.Running()) return;  // one flash at a time, never prolonged
        foundation::BugWatcher().LogTick("ShowBlockedCursor");
        ReplaceCursors();
        helper->CursorTimer.SetEnabled(true);
    } catch (const std::exception& error) {
        ReportException("ShowBlockedCursor", error);
    }
}

void ReplaceCursors() {
    try {
        std::lock_guard<std::recursive_mutex> lock(flashMutex);
        TEICursorManager& manager = CursorManager();
        for (const auto& cursor : kBlockedCursors)
            manager.ReplaceCursorFromFile(cursor.id, foundation::MediaFilePath(cursor.file));
    } catch (const std::exception& error) {
        ReportException("ReplaceCursors", error);
    }
}

void RestoreCursors() {
    try {
        std::lock_guard<std::recursive_mutex> lock(flashMutex);
        TEICursorManager& manager = CursorManager();
        if (manager.RestoreAll() > 0) return;
        for (const auto& cursor : kBlockedCursors) manager.RestoreCursor(cursor.id);
    } catch (const std::exception& error) {
        ReportException("RestoreCursors", error);
    }
}

void DoOnQuit() {
    try {
        if (foundation::ShowBlockedCursorWhenBlockingPopup()) RestoreCursors();
    } catch (const std::exception& error) {
        ReportException("DoOnQuit", error);
    }
}

}  // namespace popupblocker
