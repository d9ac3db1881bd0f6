// The toolbar form on a simulated browser, used as a person uses the bar:
// buttons laid out from the saved choice, searches typed and picked, the
// history and picks in the user's settings file, keys, menus, timers.
#include "toolbar/BandForm.h"

#include <gtest/gtest.h>

#include <thread>

#include "BandFormMenus.h"
#include "EventSinkFakes.h"
#include "HostPlatformTest.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "foundation/SVDebug.h"
#include "platform/Services.h"
#include "platform/host/HostBrowser.h"
#include "toolbar/EIShowHtmlMessageUnit.h"
#include "toolbar/OptionsForm.h"

using toolbar::TAMFlatButton;
using toolbar::TBandForm;
using Strings = std::vector<std::string>;
using zrtest::kGoogleXml;
using zrtest::kToolsXml;

namespace {

class BandFormTest : public HostPlatformTest {
protected:
    BandFormTest() : HostPlatformTest(RegistryUse::StandIn) {
        previous_ = rt::SetUiBackend(backend_);
        foundation::ChooseUserSettingsFile();
        toolbar::BandModuleLoaded();
        toolbar::SetBrowserEventSourceProvider([this](const std::shared_ptr<platform::IBrowser>&) { return events; });
        Files().CreateDirectory(InModule("Data"));
        WriteBytes(InModule("Data\\google.xml"), kGoogleXml);
        WriteBytes(InModule("Data\\Tools.xml"), kToolsXml);
        host_.clock->SetNow({2026, 12, 9, 10, 0, 0, 0});
        browser->Show("http://www.example.com/a/b/page.html", "Example page", page);
        rt::THeadlessBackend::SetMenuScript([this](rt::TPopupMenu& menu, rt::TPoint) -> rt::TMenuItem* {
            shownMenus.push_back(&menu);
            return pick ? pick(menu) : nullptr;
        });
    }
    ~BandFormTest() override {
        rt::THeadlessBackend::SetMenuScript(nullptr);
        toolbar::SetBrowserEventSourceProvider(nullptr);
        toolbar::BandModuleUnloading();
        rt::SetUiBackend(previous_);
    }

    std::string UserFile() const { return foundation::CurrentUserSettingsFileName(); }
    // Writes a list the way the form's state stores it.
    void WriteList(const std::string& key, const Strings& items) {
        foundation::TEIIniFile ini(UserFile());
        const std::string section = "TBandForm." + key;
        ini.WriteString(section, "Count", std::to_string(items.size()));
        for (std::size_t i = 0; i < items.size(); ++i) ini.WriteString(section, "Item" + std::to_string(i), items[i]);
    }
    Strings ReadList(const std::string& key) {
        foundation::TEIIniFile ini(UserFile());
        const std::string section = "TBandForm." + key;
        Strings items;
        const int count = std::stoi(ini.ReadString(section, "Count", "0"));
        for (int i = 0; i < count; ++i) items.push_back(ini.ReadString(section, "Item" + std::to_string(i), ""));
        return items;
    }
    void WriteValue(const std::string& key, const std::string& value) {
        foundation::TEIIniFile(UserFile()).WriteString("TBandForm", key, value);
    }

