// The About dialog worked as a person does, and its links handed on as the
// toolbar does with them.
#include "toolbar/AboutForm.h"

#include <gtest/gtest.h>

#include <functional>

#include "SolvaneFixture.h"
#include "platform/Desktop.h"

using toolbar::TfmAbout;

namespace {

class AboutTest : public SolvaneTest {
protected:
    AboutTest() { previous_ = rt::SetUiBackend(backend_); }
    ~AboutTest() override { rt::SetUiBackend(previous_); }

    std::string Run(std::function<void(TfmAbout&)> person) {
        backend_->SetModalScript([person](rt::TCustomForm& f) { person(dynamic_cast<TfmAbout&>(f)); });
        return toolbar::ShowAbout();
    }
    std::vector<platform::host::HostDialogs::Shown> Messages() { return host_.dialogs->ShownDialogs(); }

private:
    std::shared_ptr<rt::THeadlessBackend> backend_ = std::make_shared<rt::THeadlessBackend>();
    std::shared_ptr<rt::IUiBackend> previous_;
};

TEST_F(AboutTest, ShowsTheModulesOwnVersionAndClosesEmptyOnOkOrEscape) {
    host_.module->SetVersion("", {2, 0, 17, 305});
    EXPECT_EQ(Run([](TfmAbout& d) {
                  EXPECT_EQ(d.Caption(), "About Zephyra");
                  EXPECT_EQ(d.lblVersion->Caption(), "Version: 2.0.17.305");
                  EXPECT_EQ(d.ActiveControl(), d.btnOK);
                  d.btnOK->Click();
              }),
              "");
    EXPECT_EQ(Run([](TfmAbout& d) {
                  d.KeyDown(rt::vk::Escape, {}, d.btnOK);
              }),
              "");
    // Nothing was opened for the empty answer.
    EXPECT_FALSE(solvane.GotoSpecialUrl(""));
    EXPECT_TRUE(browser->navigations.empty());
}

TEST_F(AboutTest, AClickedLinkIsAnsweredAndOpensItsKindOfPage) {
    struct Case {
        rt::TLabel* TfmAbout::*link;
        bool special;  // a product page chosen by the words in the text, not the text as an address
    };
    for (const Case& c : {Case{&TfmAbout::lblWeb, false}, Case{&TfmAbout::lblFeature, true},
                          Case{&TfmAbout::lblBug, true}, Case{&TfmAbout::lblContact, true}}) {
        std::string caption;
        const std::string answer = Run([&](TfmAbout& d) {
            rt::TLabel& link = *(d.*c.link);
            caption = link.Caption();
            EXPECT_EQ(link.Cursor(), rt::crHandPoint) << caption;
            EXPECT_EQ(link.Font().Color(), rt::clBlue) << caption;
            link.Click();
        });
        EXPECT_EQ(answer, caption);
        browser->navigations.clear();
        EXPECT_EQ(solvane.GotoSpecialUrl(answer), c.special) << answer;
        ASSERT_EQ(browser->navigations.size(), 1u) << answer;
        if (!c.special) {
            EXPECT_EQ(LastUrl(), answer);
        }
    }
    // The three e-mail links reach three different pages.
    std::vector<std::string> pages;
    for (auto link : {&TfmAbout::lblFeature, &TfmAbout::lblBug, &TfmAbout::lblContact}) {
        const std::string answer = Run([&](TfmAbout& d) { (d.*link)->Click(); });
        browser->navigations.clear();
        solvane.GotoSpecialUrl(answer);
        pages.push_back(LastUrl());
    }
    EXPECT_NE(pages[0], pages[1]);
    EXPECT_NE(pages[1], pages[2]);
    EXPECT_NE(pages[0], pages[2]);
}

TEST_F(AboutTest, CtrlDoubleClickOnTheLogoTellsWhereTheToolbarIsInstalled) {
    EXPECT_EQ(Run([&](TfmAbout& d) {
                  d.imgLogo->DblClick();
                  EXPECT_TRUE(Messages().empty());
                  host_.keyboard->SetKeyDown(platform::vk::Control, true);
                  d.imgLogo->DblClick();
                  host_.keyboard->SetKeyDown(platform::vk::Control, false);
                  d.btnOK->Click();
              }),
              "");
    const auto shown = Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Installed at:\r\r" + InModule("Solvane.dll"));
}

TEST_F(AboutTest, HintsGoToTheDialogWhileItIsOpenAndBackAfter) {
    int toolbarHints = 0;
    rt::Application().OnHint = [&](rt::TObject*) { ++toolbarHints; };
    Run([](TfmAbout& d) {
        rt::Application().SetHint("over the dialog");
        d.btnOK->Click();
    });
    EXPECT_EQ(toolbarHints, 0);
    rt::Application().SetHint("over the toolbar");
    EXPECT_EQ(toolbarHints, 1);
    rt::Application().OnHint = nullptr;
}

}  // namespace
