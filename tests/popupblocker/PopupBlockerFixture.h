#pragma once
// The helper module over the host stand-ins: installed in its own folder with
// the toolbar shown, the blocker on and the media files in place.
#include <string>

#include "HostPlatformTest.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "foundation/SVDebug.h"
#include "popupblocker/BHOAppHelper.h"
#include "popupblocker/EICursorManager.h"

class PopupBlockerTest : public HostPlatformTest {
protected:
    PopupBlockerTest() {
        host_.module->SetFileName(InModule("SV_BHO.dll"));
        foundation::ResetDebugMode();
        Files().CreateDirectory(InModule("Media"));
        for (const char* name : {"ARROW_BLOCKED.cur", "HAND_BLOCKED.cur", "EDIT_BLOCKED.cur"})
            WriteBytes(InModule(std::string("Media\\") + name), "cursor");
        WriteBytes(InModule("Solvane.ini"), "[Users]\r\ntester=1\r\n[Toolbar]\r\nVisible=True\r\n");
        WriteBytes(UserFile(), "[TBandForm]\r\nBlockingPopups_Value=True\r\n");
        foundation::ChooseUserSettingsFile();
        popupblocker::DoInitialize();
    }
    ~PopupBlockerTest() override {
        popupblocker::DoFinalize();
        foundation::FreeSharedIniFile();
        foundation::ResetDebugMode();
    }

    std::string UserFile() const { return InModule("user_1.ini"); }
    void SetUser(const char* key, bool value) {
        foundation::SharedIniFile().WriteBoolStr("TBandForm", key, value);
    }
    void SetToolbarShown(bool shown) { foundation::SetToolbarVisible(shown); }
    // The module unloads and loads again (a new browser process).
    void Restart() {
        popupblocker::DoFinalize();
        foundation::FreeSharedIniFile();
        foundation::ChooseUserSettingsFile();
        popupblocker::DoInitialize();
    }
};