    std::unique_ptr<TBandForm> NewForm() {
        auto form = std::make_unique<TBandForm>(nullptr);
        form->SetBrowser(browser);
        form->RestoreState();
        return form;
    }
    // The visible buttons of the bar, left to right.
    static Strings ShownButtons(TBandForm& form) {
        std::vector<rt::TControl*> shown;
        for (int i = 0; i < form.ButtonPanel->ControlCount(); ++i)
            if (form.ButtonPanel->Controls(i)->Visible()) shown.push_back(form.ButtonPanel->Controls(i));
        std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->Left() < b->Left(); });
        Strings names;
        for (auto* c : shown) names.push_back(c->Name());
        return names;
    }
    static void Search(TBandForm& form, const std::string& text) {
        form.edtSearch->TypeText(text);
        form.KeyDown(rt::vk::Return, {}, form.edtSearch);
    }
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        for (const auto& n : browser->navigations) urls.push_back(n.url);
        return urls;
    }
    static rt::TMenuItem* ByCaption(rt::TMenu& menu, const std::string& caption) {
        for (int i = 0; i < menu.Items()->Count(); ++i)
            if (menu.Items()->Items(i)->Caption() == caption) return menu.Items()->Items(i);
        return nullptr;
    }
    void PickCaption(const std::string& caption) {
        pick = [caption](rt::TPopupMenu& menu) { return ByCaption(menu, caption); };
    }
    void FireDocumentComplete(std::shared_ptr<platform::IBrowserObject> frame) {
        auto args = zrtest::TestArgs::Positional({zrtest::TestArg{toolbar::TDispatch(std::move(frame))},
                                                  zrtest::Ref(std::string(browser->LocationURL()))});
        events->Fire(259, args);
    }

    std::shared_ptr<platform::host::HostDocument> page = platform::host::HostDocumentWith("<p>top</p>");
    std::shared_ptr<platform::host::HostBrowser> browser = std::make_shared<platform::host::HostBrowser>();
    std::shared_ptr<zrtest::TestEventSource> events = std::make_shared<zrtest::TestEventSource>();
    std::function<rt::TMenuItem*(rt::TPopupMenu&)> pick;
    std::vector<rt::TPopupMenu*> shownMenus;
    std::shared_ptr<rt::THeadlessBackend> backend_ = std::make_shared<rt::THeadlessBackend>();

private:
    std::shared_ptr<rt::IUiBackend> previous_;
};

// ------------------------------------------------------------ layout

TEST_F(BandFormTest, TheBarShowsTheChosenButtonsInTheirOrderAndNothingElse) {
    auto form = NewForm();
    EXPECT_TRUE(ShownButtons(*form).empty());
    EXPECT_TRUE(form->btnMain->Visible());
    EXPECT_FALSE(form->btnWhatsNew->Visible());
    EXPECT_EQ(form->barMain->Width(), form->btnMain->Width());

    WriteList("AMToolbarOptions_Items", {"Tools", "Google", "NoSuchButton", "eBay.co.uk"});
    form->RestoreState();
    EXPECT_EQ(ShownButtons(*form), (Strings{"btnTools", "btnGoogle", "btneBaycouk"}));
    EXPECT_LT(form->btnTools->Left() + form->btnTools->Width(), form->btnGoogle->Left() + 1);
    EXPECT_EQ(form->btnGoogle->Width(), 58);
    EXPECT_EQ(form->btnTools->Height(), 21);
}

TEST_F(BandFormTest, NewsShowsTheWhatsNewButtonUntilThePageIsOpened) {
    foundation::SetWhatsNewOverridden(true);
    auto form = NewForm();
    EXPECT_TRUE(form->btnWhatsNew->Visible());
    EXPECT_EQ(form->barMain->Width(), form->btnMain->Width() + form->btnWhatsNew->Width());
    form->btnWhatsNew->Click();
    EXPECT_FALSE(form->btnWhatsNew->Visible());
    EXPECT_EQ(form->barMain->Width(), form->btnMain->Width());
    EXPECT_FALSE(foundation::IsWhatsNewOverridden());
    const auto starts = host_.shell->Starts();
    ASSERT_FALSE(starts.empty());
    EXPECT_EQ(starts.back().file, InModule("whatsnew.html"));
    EXPECT_EQ(starts.back().showCommand, 3);
}

// ------------------------------------------------------------ search and history

TEST_F(BandFormTest, SearchesGoIntoTheHistoryOnceAndIntoTheUsersFile) {
    auto form = NewForm();
    Search(*form, "Foo");
    Search(*form, "bar");
    Search(*form, "foo");
    EXPECT_EQ(form->edtSearch->Items().ToVector(), (Strings{"foo", "bar"}));
    EXPECT_EQ(ReadList("edtSearch_Items"), (Strings{"foo", "bar"}));
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=foo");
    EXPECT_EQ(toolbar::SharedSearchText(), "foo");

    const std::size_t before = Urls().size();
    form->edtSearch->Items().Clear();
    Search(*form, "");
    EXPECT_TRUE(form->edtSearch->Items().ToVector().empty());  // an empty box adds nothing
    EXPECT_EQ(Urls().size(), before + 1);

    Search(*form, "www.example.org/x");
    EXPECT_EQ(Urls().back(), "www.example.org/x");  // an address is opened, not searched

    // A new window starts with the shared text and the saved history.
    auto second = NewForm();
    EXPECT_EQ(second->edtSearch->Text(), "www.example.org/x");
    EXPECT_EQ(second->edtSearch->Items()[0], "www.example.org/x");
}

