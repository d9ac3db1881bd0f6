// The controller's navigation half: address test, templates, product pages,
// posts, parent addresses, search terms, readiness and waits, band and keys.
#include <gtest/gtest.h>

#include "SolvaneFixture.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "foundation/SVCommonIE.h"
#include "runtime/SimpleXml.h"
#include "runtime/TypInfo.h"

using platform::host::HostBrowser;
using toolbar::TSolvane;

namespace {

const std::string kSite = TSolvane::ProductSite;

TEST_F(SolvaneTest, SearchTextThatLooksLikeAnAddressIsOpenedInsteadOfTheTemplate) {
    const std::string search = "http://search.test/?q=%%SEARCH%%";
    for (const std::string text : {"www.foo.org", "HTTPS://Secure.test/x", "ftp://files.test/", "c:\\temp\\a.htm"}) {
        searchText = text;
        solvane.GotoUrl(search);
        EXPECT_EQ(LastUrl(), text);
    }
    // ":\" must stand at the second character; anything else is a search.
    for (const std::string text : {"d:", "ab:\\x", "wwwx", "mailto:me"}) {
        searchText = text;
        solvane.GotoUrl(search);
        EXPECT_EQ(LastUrl(), "http://search.test/?q=" + foundation::PercentEscape(text)) << text;
    }
}

TEST_F(SolvaneTest, GotoUrlTellsTheFormFirstThenStopsAndNavigatesWithTheFilledTemplate) {
    std::vector<std::string> order;
    solvane.OnGotoUrl = [&](rt::TObject* sender) {
        EXPECT_EQ(sender, &solvane);
        order.push_back("notice");
    };
    solvane.OnGetSearchText = [&] {
        order.push_back("text");
        return std::string("cheap & fast");
    };
    browser->OnCall = [&](const std::string& call) {
        if (call == "Stop" || call == "Navigate") order.push_back(call);
    };
    solvane.GotoUrl("http://s.test/?q=%%search%%&site=%%DOMAIN%%&from=%%URL%%");
    EXPECT_EQ(order, (std::vector<std::string>{"notice", "text", "Stop", "Navigate"}));
    EXPECT_EQ(LastUrl(), "http://s.test/?q=cheap %26 fast&site=www.example.com&from=http://www.example.com/a/b/page.html");
    EXPECT_FALSE(browser->navigations.back().navigate2);
}

TEST_F(SolvaneTest, NavigationFailuresAreSwallowed) {
    browser->Fail("Stop");
    solvane.GotoUrl("http://one.test/");
    EXPECT_EQ(LastUrl(), "http://one.test/");  // a failed Stop does not keep the browser from going

    browser->Fail("Navigate");
    EXPECT_NO_THROW(solvane.GotoUrl("http://two.test/"));
    browser->Fail("LocationURL");
    EXPECT_NO_THROW(solvane.GotoUrl("http://three.test/%%URL%%"));

    TSolvane unsited(nullptr);
    bool noticed = false;
    unsited.OnGotoUrl = [&](rt::TObject*) { noticed = true; };
    EXPECT_NO_THROW(unsited.GotoUrl("http://four.test/"));
    EXPECT_TRUE(noticed);
    EXPECT_EQ(NavigatedUrls(), (std::vector<std::string>{"http://one.test/"}));
}

TEST_F(SolvaneTest, SpecialPagesFollowTheTableOrderAndMatchSubstringsIgnoringCase) {
    host_.module->SetVersion("", {1, 2, 3, 4});
    const std::string query = "?zphv=1.2.3.4&iev=6.0.2900.2180&type=";
    struct Case {
        std::string key, url;
        bool result;
    };
    const Case cases[] = {
        {"Support", kSite + "/contact_us.php" + query + "support", true},
        {"customer support", kSite + "/contact_us.php" + query + "support", true},
        {"contactus or support", kSite + "/contact_us.php" + query + "contact", true},
        {"http://www.hometown.test/", kSite, true},
        {"http://x.test/bugs", kSite + "/contact_us.php" + query + "bug", true},
        {"WishList", kSite + "/contact_us.php" + query + "wishlist", true},
        {"http://x.test/tell.html", kSite + "/tell_a_friend.php" + query + "wishlist", true},
        {"http://x.test/", "http://x.test/", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(solvane.GotoSpecialUrl(c.key), c.result) << c.key;
        EXPECT_EQ(LastUrl(), c.url) << c.key;
    }
    const auto count = browser->navigations.size();
    EXPECT_FALSE(solvane.GotoSpecialUrl(""));
    EXPECT_EQ(browser->navigations.size(), count);

    solvane.GotoHelpPage();
    EXPECT_EQ(LastUrl(), kSite + "/redir.php");
}

TEST_F(SolvaneTest, ProductPagesStillGoOutWhenTheBrowserVersionCannotBeRead) {
    host_.module->SetVersion("", {3, 0, 0, 7});
    browser->Fail("VersionText");
    solvane.TellAFriend();
    EXPECT_EQ(LastUrl(), kSite + "/tell_a_friend.php?zphv=3.0.0.7&iev=&type=wishlist");

    searchText = "www.elsewhere.test";  // an address in the search box wins here too
    solvane.ContactUs();
    EXPECT_EQ(LastUrl(), "www.elsewhere.test");
}

TEST_F(SolvaneTest, UniqueUrlsCarryTheTickCount) {
    host_.clock->SetTickCount(4294967295u);
    EXPECT_EQ(solvane.GetUniqueUrl("http://h/p"), "http://h/p?zphguid=4294967295");
    host_.clock->SetTickCount(12);
    EXPECT_EQ(solvane.GetUniqueUrl("http://h/p?a=1"), "http://h/p?a=1&zphguid=12");
    EXPECT_TRUE(TSolvane::IsRealUrl("x"));
    EXPECT_FALSE(TSolvane::IsRealUrl("-"));
    EXPECT_FALSE(TSolvane::IsRealUrl(""));
}

TEST_F(SolvaneTest, PostSendsTheBodyWithATrailingZeroAndTheFormHeaders) {
    solvane.PostUrl("http://form.test/post", "a=1");
    const auto& post = browser->navigations.back();
    EXPECT_TRUE(post.navigate2);
    EXPECT_EQ(post.url, "http://form.test/post");
    ASSERT_TRUE(post.postBody.has_value());
    EXPECT_EQ(*post.postBody, std::string("a=1\0", 4));
    EXPECT_EQ(post.headers, std::string("Content-Type: application/x-www-form-urlencoded\x0A\x0D"));

    solvane.PostUrl("http://form.test/empty", "");
    EXPECT_EQ(browser->navigations.back(), (HostBrowser::Navigation{true, "http://form.test/empty", std::nullopt, std::nullopt}));

    browser->Fail("Navigate2");
    EXPECT_THROW(solvane.PostUrl("http://form.test/post", "a=1"), rt::EOleException);
}

TEST_F(SolvaneTest, ParentAddressesRunFromTheRootToTheNearestParent) {
    struct Case {
        std::string url;
        std::vector<std::string> parents;
        bool result;
    };
    const Case cases[] = {
        {"http://host/a/b/page.html", {"http://host/", "http://host/a/", "http://host/a/b/"}, true},
        {"http://host/a/", {"http://host/"}, true},
        {"http://host", {"http://host/"}, false},
        {"https://host/", {"https://host/"}, false},
        {"http://host/a/b?x=1/y/z", {"http://host/", "http://host/a/"}, true},
        {"http://host/a//b/c", {"http://host/", "http://host/a/", "http://host/a/b/"}, true},
        {"", {}, false},
    };
    rt::TStringList list{"stale"};
    for (const Case& c : cases) {
        browser->locationUrl = c.url;
        EXPECT_EQ(solvane.AssignUpUrls(list), c.result) << c.url;
        EXPECT_EQ(list.ToVector(), c.parents) << c.url;
    }
    browser->Fail("LocationURL");
    try {
        solvane.AssignUpUrls(list);
        FAIL() << "no error";
    } catch (const foundation::EIIgniteError& e) {
        EXPECT_EQ(e.Message(), "Please wait until the page is completely loaded, and try again!");
    }
}

TEST_F(SolvaneTest, ParentAddressesKeepTheTextOfThePageAddress) {
    // The address's own text is never taken for the stand-in of a scheme's
    // "//": each parent starts the page's address.
    struct Case {
        std::string url;
        std::vector<std::string> parents;
    };
    const Case cases[] = {
        {"http://h/a%%zpht1%%b/c", {"http://h/", "http://h/a%%zpht1%%b/"}},
        {"http://h/%%ZPHT1%%/x%25y/z", {"http://h/", "http://h/%%ZPHT1%%/", "http://h/%%ZPHT1%%/x%25y/"}},
        {"http://h/a%%ZPHT1%://b/c", {"http://h/", "http://h/a%%ZPHT1%://b/"}},
        {"ftp://h/%/%%/c", {"ftp://h/", "ftp://h/%/", "ftp://h/%/%%/"}},
    };
    rt::TStringList list;
    for (const Case& c : cases) {
        browser->locationUrl = c.url;
        EXPECT_TRUE(solvane.AssignUpUrls(list)) << c.url;
        EXPECT_EQ(list.ToVector(), c.parents) << c.url;
    }
}

TEST_F(SolvaneTest, CanGoUpCountsThePiecesOfTheAddress) {
    for (const auto& [url, up] : std::vector<std::pair<std::string, bool>>{
             {"http://host", false}, {"http://host///", false}, {"http://host/a", true}, {"http://host/a/", true},
             {"http://a://b", false}, {"http://host/?x", true}}) {
        browser->locationUrl = url;
        EXPECT_EQ(solvane.CanGoUp(), up) << url;
        // The button and its menu agree: a button that can go up has parents to list.
        rt::TStringList parents;
        EXPECT_EQ(solvane.AssignUpUrls(parents), solvane.CanGoUp()) << url;
    }
}

TEST_F(SolvaneTest, UpMenuXmlEscapesAddressesSoTheyReadBackUnchanged) {
    std::string xml;
    browser->locationUrl = "http://host";
    EXPECT_FALSE(solvane.AssignUpUrlsAsXml(xml));
    EXPECT_EQ(xml, "<items><item caption=\"http://host/\" url=\"http://host/\" mru=\"\"/></items>");

    browser->locationUrl = "http://h.test/a&b=<1>/\"q'\"/page";
    EXPECT_TRUE(solvane.AssignUpUrlsAsXml(xml));
    rt::TXmlDocument document;
    ASSERT_NO_THROW(document.LoadFromString(xml)) << xml;
    const rt::TXmlElement& items = *document.Root();
    const std::vector<std::string> expected{"http://h.test/", "http://h.test/a&b=<1>/", "http://h.test/a&b=<1>/\"q'\"/"};
    ASSERT_EQ(items.ChildCount(), 3) << xml;
    for (int i = 0; i < items.ChildCount(); ++i) {
        EXPECT_EQ(items.Child(i).Attribute("caption"), expected[i]);
        EXPECT_EQ(items.Child(i).Attribute("url"), expected[i]);
        EXPECT_TRUE(items.Child(i).HasAttribute("mru"));
    }
}

TEST_F(SolvaneTest, GoUpOpensTheNearestParent) {
    browser->locationUrl = "http://host/a/b/page.html";
    solvane.GoUp();
    EXPECT_EQ(LastUrl(), "http://host/a/b/");
}

TEST(SolvaneTermsTest, SearchTextSplitsAtDelimitersKeepingQuotedPhrases) {
    struct Case {
        std::string text;
        std::vector<std::string> terms;
    };
    const Case cases[] = {
        {"cheap \"new york\" hotels", {"cheap", "new york", "hotels"}},
        {"a,,b;c.", {"a", "b", "c"}},
        {"  \t\r\nx\ty  ", {"x", "y"}},
        {"one \"unclosed, rest. of it", {"one", "unclosed, rest. of it"}},
        {"say\"s q\"uoted", {"says quoted"}},
        {"", {}},
        {" ,.; ", {}},
        // An empty quoted term is skipped; the terms after it still count.
        {"cheap \"\" hotels", {"cheap", "hotels"}},
        {"\"\"\"\" x", {"x"}},
        {"\"\"", {}},
    };
    for (const Case& c : cases) {
        rt::TStringList list;
        EXPECT_EQ(TSolvane::SplitSearchTerms(c.text, list), !c.terms.empty()) << c.text;
        EXPECT_EQ(list.ToVector(), c.terms) << c.text;
    }
}

TEST_F(SolvaneTest, SearchTermsAreRebuiltOnlyWhenTheTextChangesBeyondCase) {
    searchText = "Cheap Hotels";
    EXPECT_TRUE(solvane.SearchTextHasChanged());
    EXPECT_EQ(solvane.GetstrSearchTerms().ToVector(), (std::vector<std::string>{"Cheap", "Hotels"}));
    EXPECT_EQ(solvane.LastSearchText(), "Cheap Hotels");

    searchText = "cheap hotels";
    EXPECT_FALSE(solvane.SearchTextHasChanged());
    EXPECT_EQ(solvane.GetstrSearchTerms().ToVector(), (std::vector<std::string>{"Cheap", "Hotels"}));

    searchText = "motels";
    auto* published = dynamic_cast<rt::TStringList*>(rt::GetObjectProp(solvane, "strSearchTerms"));
    ASSERT_EQ(published, &solvane.GetstrSearchTerms());
    EXPECT_EQ(published->ToVector(), (std::vector<std::string>{"motels"}));

    solvane.OnGetSearchText = nullptr;
    EXPECT_EQ(solvane.getSearchText(), "");
    EXPECT_TRUE(solvane.GetstrSearchTerms().ToVector().empty());
}

TEST_F(SolvaneTest, WaitForReadyStateGivesUpAfterTenSecondsPumpingMessages) {
    browser->readyState = platform::readystate::Interactive;
    host_.clock->SetTickCount(0xFFFFF000u);  // the counter wraps during the wait
    solvane.WaitForReadyState();
    const std::uint32_t waited = host_.clock->TickCount() - 0xFFFFF000u;
    EXPECT_GE(waited, 10000u);
    EXPECT_LT(waited, 10200u);
    EXPECT_EQ(host_.windows->ProcessMessagesCalls(), 100);
}

TEST_F(SolvaneTest, WaitsReturnAsSoonAsTheBrowserIsReady) {
    browser->readyState = platform::readystate::Loading;
    browser->OnCall = [&](const std::string& call) {
        if (call == "ReadyState" && browser->Count("ReadyState") == 4) browser->readyState = platform::readystate::Complete;
    };
    const std::uint32_t start = host_.clock->TickCount();
    solvane.WaitForReadyState();
    EXPECT_EQ(host_.clock->TickCount() - start, 300u);

    browser->busy = true;
    browser->OnCall = [&](const std::string& call) {
        if (call == "Busy" && browser->Count("Busy") == 2) browser->busy = false;
    };
    solvane.WaitForIEReady();
    EXPECT_EQ(host_.clock->TickCount() - start, 400u);

    browser->busy = true;
    browser->OnCall = nullptr;
    host_.clock->SetTickCount(0xFFFFFFFFu);
    solvane.WaitForIEReady();
    EXPECT_EQ(host_.clock->TickCount(), 9999u);  // 10000 ms after the start, across the wrap
}

TEST_F(SolvaneTest, ReadinessChecksRaiseThePartsErrors) {
    browser->busy = true;
    try {
        solvane.EnsureLoaded();
        FAIL();
    } catch (const foundation::EIIgniteError& e) {
        EXPECT_EQ(e.Message(), "Please wait until the page is completely loaded, and try again!");
    }
    browser->readyState = platform::readystate::Interactive;
    try {
        solvane.EnsureInReadyState();
        FAIL();
    } catch (const foundation::EIException&) {
        FAIL() << "the still-loading error is the runtime's general one";
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), "This page is still being loaded.\r\rPlease try again once it has finished loading.");
    }
    EXPECT_NO_THROW(solvane.FailIfNoDocument());
    browser->readyState = platform::readystate::Uninitialized;
    try {
        solvane.FailIfNoDocument();
        FAIL();
    } catch (const foundation::EIIgniteError& e) {
        EXPECT_EQ(e.Message(), "There is no web page currently loaded. Please load a page and try again.");
    }

