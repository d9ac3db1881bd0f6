// The blocked-cursor manager's rules.
#include <gtest/gtest.h>

#include "PopupBlockerFixture.h"
#include "foundation/EIFunctionsBase.h"

using namespace popupblocker;

namespace {

class CursorManagerTest : public PopupBlockerTest {
protected:
    platform::CursorHandle FromFile(const std::string& name) {
        WriteBytes(InModule(name), "cursor");
        return host_.cursors->LoadFromFile(InModule(name));
    }
    std::string Shown(int id) { return host_.cursors->Origin(host_.cursors->Current(id)); }
    void SetUserCursor(const char* valueName, const std::string& file) {
        Registry().CreateKey(platform::RegRoot::CurrentUser, "Control Panel\\Cursors");
        platform::RegValue value;
        value.type = platform::RegType::ExpandString;
        value.text = file;
        Registry().WriteValue(platform::RegRoot::CurrentUser, "Control Panel\\Cursors", valueName, value);
    }
    TEICursorManager manager;
};

TEST_F(CursorManagerTest, FirstCopyIsKeptAcrossRepeatedReplacements) {
    EXPECT_TRUE(manager.ReplaceCursor(ocr::Normal, FromFile("a.cur")));
    EXPECT_TRUE(manager.ReplaceCursor(ocr::Normal, FromFile("b.cur")));
    EXPECT_EQ(Shown(ocr::Normal), "file " + InModule("b.cur"));
    EXPECT_EQ(manager.SavedCount(), 1);
    EXPECT_TRUE(manager.RestoreCursor(ocr::Normal));
    EXPECT_EQ(Shown(ocr::Normal), "copy of standard 32512");
    EXPECT_EQ(manager.SavedCursor(ocr::Normal), TEICursorManager::NoCursor);
}

TEST_F(CursorManagerTest, RestoringWhatWasNeverReplacedChangesNothing) {
    EXPECT_TRUE(manager.RestoreCursor(ocr::Hand));
    EXPECT_EQ(host_.cursors->SetCalls(), 0);
    EXPECT_EQ(manager.RestoreAll(), 0);
}

TEST_F(CursorManagerTest, UserCursorFileWinsAndEnvironmentIsExpanded) {
    host_.environment->Set("SystemRoot", "c:\\windows");
    Files().CreateDirectory("c:\\windows\\Cursors");
    WriteBytes("c:\\windows\\Cursors\\myhand.cur", "cursor");
    SetUserCursor("Hand", "%SystemRoot%\\Cursors\\myhand.cur");
    std::string file;
    EXPECT_TRUE(manager.UserCursorFile(ocr::Hand, file));
    EXPECT_EQ(file, "c:\\windows\\Cursors\\myhand.cur");

    EXPECT_TRUE(manager.ReplaceCursor(ocr::Hand, FromFile("blocked.cur")));
    EXPECT_TRUE(manager.RestoreCursor(ocr::Hand));
    EXPECT_EQ(Shown(ocr::Hand), "file c:\\windows\\Cursors\\myhand.cur");
    EXPECT_EQ(manager.SavedCount(), 0);

    // A user value naming a missing file is ignored: the saved copy comes back.
    SetUserCursor("Arrow", "c:\\nowhere\\arrow.cur");
    EXPECT_FALSE(manager.UserCursorFile(ocr::Normal, file));
    manager.ReplaceCursor(ocr::Normal, FromFile("blocked.cur"));
    EXPECT_TRUE(manager.RestoreCursor(ocr::Normal));
    EXPECT_EQ(Shown(ocr::Normal), "copy of standard 32512");
}

TEST_F(CursorManagerTest, AUserFileThatDoesNotLoadFallsBackToTheSavedOriginal) {
    WriteBytes(InModule("broken.cur"), "");  // there, but no cursor
    SetUserCursor("Hand", InModule("broken.cur"));
    std::string file;
    ASSERT_TRUE(manager.UserCursorFile(ocr::Hand, file));

    EXPECT_TRUE(manager.ReplaceCursor(ocr::Hand, FromFile("blocked.cur")));
    EXPECT_TRUE(manager.RestoreCursor(ocr::Hand));
    EXPECT_EQ(Shown(ocr::Hand), "copy of standard 32649");
    EXPECT_EQ(manager.SavedCount(), 0);
    // Nothing saved and nothing loadable: nothing could be restored.
    EXPECT_FALSE(manager.RestoreCursor(ocr::Hand));
}

TEST_F(CursorManagerTest, RestoreAllCountsAndEmptiesEvenWhenRestoresFail) {
    for (int id : {ocr::Normal, ocr::IBeam, ocr::Hand}) manager.ReplaceCursor(id, FromFile("x.cur"));
    EXPECT_EQ(manager.RestoreAll(), 3);
    EXPECT_EQ(manager.SavedCount(), 0);
    EXPECT_EQ(manager.RestoreAll(), 0);

    manager.ReplaceCursor(ocr::Wait, FromFile("x.cur"));
    host_.cursors->SetFailing(true);
    EXPECT_FALSE(manager.RestoreCursor(ocr::Wait));
    EXPECT_EQ(manager.SavedCount(), 0);
    EXPECT_FALSE(manager.ReplaceCursorFromFile(ocr::Wait, InModule("missing.cur")));
    EXPECT_FALSE(manager.ReplaceCursor(ocr::Wait, FromFile("x.cur")));
    EXPECT_EQ(manager.RestoreAll(), 1);  // the copy saved before the refused replacement
}

TEST_F(CursorManagerTest, UnknownIdentifiersRaiseOnlyInTheLookups) {
    for (int id : {32647, 0, 32511, 32651}) {
        try {
            TEICursorManager::StandardCursorFor(id);
            ADD_FAILURE() << id;
        } catch (const rt::Exception& error) {
            EXPECT_EQ(error.Message(), "Unknown OCR constant");
        }
        EXPECT_THROW(TEICursorManager::CursorValueName(id), foundation::EIIgniteError);
        EXPECT_FALSE(manager.ReplaceCursor(id, FromFile("x.cur")));
        EXPECT_FALSE(manager.RestoreCursor(id));
    }
    EXPECT_EQ(TEICursorManager::CursorValueName(32650), "AppStarting");
    EXPECT_EQ(TEICursorManager::StandardCursorFor(32648), 32648);
}

}  // namespace