TEST_F(BandFormTest, PickingAHistoryEntrySearchesOnlyWhenAutoSearchIsOn) {
    WriteList("edtSearch_Items", {"alpha", "beta"});
    WriteValue("AutoSearchOnMRUSelect_Value", "False");
    auto form = NewForm();
    form->edtSearch->DropDown();
    form->edtSearch->SelectFromList(1);
    form->edtSearch->CloseUp();
    EXPECT_EQ(form->edtSearch->Text(), "beta");
    EXPECT_TRUE(browser->navigations.empty());

    form->AutoSearchOnMRUSelect->SetValue("True");
    form->edtSearch->DropDown();
    form->edtSearch->SelectFromList(0);
    form->edtSearch->CloseUp();
    ASSERT_EQ(browser->navigations.size(), 1u);
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=alpha");
}

TEST_F(BandFormTest, AMenuPickNavigatesAndIsRememberedInTheFile) {
    WriteList("AMToolbarOptions_Items", {"Google", "SearchTheWeb"});
    auto form = NewForm();
    form->edtSearch->TypeText("cats");
    PickCaption("Images");
    form->btnGoogle->Click();
    EXPECT_EQ(Urls().back(), "http://images.google.com/images?q=cats");
    EXPECT_EQ(form->btnGoogle->MRUItems().ToVector(), (Strings{"img"}));
    EXPECT_EQ(ReadList("btnGoogle_MRUItems"), (Strings{"img"}));
    EXPECT_EQ(form->edtSearch->Items()[0], "cats");

    form->btnSearchTheWeb->Click();
    EXPECT_EQ(Urls().back(), "http://www.zephyratoolbar.com/searchresultsSBS.asp?AffID=zephyra&IsBlank=False&"
                             "keyword=cats&PageTheme=bluedesign");
}

TEST_F(BandFormTest, TwoWindowsOnTwoThreadsKeepEveryHistoryEntry) {
    constexpr int kSearches = 25;
    auto run = [this](const std::string& prefix) {
        rt::THeadlessBackend::SetMenuScript(nullptr);
        auto own = std::make_shared<platform::host::HostBrowser>();
        own->Show("http://www.example.com/", "x", platform::host::HostDocumentWith("<p>x</p>"));
        TBandForm form(nullptr);
        form.SetBrowser(own);
        form.RestoreState();
        for (int i = 0; i < kSearches; ++i) {
            form.Activate();
            Search(form, prefix + std::to_string(i));
        }
    };
    std::thread a(run, "a"), b(run, "b");
    a.join();
    b.join();
    const Strings history = ReadList("edtSearch_Items");
    EXPECT_EQ(history.size(), 2u * kSearches);
    for (const char* prefix : {"a", "b"})
        for (int i = 0; i < kSearches; ++i)
            EXPECT_NE(std::find(history.begin(), history.end(), prefix + std::to_string(i)), history.end())
                << prefix << i;
}

TEST_F(BandFormTest, ClearingTheHistoryAsksFirst) {
    WriteList("edtSearch_Items", {"alpha", "beta"});
    auto form = NewForm();
    host_.dialogs->PushAnswer(platform::mb::IdNo);
    EXPECT_THROW(form->ClearSearchHistory(), rt::EAbort);
    EXPECT_EQ(ReadList("edtSearch_Items").size(), 2u);
    host_.dialogs->PushAnswer(platform::mb::IdYes);
    form->ClearSearchHistory();
    EXPECT_TRUE(ReadList("edtSearch_Items").empty());
    EXPECT_EQ(host_.dialogs->ShownDialogs().back().text, "Are you sure you want to clear the search history ?");
}

// ------------------------------------------------------------ keys

