// The toolbar's plug-ins over the simulated browser: the browser tools'
// registry switches, questions, scripts, window placement and program start,
// and the popup blocker's allowed-site list.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "SolvaneFixture.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "foundation/SVCommonIE.h"
#include "foundation/SVDebug.h"
#include "platform/Desktop.h"
#include "runtime/Controls.h"
#include "toolbar/EIShowHtmlMessageUnit.h"
#include "toolbar/plgBrowserTools.h"
#include "toolbar/plgPopupBlocker.h"

using platform::RegRoot;
using platform::RegType;
using platform::RegValue;
using platform::host::HostDocumentWith;
using toolbar::TplgBrowserTools;
using toolbar::TplgPopupBlocker;
using Strings = std::vector<std::string>;

namespace {

const std::string kStillLoading = "This page is still being loaded.\r\rPlease try again once it has finished loading.";
const char* const kMainKey = "Software\\Microsoft\\Internet Explorer\\Main";
const char* const kPictureValues[] = {"Display Inline Images", "Display Inline Videos", "Play_Animations",
                                      "SmartDithering"};

// The message of the rt::Exception `action` raises; nullopt when it raises none.
std::optional<std::string> ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const rt::Exception& e) {
        return e.Message();
    }
    return std::nullopt;
}

class PluginsTest : public SolvaneTest {
protected:
    PluginsTest() {
        previous_ = rt::SetUiBackend(backend_);
        // The real registry on Windows: start from a browser that never had these values.
        for (const char* name : kPictureValues) Registry().DeleteValue(RegRoot::CurrentUser, kMainKey, name);
    }
    ~PluginsTest() override { rt::SetUiBackend(previous_); }

    std::string MainText(const std::string& name) {
        auto value = Registry().ReadValue(RegRoot::CurrentUser, kMainKey, name);
        return value ? value->text : "<missing>";
    }
    // The four picture values as "yes"/"no" texts and the dithering flag as "dword N".
    Strings PictureValues() {
        Strings values;
        for (const char* name : kPictureValues) {
            auto value = Registry().ReadValue(RegRoot::CurrentUser, kMainKey, name);
            if (!value) values.push_back("<missing>");
            else if (value->type == RegType::DWord) values.push_back("dword " + std::to_string(value->dword));
            else values.push_back(value->text);
        }
        return values;
    }
    std::vector<platform::host::HostDialogs::Shown> Questions() { return host_.dialogs->ShownDialogs(); }
    void Answer(int button) { host_.dialogs->PushAnswer(button); }
    void SetModalScript(rt::THeadlessBackend::TModalScript script) { backend_->SetModalScript(std::move(script)); }

    void ShowFrameset() {
        frameA = MakeFrame("http://f.test/a", "<p>A</p>");
        frameB = MakeFrame("http://f.test/b", "<p>B</p>");
        browser->Show("http://f.test/", "Frames", HostDocumentWith("<frameset></frameset>", {frameA, frameB}));
    }

    TplgBrowserTools tools{&solvane};
    std::shared_ptr<HostBrowser> frameA, frameB;

private:
    std::shared_ptr<rt::THeadlessBackend> backend_ = std::make_shared<rt::THeadlessBackend>();
    std::shared_ptr<rt::IUiBackend> previous_;
};

TEST_F(PluginsTest, PluginsBelongToTheControllersOwnerAndNavigateThroughIt) {
    auto* form = new rt::TComponent(nullptr);
    auto* controller = new toolbar::TSolvane(form);
    controller->SetIE(browser);
    auto* blocker = new TplgPopupBlocker(controller);
    EXPECT_EQ(blocker->Owner(), form);
    EXPECT_EQ(form->ComponentCount(), 2);
    blocker->GotoUrl("http://www.example.org/");
    EXPECT_EQ(LastUrl(), "http://www.example.org/");
    delete form;  // frees the controller and the plug-in
}

TEST_F(PluginsTest, ToggleImagesSwitchesTheFourValuesTellsEveryWindowAndReloads) {
    // Missing counts as not shown, so the first toggle turns pictures on.
    EXPECT_FALSE(tools.ImagesShown());
    EXPECT_TRUE(tools.ToggleImages());
    EXPECT_EQ(PictureValues(), (Strings{"yes", "yes", "yes", "dword 1"}));
    EXPECT_TRUE(tools.ImagesShown());
    EXPECT_EQ(host_.windows->Broadcasts(), Strings{"windows"});
    EXPECT_EQ(browser->refreshes, std::vector<int>{0});

    EXPECT_FALSE(tools.ToggleImages());
    EXPECT_EQ(PictureValues(), (Strings{"no", "no", "no", "dword 0"}));
    EXPECT_FALSE(tools.ImagesShown());
    EXPECT_TRUE(tools.ToggleImages());
    EXPECT_EQ(PictureValues(), (Strings{"yes", "yes", "yes", "dword 1"}));
    EXPECT_EQ(host_.windows->Broadcasts().size(), 3u);
    EXPECT_EQ(browser->refreshes.size(), 3u);
}

