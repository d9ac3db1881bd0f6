// What a new-window request and the browser's quit lead to.
#include <gtest/gtest.h>

#include "PopupBlockerFixture.h"
#include "platform/Desktop.h"
#include "popupblocker/BHOPopups.h"

using namespace popupblocker;

namespace {

constexpr int kReplaced[] = {ocr::Normal, ocr::Hand, ocr::IBeam, ocr::Wait, ocr::AppStarting};

class PopupDecisions : public PopupBlockerTest {
protected:
    bool Block() {
        bool cancel = false;
        DoNewWindow2(cancel);
        return cancel;
    }
    std::size_t Sounds() { return host_.sound->Played().size(); }
    std::string Shown(int id) { return host_.cursors->Origin(host_.cursors->Current(id)); }
    bool AllStandard() {
        for (int id : kReplaced)
            if (Shown(id).find("standard " + std::to_string(id)) == std::string::npos) return false;
        return true;
    }
};

TEST_F(PopupDecisions, ModifierKeysLetTheWindowOpenWithoutAnySignal) {
    SetUser("PlaySoundWhenBlockingPopup_Value", true);
    SetUser("ShowBlockedCursorWhenBlockingPopup_Value", true);
    for (int key : {platform::vk::Shift, platform::vk::Control, platform::vk::Menu}) {
        host_.keyboard->SetKeyDown(key, true);
        EXPECT_FALSE(Block()) << key;
        host_.keyboard->SetKeyDown(key, false);
    }
    EXPECT_EQ(Sounds(), 0u);
    EXPECT_TRUE(host_.shell->Starts().empty());
    EXPECT_TRUE(host_.timers->Running().empty());
    EXPECT_EQ(LastNotifyTick(), -1);
    EXPECT_TRUE(Block());
}

TEST_F(PopupDecisions, FirstBlockNoticeOncePerUserAcrossRestarts) {
    EXPECT_TRUE(Block());
    ASSERT_EQ(host_.shell->Starts().size(), 1u);
    const auto start = host_.shell->Starts()[0];
    EXPECT_EQ(start.file, InModule("Notelle.exe"));
    EXPECT_EQ(start.parameters, "FIRSTPOPUPBLOCKED");
    EXPECT_EQ(start.showCommand, 1);
    EXPECT_TRUE(Block());
    Restart();
    EXPECT_TRUE(Block());
    EXPECT_EQ(host_.shell->Starts().size(), 1u);

    // A missing notice program changes nothing for the block.
    SetUser("FirstTimeBlockingPopup_Value", true);
    host_.shell->SetResult(false);
    EXPECT_TRUE(Block());
    EXPECT_EQ(host_.shell->Starts().size(), 2u);
}

TEST_F(PopupDecisions, QuietTimeSignalsARunOfPopupsOnce) {
    SetUser("PlaySoundWhenBlockingPopup_Value", true);
    host_.clock->SetTickCount(50000);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Block());
        host_.clock->Advance(500);
    }
    EXPECT_EQ(Sounds(), 1u);
    host_.clock->Advance(1299 - 500);
    EXPECT_TRUE(Block());  // 1299 ms after the third
    EXPECT_EQ(Sounds(), 1u);
    host_.clock->Advance(1300);
    EXPECT_TRUE(Block());
    EXPECT_EQ(Sounds(), 2u);
    EXPECT_EQ(host_.sound->Played()[0], "POPUP_BLOCKED");
}

TEST_F(PopupDecisions, QuietTimeHoldsAcrossTheTickCountsWrapAndItsSignBit) {
    SetUser("PlaySoundWhenBlockingPopup_Value", true);
    for (std::uint32_t start : {0xFFFFFE00u, 0x7FFFFE00u, 0x80000000u, 0u}) {
        host_.clock->SetTickCount(start);
        ResetNotifyStamp();
        const std::size_t before = Sounds();
        Block();
        host_.clock->Advance(0x300);  // 768 ms: crosses 2^32 or 2^31 for the first two
        Block();
        EXPECT_EQ(Sounds(), before + 1) << std::hex << start;
        host_.clock->Advance(1300);
        Block();
        EXPECT_EQ(Sounds(), before + 2) << std::hex << start;
    }
}