TEST_F(BandFormTest, TheBandKeepsOnlyTheEditingKeysOfItsSearchBox) {
    auto form = NewForm();
    const toolbar::TMsg paste{0x77, 0x0100, 'V', 0};
    const toolbar::TMsg copy{0x77, 0x0100, 'C', 0};
    const toolbar::TMsg backspace{0x77, 0x0100, 8, 0};
    EXPECT_EQ(form->FilterAccelerator(backspace), 1);  // nothing of ours has the focus
    form->edtSearch->SetFocus();
    host_.keyboard->SetKeyDown(platform::vk::Control, true);
    EXPECT_EQ(form->FilterAccelerator(paste), 1);
    EXPECT_EQ(form->FilterAccelerator(copy), 0);
    host_.keyboard->SetKeyDown(platform::vk::Control, false);
    EXPECT_EQ(form->FilterAccelerator(backspace), 0);
    int dispatched = 0;
    for (const auto& m : host_.windows->Messages()) dispatched += m.dispatched && m.window == 0x77;
    EXPECT_EQ(dispatched, 2);
}

// ------------------------------------------------------------ preferences

TEST_F(BandFormTest, CancelledPreferencesPutTheButtonsBackAndConfirmedOnesStay) {
    WriteList("AMToolbarOptions_Items", {"Google", "Tools"});
    auto form = NewForm();
    backend_->SetModalScript([](rt::TCustomForm& f) {
        auto& d = dynamic_cast<toolbar::TfmOptions&>(f);
        d.lstSelected->SetItemIndex(0);
        d.lstSelected->SetSelected(0, true);
        d.btnRemove->Click();
        d.btnCancel->Click();
    });
    form->ShowPreferences();
    EXPECT_EQ(ShownButtons(*form), (Strings{"btnGoogle", "btnTools"}));

    backend_->SetModalScript([](rt::TCustomForm& f) {
        auto& d = dynamic_cast<toolbar::TfmOptions&>(f);
        d.lstSelected->SetItemIndex(0);
        d.lstSelected->SetSelected(0, true);
        d.btnRemove->Click();
        d.cboMRUCount->SelectFromList(3);
        d.btnOK->Click();
    });
    form->ShowPreferences();
    EXPECT_EQ(ShownButtons(*form), (Strings{"btnTools"}));
    EXPECT_EQ(ReadList("AMToolbarOptions_Items"), (Strings{"Tools"}));
    EXPECT_EQ(toolbar::MaxMRUItems.load(), 3);
    toolbar::MaxMRUItems = 10;
}

// ------------------------------------------------------------ commands

TEST_F(BandFormTest, AToolsIdentifierInLowerCaseRunsTheToolAndOthersOpenTheirAddress) {
    WriteList("AMToolbarOptions_Items", {"Tools"});
    auto form = NewForm();
    std::string viewerCaption;
    backend_->SetModalScript([&](rt::TCustomForm& f) { viewerCaption = f.Caption(); });
    PickCaption("View Source");
    form->btnTools->Click();
    EXPECT_EQ(viewerCaption, "View Source");
    EXPECT_TRUE(browser->navigations.empty());
    PickCaption("Odd");
    form->btnTools->Click();
    EXPECT_EQ(Urls().back(), "http://odd.example/");
}

TEST_F(BandFormTest, BlockingAllPopupsSwitchesTheGlyphAndTheHelpersSetting) {
    auto form = NewForm();
    EXPECT_EQ(form->btnPopupBlocker->GlyphResource(), "POPUP_ALLOWED");
    PickCaption("&Block ALL Popups");
    form->btnPopupBlocker->Click();
    EXPECT_EQ(form->btnPopupBlocker->GlyphResource(), "POPUP_BLOCKED");
    EXPECT_TRUE(foundation::IsBlockingPopups());

    // Another window shows the change after its next page.
    auto second = NewForm();
    PickCaption("&Allow ALL Popups");
    form->btnPopupBlocker->Click();
    EXPECT_EQ(second->btnPopupBlocker->GlyphResource(), "POPUP_BLOCKED");
    FireDocumentComplete(browser);
    EXPECT_EQ(second->btnPopupBlocker->GlyphResource(), "POPUP_ALLOWED");
}