TEST_F(PluginsTest, ToggleImagesReportsAnyFailureAsThePageStillLoading) {
    browser->Fail("Refresh2");
    EXPECT_EQ(ErrorOf([&] { tools.ToggleImages(); }), kStillLoading);

}

TEST_F(PluginsTest, APictureSettingThatIsNotTextCountsAsOffAndTheToggleRepairsIt) {
    ASSERT_TRUE(Registry().CreateKey(RegRoot::CurrentUser, kMainKey));
    ASSERT_TRUE(Registry().WriteValue(RegRoot::CurrentUser, kMainKey, "Display Inline Images", RegValue::DWord(1)));
    EXPECT_FALSE(tools.ImagesShown());
    EXPECT_TRUE(tools.ToggleImages());
    EXPECT_EQ(PictureValues(), (Strings{"yes", "yes", "yes", "dword 1"}));
    EXPECT_EQ(Registry().ReadValue(RegRoot::CurrentUser, kMainKey, "Display Inline Images")->type, RegType::String);
    EXPECT_TRUE(tools.ImagesShown());
}

TEST_F(PluginsTest, ViewSourceShowsOneTabPerDocument) {
    ShowFrameset();
    bool shown = false;
    SetModalScript([&](rt::TCustomForm& form) {
        shown = true;
        auto& viewer = dynamic_cast<toolbar::TEIShowHtmlMessageForm&>(form);
        EXPECT_EQ(viewer.Caption(), "View Source");
        EXPECT_EQ(viewer.tabHtml->Tabs().ToVector(), (Strings{"Source", "Frame 1", "Frame 2"}));
        EXPECT_EQ(viewer.memHtml->Text(), "<frameset></frameset>");
        viewer.tabHtml->SelectTab(2);
        EXPECT_EQ(viewer.memHtml->Text(), "<p>B</p>");
        EXPECT_FALSE(viewer.memHtml->ReadOnly());
    });
    tools.ViewSource();
    EXPECT_TRUE(shown);
}

TEST_F(PluginsTest, ViewSourceOfAPageWithoutSourceIsThePageStillLoading) {
    int shown = 0;
    SetModalScript([&](rt::TCustomForm&) { ++shown; });
    // No document can be saved: the list is empty, which the viewer refuses.
    browser->document->canSave = false;
    EXPECT_EQ(ErrorOf([&] { tools.ViewSource(); }), kStillLoading);
    ShowFrameset();
    browser->readyState = platform::readystate::Loading;
    EXPECT_EQ(ErrorOf([&] { tools.ViewSource(); }), kStillLoading);
    EXPECT_EQ(shown, 0);
}

TEST_F(PluginsTest, HomePageQuestionShowsTheShortTitleAndStoresTheFullAddress) {
    const std::string title(100, 't');
    const std::string url = "http://www.example.com/" + std::string(200, 'u') + ".html?a=%41";
    browser->Show(url, title, HostDocumentWith("<p/>"));
    foundation::WriteBrowserMainText("Start Page", "http://before/");

    Answer(platform::mb::IdNo);
    EXPECT_THROW(tools.SetCurrentPageAsHomePage(), foundation::EIIgniteAbort);
    EXPECT_EQ(MainText("Start Page"), "http://before/");

    Answer(platform::mb::IdYes);
    tools.SetCurrentPageAsHomePage();
    EXPECT_EQ(MainText("Start Page"), url);
    ASSERT_EQ(Questions().size(), 2u);
    EXPECT_EQ(Questions()[1].text,
              "Would you like to set your home page to\r\n\r\n\"" + std::string(60, 't') + "...\" ?");
    EXPECT_EQ(Questions()[1].caption, "Confirmation");
}

TEST_F(PluginsTest, HighlightLinksRunsTheLinksScriptInTheDocumentOrEachFrame) {
    const std::string script =
        R"(for(nIx5Bs=0;nIx5Bs<document.all.length;nIx5Bs++){if(document.all[nIx5Bs].tagName=="A"){with(document.all[nIx5Bs].style){if(backgroundColor=="yellow"){void(backgroundColor=document.bgColor)}else{void(backgroundColor="yellow")}}}})";
    tools.HighlightLinks();
    EXPECT_EQ(browser->document->scripts, (std::vector<HostDocument::Script>{{script, "javascript"}}));

    ShowFrameset();
    tools.HighlightLinks();
    EXPECT_TRUE(browser->document->scripts.empty());
    EXPECT_EQ(frameA->document->scripts, (std::vector<HostDocument::Script>{{script, "javascript"}}));
    EXPECT_EQ(frameB->document->scripts, (std::vector<HostDocument::Script>{{script, "javascript"}}));

    // A frameset still loading, and no browser at all.
    browser->readyState = platform::readystate::Interactive;
    EXPECT_EQ(ErrorOf([&] { tools.HighlightLinks(); }), kStillLoading);
    solvane.SetIE(nullptr);
    EXPECT_EQ(ErrorOf([&] { tools.HighlightLinks(); }), kStillLoading);
}

