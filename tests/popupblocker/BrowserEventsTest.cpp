// The settings' gate and the event table.
#include <gtest/gtest.h>

#include <map>

#include "PopupBlockerFixture.h"
#include "foundation/EIFunctionsBase.h"
#include "popupblocker/BHOEvents.h"

using namespace popupblocker;

namespace {

// Event arguments as the browser would pass them, in declaration order.
class FakeEvent : public IEventContext {
public:
    explicit FakeEvent(std::size_t count) : count_(count) {}
    std::size_t ArgumentCount() override { return count_; }
    std::string ArgumentText(std::size_t index) override {
        foundation::RaiseErrorIf(index >= count_, "too few");
        return "http://arg" + std::to_string(index) + ".example/";
    }
    void SetFlagArgument(std::size_t index, bool value) override {
        foundation::RaiseErrorIf(index >= count_, "too few");
        flags[index] = value;
    }
    void EndConnection() override { ++ended; }

    std::map<std::size_t, bool> flags;
    int ended = 0;

private:
    std::size_t count_;
};

class BrowserEvents : public PopupBlockerTest {};

TEST_F(BrowserEvents, ClosedGateLetsEveryEventThrough) {
    for (int closed = 0; closed < 2; ++closed) {
        SetToolbarShown(closed != 0);
        SetUser("BlockingPopups_Value", closed == 0);
        for (int id : {250, 251, 252, 253, 259, 1}) {
            FakeEvent event(7);
            EXPECT_EQ(HandleBrowserEvent(id, event), EventResult::MemberNotFound) << id;
            EXPECT_TRUE(event.flags.empty());
            EXPECT_EQ(event.ended, 0);
        }
    }
    EXPECT_TRUE(host_.shell->Starts().empty());
}

TEST_F(BrowserEvents, OpenGateActsByTheTable) {
    FakeEvent popup(2);
    EXPECT_EQ(HandleBrowserEvent(dispid::NewWindow2, popup), EventResult::Handled);
    EXPECT_EQ(popup.flags, (std::map<std::size_t, bool>{{1, true}}));

    for (int id : {dispid::BeforeNavigate2, dispid::NavigateComplete2, dispid::DocumentComplete}) {
        FakeEvent event(7);
        EXPECT_EQ(HandleBrowserEvent(id, event), EventResult::Handled) << id;
        EXPECT_TRUE(event.flags.empty());
        EXPECT_EQ(event.ended, 0);
    }
    FakeEvent other(0);
    EXPECT_EQ(HandleBrowserEvent(271, other), EventResult::MemberNotFound);

    FakeEvent quit(0);
    EXPECT_EQ(HandleBrowserEvent(dispid::OnQuit, quit), EventResult::Handled);
    EXPECT_EQ(quit.ended, 1);
}

TEST_F(BrowserEvents, TooFewArgumentsRaiseWithoutTouchingAnything) {
    FakeEvent none(0), one(1);
    EXPECT_THROW(HandleBrowserEvent(dispid::NewWindow2, none), rt::Exception);
    EXPECT_THROW(HandleBrowserEvent(dispid::NewWindow2, one), rt::Exception);
    EXPECT_TRUE(one.flags.empty());
    // Outside debug mode the address is never looked at.
    EXPECT_EQ(HandleBrowserEvent(dispid::BeforeNavigate2, none), EventResult::Handled);
}

TEST_F(BrowserEvents, ModifierHeldLeavesCancelUnset) {
    host_.keyboard->SetKeyDown(platform::vk::Control, true);
    FakeEvent popup(2);
    EXPECT_EQ(HandleBrowserEvent(dispid::NewWindow2, popup), EventResult::Handled);
    EXPECT_TRUE(popup.flags.empty());
}

}  // namespace