TEST_F(BandFormTest, HighlightAndLoadedPages) {
    WriteList("AMToolbarOptions_Items", {"Highlight", "Up"});
    auto form = NewForm();
    form->btnHighlight->Click();  // down, without terms
    form->btnHighlight->Click();  // up, without terms: no reload
    EXPECT_TRUE(browser->refreshes.empty());

    form->edtSearch->TypeText("top");
    form->btnHighlight->Click();
    ASSERT_TRUE(form->btnHighlight->Down());
    const std::size_t marked = page->scripts.size();
    EXPECT_GT(marked, 0u);
    form->btnUp->MenuDirty = false;
    auto frame = std::make_shared<platform::host::HostBrowser>();
    frame->Show("http://www.example.com/frame.html", "f", platform::host::HostDocumentWith("<p>f</p>"));
    const auto refreshesBefore = browser->refreshes.size();
    FireDocumentComplete(frame);
    EXPECT_TRUE(form->btnUp->MenuDirty);
    EXPECT_EQ(page->scripts.size(), marked);  // a frame does not mark the page again
    FireDocumentComplete(browser);
    EXPECT_GT(page->scripts.size(), marked);  // the page itself does
    EXPECT_EQ(browser->refreshes.size(), refreshesBefore);

    form->btnHighlight->Click();  // up with terms: the page is reloaded to drop the marks
    EXPECT_EQ(browser->refreshes.size(), refreshesBefore + 1);
}

TEST_F(BandFormTest, TheUpButtonListsTheParentsOfThePage) {
    WriteList("AMToolbarOptions_Items", {"Up"});
    auto form = NewForm();
    PickCaption("http://www.example.com/a/");
    form->btnUp->Click();
    ASSERT_FALSE(shownMenus.empty());
    EXPECT_EQ(Urls(), (Strings{"http://www.example.com/a/"}));
}

// ------------------------------------------------------------ housekeeping

TEST_F(BandFormTest, TheFirstTicksRecordTheCheckStartTheUpdaterAndEndTheFirstRun) {
    auto form = NewForm();
    ASSERT_TRUE(foundation::IsFirstTime());
    host_.timers->TickAll();
    EXPECT_FALSE(foundation::IsFirstTime());
    EXPECT_FALSE(toolbar::FirstRunPending());
    EXPECT_EQ(form->SilentCheckDate(), "12/9/2026");
    auto starts = host_.shell->Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].file, InModule("Renova.exe"));
    EXPECT_EQ(starts[0].parameters, "/S");
    EXPECT_FALSE(host_.timers->TickAll());  // each timer fires once

    // Today's date: a second window starts nothing; yesterday's: it does.
    host_.shell->ClearStarts();
    auto second = NewForm();
    second->UpdateFrequency->SetValue("0");  // counts as one day
    EXPECT_EQ(second->UpdateIntervalDays(), 1);
    second->RunSilentUpdateCheck();
    EXPECT_TRUE(host_.shell->Starts().empty());
    second->SetSilentCheckDate("12/8/2026");
    second->RunSilentUpdateCheck();
    EXPECT_EQ(host_.shell->Starts().size(), 1u);
}

TEST_F(BandFormTest, ADayFirstDateFormatDoesNotMakeEveryWindowCheckForUpdates) {
    for (const char* format : {"dd/MM/yyyy", "dd.MM.yyyy"}) {
        host_.clock->SetShortDateFormat(format, format[2]);
        host_.shell->ClearStarts();
        auto form = NewForm();
        form->SetSilentCheckDate("12/9/2026");  // today, as the last check wrote it
        form->RunSilentUpdateCheck();
        EXPECT_TRUE(host_.shell->Starts().empty()) << format;

        // "Never" waits ten thousand days after any check.
        form->UpdateFrequency->SetValue("10000");
        form->SetSilentCheckDate("1/31/2026");
        form->RunSilentUpdateCheck();
        EXPECT_TRUE(host_.shell->Starts().empty()) << format;

        form->UpdateFrequency->SetValue("7");
        form->SetSilentCheckDate("12/1/2026");
        form->RunSilentUpdateCheck();
        EXPECT_EQ(host_.shell->Starts().size(), 1u) << format;
        EXPECT_EQ(form->SilentCheckDate(), "12/9/2026") << format;
    }
}

TEST_F(BandFormTest, TheUpdatersVersionIsWrittenOnlyWhenItDiffers) {
    host_.module->SetVersion("", {1, 2, 3, 4});
    WriteBytes(InModule("Renova.ini"), "[productinfo]\r\nVERSION= 1.2.3.4 \r\n");
    { TBandForm form(nullptr); }
    EXPECT_EQ(FileBytes(InModule("Renova.ini")), "[productinfo]\r\nVERSION= 1.2.3.4 \r\n");
    WriteBytes(InModule("Renova.ini"), "[ProductInfo]\r\nversion=1.0.0.0\r\n");
    { TBandForm form(nullptr); }
    EXPECT_EQ(foundation::TEIIniFile(InModule("Renova.ini")).ReadString("ProductInfo", "version", ""), "1.2.3.4");
}