TEST_F(PluginsTest, ResizeRestoresAMaximisedWindowThenPlacesItTopLeft) {
    browser->maximized = true;
    tools.ResizeBrowserWindow(640, 480);
    EXPECT_EQ(browser->placements, (Strings{"normal", "Left=0", "Top=0", "Width=640", "Height=480"}));

    browser->placements.clear();
    tools.ResizeBrowserWindow(1024, 768);
    EXPECT_EQ(browser->placements, (Strings{"Left=0", "Top=0", "Width=1024", "Height=768"}));

    // Without a window handle there is no maximised state to leave.
    browser->placements.clear();
    browser->maximized = true;
    browser->hwnd = 0;
    tools.ResizeBrowserWindow(800, 600);
    EXPECT_EQ(browser->placements, (Strings{"Left=0", "Top=0", "Width=800", "Height=600"}));

    // A failed placement stops there with the automation error.
    browser->placements.clear();
    browser->Fail("Width");
    EXPECT_THROW(tools.ResizeBrowserWindow(640, 480), rt::EOleException);
    EXPECT_EQ(browser->placements, (Strings{"Left=0", "Top=0"}));
}

TEST_F(PluginsTest, CloseAllBrowserWindowsAsksThenStartsTheCloserFromTheModuleFolder) {
    Answer(platform::mb::IdNo);
    EXPECT_THROW(tools.CloseAllBrowserWindows(), foundation::EIIgniteAbort);
    EXPECT_TRUE(host_.shell->Starts().empty());
    ASSERT_EQ(Questions().size(), 1u);
    EXPECT_EQ(Questions()[0].text, "Are you sure you want to close all browser windows ?");

    Answer(platform::mb::IdYes);
    tools.CloseAllBrowserWindows();
    ASSERT_EQ(host_.shell->Starts().size(), 1u);
    const auto start = host_.shell->Starts()[0];
    EXPECT_TRUE(start.viaExec);
    EXPECT_EQ(start.file, "\"" + InModule("Brakel.exe") + "\"");
    EXPECT_EQ(start.showCommand, platform::show::Normal);

    // A folder with spaces stays one program name.
    host_.module->SetFileName("c:\\Program Files\\Zephyra\\Solvane.dll");
    Answer(platform::mb::IdYes);
    tools.CloseAllBrowserWindows();
    EXPECT_EQ(host_.shell->Starts().back().file, "\"c:\\Program Files\\Zephyra\\Brakel.exe\"");

    // A closer that cannot start (missing) is not reported.
    host_.shell->SetResult(false);
    Answer(platform::mb::IdYes);
    EXPECT_NO_THROW(tools.CloseAllBrowserWindows());
}

class PopupBlockerPluginTest : public SolvaneTest {
protected:
    PopupBlockerPluginTest() { foundation::ChooseUserSettingsFile(); }
    ~PopupBlockerPluginTest() override {
        foundation::FreeSharedIniFile();
        foundation::ResetDebugMode();
    }
    std::string Settings() { return FileBytes(InModule("user_1.ini")); }

    TplgPopupBlocker blocker{&solvane};
};

TEST_F(PopupBlockerPluginTest, ToggleOnTwoHostsOfOneDomainAddsThenDeletesItsKey) {
    browser->Show("http://www.news.example.com/a?b=c", "News", HostDocumentWith("<p/>"));
    blocker.TogglePopupsForCurrentSite();
    EXPECT_TRUE(foundation::IsPopupAllowedForDomain("http://example.com/"));
    EXPECT_NE(Settings().find("[DomainsAllowedPopups]\r\nexample.com=True\r\n"), std::string::npos);

    browser->Show("https://mail.example.com/", "Mail", HostDocumentWith("<p/>"));
    blocker.TogglePopupsForCurrentSite();
    EXPECT_FALSE(foundation::IsPopupAllowedForDomain("http://example.com/"));
    EXPECT_EQ(Settings().find("example.com="), std::string::npos);

    blocker.SetPopupsEnabledForCurrentSite(true);
    EXPECT_TRUE(foundation::IsPopupAllowedForDomain("http://www.example.com/"));
}

TEST_F(PopupBlockerPluginTest, AnUnreadableAddressAsksToWaitAndChangesNothing) {
    browser->Fail("LocationURL");
    const std::string wait = "Please wait until the page is completely loaded, and try again!";
    EXPECT_EQ(ErrorOf([&] { blocker.TogglePopupsForCurrentSite(); }), wait);
    EXPECT_EQ(Settings().find("DomainsAllowedPopups"), std::string::npos);
}

}  // namespace
