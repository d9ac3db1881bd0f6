#pragma once
// The popup helper's decision for one browser event, as every event of every
// window pays it: is the toolbar shown (machine settings), is it blocking
// (the user's settings), then the event's own action. Shared by the host
// benchmark and the timing program that runs under wine through kernel32.
#include <string>

#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "popupblocker/BHOEvents.h"

namespace bench {

// An event that asks nothing of its arguments (DocumentComplete).
class QuietEvent : public popupblocker::IEventContext {
public:
    std::size_t ArgumentCount() override { return 2; }
    std::string ArgumentText(std::size_t) override { return ""; }
    void SetFlagArgument(std::size_t, bool) override {}
    void EndConnection() override {}
};

// Settings that let every event through to its action, written through the
// services in place (the module's folder holds both files).
inline void WriteDecisionSettings() {
    foundation::ChooseUserSettingsFile();
    foundation::OpenMachineSettings()->WriteString("Toolbar", "Visible", "True");
    foundation::TEIIniFile(foundation::CurrentUserSettingsFileName()).WriteString("TBandForm", "BlockingPopups_Value", "True");
}

// One event's decision; false if the settings did not let it through.
inline bool DecideOnce(QuietEvent& event) {
    return popupblocker::HandleBrowserEvent(popupblocker::dispid::DocumentComplete, event) ==
           popupblocker::EventResult::Handled;
}

}  // namespace bench