TEST_F(BandFormTest, TheDebugMenuOpensOnlyWithTheMarkerFile) {
    // The switch is decided over the test's own drive c:, away from other
    // programs, and then stays as decided.
    auto decide = [this](bool marker) {
        platform::ScopedServices hostFiles(HostFilesOnly());
        if (marker) host_.files->WriteFile(foundation::DebugMarkerFile, "");
        foundation::ResetDebugMode();
        foundation::IsDebugMode();
    };
    decide(false);
    auto form = NewForm();
    form->ButtonPanel->Click();
    EXPECT_TRUE(shownMenus.empty());

    decide(true);
    PickCaption("&Show Whats New");
    form->ButtonPanel->Click();
    ASSERT_EQ(shownMenus.size(), 1u);
    EXPECT_EQ(form->mnuDebugInstallDir->Caption(), ModuleFolder());
    EXPECT_TRUE(form->btnWhatsNew->Visible());
    foundation::ResetDebugMode();
}

TEST_F(BandFormTest, TheDebugMenuStartsProgramsByFullQuotedPaths) {
    {
        platform::ScopedServices hostFiles(HostFilesOnly());
        host_.files->WriteFile(foundation::DebugMarkerFile, "");
        foundation::ResetDebugMode();
        foundation::IsDebugMode();
    }
    auto form = NewForm();
    // Installed where a blank splits the folder's name.
    host_.module->SetFileName("c:\\Program Files\\Zephyra\\Solvane.dll");
    host_.specialFolders->SetWindowsFolder("d:\\winnt");
    host_.shell->ClearStarts();
    PickCaption("Uninstall ZPH...");
    form->ButtonPanel->Click();
    PickCaption("c:\\Program Files\\Zephyra\\");  // the item shows the folder
    form->ButtonPanel->Click();
    const auto starts = host_.shell->Starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].file, "c:\\Program Files\\Zephyra\\Brakel.exe");
    EXPECT_EQ(starts[0].parameters,
              "\"c:\\Program Files\\Zephyra\\unwise.exe\" \"c:\\Program Files\\Zephyra\\install.log\"");
    // Never by bare name, and the folder's trailing "\\" would escape the quote.
    EXPECT_EQ(starts[1].file, "d:\\winnt\\explorer.exe");
    EXPECT_EQ(starts[1].parameters, "\"c:\\Program Files\\Zephyra\"");
    foundation::ResetDebugMode();
}

TEST_F(BandFormTest, WithoutABrowserToConnectToTheFormGivesUpAndTriesAgainLater) {
    toolbar::SetBrowserEventSourceProvider([](const std::shared_ptr<platform::IBrowser>&) { return nullptr; });
    auto form = NewForm();
    EXPECT_FALSE(form->EventsConnected());
    EXPECT_GE(host_.windows->ProcessMessagesCalls(), TBandForm::MaxConnectAttempts);
    toolbar::SetBrowserEventSourceProvider([this](const std::shared_ptr<platform::IBrowser>&) { return events; });
    form->SetBrowser(browser);
    EXPECT_TRUE(form->EventsConnected());
    EXPECT_EQ(events->advises, 1);
    form.reset();
    EXPECT_EQ(events->unadvises, 1);
}

TEST_F(BandFormTest, OnlyTheSystemsOwnErrorsAreShownOutsideDebugMode) {
    foundation::ResetDebugMode();
    toolbar::ShowApplicationError(std::runtime_error("internal"));
    toolbar::ShowApplicationError(rt::EAbort("Cancelled"));
    EXPECT_TRUE(host_.dialogs->ShownDialogs().empty());
    toolbar::ShowApplicationError(foundation::EIIgniteError("Shown"));
    ASSERT_EQ(host_.dialogs->ShownDialogs().size(), 1u);
    EXPECT_EQ(host_.dialogs->ShownDialogs()[0].text, "Shown");
}