    browser->Fail("ReadyState");
    EXPECT_THROW(solvane.Ready(), rt::EOleException);
    TSolvane unsited(nullptr);
    EXPECT_THROW(unsited.Busy(), rt::EOleException);
    EXPECT_THROW(unsited.RefreshFromCache(), rt::EOleException);
}

TEST_F(SolvaneTest, BandAndWindowRequestsGoToTheBrowser) {
    solvane.ShowBand();
    solvane.CloseBand();
    solvane.RefreshFromCache();
    EXPECT_EQ(browser->bars, (std::vector<HostBrowser::BarRequest>{{TSolvane::BandClsid, true, 0}, {TSolvane::BandClsid, false, 0}}));
    EXPECT_EQ(browser->refreshes, std::vector<int>{0});
    EXPECT_STREQ(TSolvane::BandClsid, "{7A33D136-248C-4BA5-B72D-BB68F4AD9039}");
    for (auto band : {&TSolvane::RefreshBandInfo, &TSolvane::MaximizeBand}) {
        try {
            (solvane.*band)();
            FAIL();
        } catch (const foundation::EIIgniteError& e) {
            EXPECT_EQ(e.Message(), "Override this get handle routine !");
        }
    }
    EXPECT_TRUE(host_.windows->Messages().empty());

    platform::WindowHandle wnd = 7;
    EXPECT_TRUE(solvane.AssignIEHwnd(wnd));
    EXPECT_EQ(wnd, browser->hwnd);
    browser->hwnd = 0;
    EXPECT_FALSE(solvane.AssignIEHwnd(wnd));
    EXPECT_EQ(wnd, 0u);
    wnd = 7;
    browser->Fail("HWND");
    EXPECT_FALSE(solvane.AssignIEHwnd(wnd));
    EXPECT_EQ(wnd, 7u);
}