TEST_F(PopupDecisions, OptionsOffSignalNothingButRenewTheStamp) {
    host_.clock->SetTickCount(777000);
    EXPECT_TRUE(Block());
    EXPECT_EQ(Sounds(), 0u);
    EXPECT_EQ(host_.cursors->SetCalls(), 0);
    EXPECT_TRUE(host_.timers->Running().empty());
    EXPECT_EQ(LastNotifyTick(), 777000);

    // A failing sound plays nothing and the window stays cancelled.
    SetUser("PlaySoundWhenBlockingPopup_Value", true);
    host_.sound->SetResult(false);
    host_.clock->Advance(5000);
    EXPECT_TRUE(Block());
    EXPECT_EQ(Sounds(), 1u);
}

TEST_F(PopupDecisions, CursorFlashLastsOneTimerTickAndIsNotProlonged) {
    SetUser("ShowBlockedCursorWhenBlockingPopup_Value", true);
    EXPECT_TRUE(Block());
    EXPECT_EQ(Shown(ocr::Normal), "file " + InModule("Media\\ARROW_BLOCKED.cur"));
    EXPECT_EQ(Shown(ocr::Hand), "file " + InModule("Media\\HAND_BLOCKED.cur"));
    EXPECT_EQ(Shown(ocr::IBeam), "file " + InModule("Media\\EDIT_BLOCKED.cur"));
    EXPECT_EQ(Shown(ocr::Wait), "file " + InModule("Media\\ARROW_BLOCKED.cur"));
    EXPECT_EQ(Shown(ocr::AppStarting), "file " + InModule("Media\\ARROW_BLOCKED.cur"));
    const auto running = host_.timers->Running();
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running.begin()->second, 1300u);

    // Past the quiet time but within the flash: signalled, yet the flash stays as it is.
    const int calls = host_.cursors->SetCalls();
    host_.clock->Advance(2000);
    EXPECT_TRUE(Block());
    EXPECT_EQ(host_.cursors->SetCalls(), calls);
    EXPECT_EQ(host_.timers->Running(), running);

    EXPECT_TRUE(host_.timers->TickAll());
    EXPECT_TRUE(host_.timers->Running().empty());
    EXPECT_TRUE(AllStandard());
    EXPECT_EQ(CursorManager().SavedCount(), 0);
}

TEST_F(PopupDecisions, QuitDuringAFlashRestoresAtOnce) {
    SetUser("ShowBlockedCursorWhenBlockingPopup_Value", true);
    Block();
    ASSERT_FALSE(AllStandard());
    DoOnQuit();
    EXPECT_TRUE(AllStandard());
    // The timer's later tick finds nothing saved and ends the flash.
    EXPECT_TRUE(host_.timers->TickAll());
    EXPECT_TRUE(host_.timers->Running().empty());
    EXPECT_TRUE(AllStandard());

    // With the option off, the quit leaves the cursors alone.
    Block();
    host_.clock->Advance(5000);
    SetUser("ShowBlockedCursorWhenBlockingPopup_Value", false);
    const int calls = host_.cursors->SetCalls();
    DoOnQuit();
    EXPECT_EQ(host_.cursors->SetCalls(), calls);
}

TEST_F(PopupDecisions, MissingCursorFilesStillFlashTheOthersAndRestoreAll) {
    SetUser("ShowBlockedCursorWhenBlockingPopup_Value", true);
    Files().DeleteFile(InModule("Media\\HAND_BLOCKED.cur"));
    EXPECT_TRUE(Block());
    EXPECT_EQ(Shown(ocr::Hand), "standard 32649");
    EXPECT_EQ(Shown(ocr::IBeam), "file " + InModule("Media\\EDIT_BLOCKED.cur"));
    host_.timers->TickAll();
    EXPECT_TRUE(AllStandard());
}

TEST_F(PopupDecisions, ReportsCarryTheOperationNameInDebugMode) {
    WriteBytes("c:\\debugzph.ini", "");
    foundation::ResetDebugMode();
    ReportException("DoNewWindow2", rt::Exception("disk on fire"));
    const auto shown = host_.dialogs->ShownDialogs();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "SV:\r\rDoNewWindow2\r\rdisk on fire");
}

}  // namespace