TEST_F(BandFormTest, ABrowserToolThatFailsTellsTheUserThePageIsStillLoading) {
    foundation::ResetDebugMode();
    WriteList("AMToolbarOptions_Items", {"Tools"});
    auto form = NewForm();
    browser->readyState = platform::readystate::Loading;
    PickCaption("View Source");
    try {
        form->btnTools->Click();
    } catch (const std::exception& e) {
        rt::Application().HandleException(e);  // as the message loop hands it on
    }
    ASSERT_EQ(host_.dialogs->ShownDialogs().size(), 1u);
    EXPECT_EQ(host_.dialogs->ShownDialogs()[0].text,
              "This page is still being loaded.\r\rPlease try again once it has finished loading.");
}

// ------------------------------------------------------------ bad input

TEST_F(BandFormTest, BrokenCategoryFilesAndOptionsLeaveTheBarWorking) {
    WriteList("AMToolbarOptions_Items", {"Google", "Amazon", "eBay", "Others"});
    WriteValue("MRUItemCount_Value", "many");
    WriteBytes(InModule("Data\\amazon.xml"), "");
    WriteBytes(InModule("Data\\ebay.xml"), std::string("\x00\xff<items><item caption=", 24));
    WriteBytes(InModule("Data\\google.xml"), "<items><item caption=\"No address\" id=\"n\"/></items>");
    toolbar::MaxMRUItems = 7;
    auto form = NewForm();
    EXPECT_EQ(toolbar::MaxMRUItems.load(), 7);  // a count without digits keeps the one in force
    PickCaption("No address");
    for (TAMFlatButton* button : {form->btnGoogle, form->btnAmazon, form->btnEbay, form->btnOthers}) {
        try {
            button->Click();
        } catch (const std::exception& e) {
            rt::Application().HandleException(e);  // as the message loop hands it on
        }
    }
    EXPECT_TRUE(host_.dialogs->ShownDialogs().empty());  // not the system's own errors: nothing shown
    Search(*form, "still works");
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=still works");
    toolbar::MaxMRUItems = 10;
}

TEST_F(BandFormTest, HistoryEntriesOfAnyBytesComeBackAsTheyWent) {
    Strings entries;
    for (int first = 1; first < 256; first += 100) {
        std::string entry;
        for (int b = first; b < first + 100 && b < 256; ++b)
            if (b != '\r' && b != '\n') entry += static_cast<char>(b);  // the box holds one line
        entries.push_back(entry);
    }
    {
        auto form = NewForm();
        for (const std::string& entry : entries) Search(*form, entry);
    }
    auto form = NewForm();
    const Strings expected(entries.rbegin(), entries.rend());
    EXPECT_EQ(form->edtSearch->Items().ToVector(), expected);
}

TEST_F(BandFormTest, AReadOnlySettingsFileOrAFailingBrowserLoseNothingAndShowNothing) {
    WriteList("edtSearch_Items", {"kept"});
    auto form = NewForm();
    Files().SetReadOnly(UserFile(), true);
    Search(*form, "unsaved");
    EXPECT_EQ(form->edtSearch->Items().ToVector(), (Strings{"unsaved", "kept"}));
    Files().SetReadOnly(UserFile(), false);
#ifndef _WIN32
    // (Under wine the tests run as root, who writes read-only files anyway.)
    EXPECT_EQ(ReadList("edtSearch_Items"), (Strings{"kept"}));
#endif
    form->SaveState();  // the next save writes it all
    EXPECT_EQ(ReadList("edtSearch_Items"), (Strings{"unsaved", "kept"}));

    browser->OnCall = [](const std::string& call) { throw platform::BrowserError("the browser failed: " + call, static_cast<std::int32_t>(0x80004005)); };
    WriteList("AMToolbarOptions_Items", {"Highlight", "Up"});
    form->RestoreState();
    for (auto action : std::initializer_list<std::function<void()>>{
             [&] { Search(*form, "x"); }, [&] { form->btnHighlight->Click(); }, [&] { form->btnUp->Click(); },
             [&] { FireDocumentComplete(browser); }}) {
        try {
            action();
        } catch (const std::exception& e) {
            rt::Application().HandleException(e);  // as the message loop hands it on
        }
    }
    for (const auto& shown : host_.dialogs->ShownDialogs()) EXPECT_EQ(shown.text.find("the browser failed"), std::string::npos);
    EXPECT_EQ(ReadList("edtSearch_Items")[0], "x");
}

}  // namespace