TEST_F(SolvaneTest, OnlyTheControllersOwnBrowserIsTheTopWindow) {
    auto other = std::make_shared<HostBrowser>();
    platform::host::HostPlugin plugin;
    EXPECT_TRUE(solvane.IsTopWindow(browser.get()));
    EXPECT_FALSE(solvane.IsTopWindow(other.get()));
    EXPECT_FALSE(solvane.IsTopWindow(&plugin));
    EXPECT_FALSE(solvane.IsTopWindow(nullptr));
    solvane.SetIE(other);
    EXPECT_TRUE(solvane.IsTopWindow(other.get()));
    EXPECT_FALSE(solvane.IsTopWindow(browser.get()));
}

class FakeControl : public toolbar::IFocusedControl {
public:
    explicit FakeControl(TKind kind) : kind_(kind) {}
    TKind ControlKind() const override { return kind_; }
    void TranslateAndDispatch(const toolbar::TMsg& msg) override { keys.push_back(msg.wParam); }
    std::vector<std::uintptr_t> keys;

private:
    TKind kind_;
};

TEST_F(SolvaneTest, EditingKeysStayWithTheSearchBox) {
    using Kind = toolbar::IFocusedControl::TKind;
    auto key = [](std::uintptr_t code) { return toolbar::TMsg{0x99, 0x100, code, 0}; };
    FakeControl button(Kind::Other), edit(Kind::EditBox), combo(Kind::ComboBox);
    for (std::uintptr_t code : {8u, 46u, 0x41u}) EXPECT_EQ(solvane.TranslateAcceleratorIO(key(code), &button), 1);
    EXPECT_EQ(solvane.TranslateAcceleratorIO(key(8), nullptr), 1);

    for (std::uintptr_t code : {8u, 35u, 36u, 37u, 38u, 39u, 40u, 46u}) EXPECT_EQ(solvane.TranslateAcceleratorIO(key(code), &combo), 0);
    for (std::uintptr_t code : {0x41u, 34u, 41u, 0x43u, 13u}) EXPECT_EQ(solvane.TranslateAcceleratorIO(key(code), &combo), 1);

    host_.keyboard->SetKeyDown(platform::vk::Control, true);
    EXPECT_EQ(solvane.TranslateAcceleratorIO(key(0x43), &edit), 0);  // Ctrl+C
    EXPECT_EQ(solvane.TranslateAcceleratorIO(key(0x6E), &edit), 0);
    EXPECT_EQ(solvane.TranslateAcceleratorIO(key(0x56), &edit), 1);  // Ctrl+V goes to the browser
    host_.keyboard->SetKeyDown(platform::vk::Menu, true);
    EXPECT_EQ(solvane.TranslateAcceleratorIO(key(8), &edit), 1);  // nothing with Alt held

    EXPECT_TRUE(button.keys.empty());
    EXPECT_EQ(combo.keys, (std::vector<std::uintptr_t>{8, 35, 36, 37, 38, 39, 40, 46}));
    EXPECT_EQ(edit.keys, (std::vector<std::uintptr_t>{0x43, 0x6E}));
}

TEST_F(SolvaneTest, DisplayScriptErrorsIsTheBrowsersRegistrySetting) {
    rt::SetOrdProp(solvane, "DisplayScriptErrors", 0);
    EXPECT_FALSE(foundation::AreScriptErrorsShown());
    EXPECT_EQ(rt::GetOrdProp(solvane, "DisplayScriptErrors"), 0);
    solvane.SetDisplayScriptErrors(true);
    EXPECT_TRUE(foundation::AreScriptErrorsShown());
    EXPECT_TRUE(solvane.GetDisplayScriptErrors());
}

TEST_F(SolvaneTest, DomainIsTheHostOfTheCurrentAddress) {
    browser->locationUrl = "https://user@mail.example.co.uk:8080/inbox";
    EXPECT_EQ(solvane.GetDomain(), "mail.example.co.uk");
    EXPECT_EQ(solvane.GetDomainRoot(), "mail.example.co.uk");
}

}  // namespace
