// The controller driving the Win32 browser adapter against the test's own
// COM browser: the same navigations, posts, scripts and sources as over the
// simulated browser, as the automation interfaces deliver them.
#include <gtest/gtest.h>

#include <cctype>

#include "FakeBrowser.h"
#include "platform/Services.h"
#include "platform/host/HostPlatform.h"
#include "platform/win32/Win32Browser.h"
#include "platform/win32/Win32Platform.h"
#include "toolbar/plgSolvane.h"

using platform::win32::BrowserFrom;
using platform::win32::BrowserObjectFrom;
using toolbar::TSolvane;
using zrtest::ComPtr;
using zrtest::FakeBrowser;
using zrtest::FakeDocument;
using zrtest::FakePlugin;
using zrtest::Make;

namespace {

class Win32BrowserTest : public ::testing::Test {
protected:
    Win32BrowserTest() {
        browser->locationUrl = L"http://www.example.com/a/page.html";
        browser->locationName = L"Caf\u00e9 page";
        browser->document->source = "<p>top</p>\r\n";
        solvane.SetIE(BrowserFrom(browser.Get()));
        solvane.OnGetSearchText = [this] { return searchText; };
    }

    // The browser shows a frameset of two frames with a plug-in between them.
    void ShowFrameset() {
        frameA = Make<FakeBrowser>();
        frameA->document->source = "<p>A</p>\nsecond\n";
        frameB = Make<FakeBrowser>();
        frameB->document->source = "<p>B</p>";
        browser->document->source = "<frameset/>";
        browser->document->embedded = {frameA.Get(), Make<FakePlugin>().Get(), frameB.Get()};
    }

    ComPtr<FakeBrowser> browser = Make<FakeBrowser>();
    ComPtr<FakeBrowser> frameA, frameB;
    TSolvane solvane{nullptr};
    std::string searchText;
};

TEST_F(Win32BrowserTest, NavigationStopsThenNavigatesWithFourIntegerZeros) {
    searchText = "caf\xe9 & co";  // code page text reaches the browser as UTF-16
    solvane.GotoUrl("http://s.test/?q=%%SEARCH%%");
    EXPECT_EQ(browser->calls, (std::vector<std::wstring>{L"Stop", L"Navigate"}));
    ASSERT_EQ(browser->navigations.size(), 1u);
    const auto& n = browser->navigations[0];
    EXPECT_EQ(n.url, L"http://s.test/?q=caf%E9 %26 co");
    EXPECT_EQ(n.optionalTypes, (std::vector<VARTYPE>{VT_I4, VT_I4, VT_I4, VT_I4}));
    EXPECT_EQ(n.optionalInts, (std::vector<LONG>{0, 0, 0, 0}));

    browser->failNavigation = true;
    EXPECT_NO_THROW(solvane.GotoUrl("http://fails.test/"));
}

TEST_F(Win32BrowserTest, PostsGoOutAsAPlainArrayOfBytesWithTheFormHeaders) {
    solvane.PostUrl("http://form.test/", "a=1");
    ASSERT_EQ(browser->navigations.size(), 1u);
    const auto& n = browser->navigations[0];
    EXPECT_EQ(n.url, L"http://form.test/");
    EXPECT_EQ(n.optionalTypes, (std::vector<VARTYPE>{VT_EMPTY, VT_EMPTY, 0x2000, VT_BSTR}));
    EXPECT_EQ(n.arrayElementType, VT_UI1);
    EXPECT_EQ(n.lowerBound, 0);
    EXPECT_EQ(n.upperBound, 3);  // n + 1 elements
    EXPECT_EQ(n.postBytes, std::string("a=1\0", 4));
    EXPECT_EQ(n.headers, L"Content-Type: application/x-www-form-urlencoded\x0A\x0D");

    solvane.PostUrl("http://form.test/empty", "");
    EXPECT_EQ(browser->navigations[1].optionalTypes, (std::vector<VARTYPE>{VT_EMPTY, VT_EMPTY, VT_EMPTY, VT_EMPTY}));

    browser->failNavigation = true;
    EXPECT_THROW(solvane.PostUrl("http://form.test/", "a=1"), rt::EOleException);
}

TEST_F(Win32BrowserTest, ScriptsRunInTheTopWindowOrInEveryFrame) {
    EXPECT_EQ(solvane.FrameCount(), 0);
    EXPECT_TRUE(solvane.execScript("alert('\xe9')"));
    ASSERT_EQ(browser->document->window->scripts.size(), 1u);
    EXPECT_EQ(browser->document->window->scripts[0].code, L"alert('\u00e9')");
    EXPECT_EQ(browser->document->window->scripts[0].language, L"javascript");
    EXPECT_EQ(browser->document->enumFlags, static_cast<DWORD>(OLECONTF_EMBEDDINGS));

    browser->document->window->scriptsFail = true;
    EXPECT_FALSE(solvane.execScript("bad("));

    ShowFrameset();
    EXPECT_EQ(solvane.FrameCount(), 3);
    EXPECT_FALSE(solvane.execScript("go()"));  // the plug-in is a failed step
    EXPECT_EQ(frameA->document->window->scripts.size(), 1u);
    EXPECT_EQ(frameB->document->window->scripts.size(), 1u);
    EXPECT_EQ(browser->document->window->scripts.size(), 1u);
}

TEST_F(Win32BrowserTest, SourcesAreTheSavedDocumentsInContainerOrder) {
    ShowFrameset();
    EXPECT_EQ(solvane.sGetSource(true).ToVector(),
              (std::vector<std::string>{"<frameset/>", "<p>A</p>\r\nsecond", "<p>B</p>"}));
    frameA->document->canSave = false;
    EXPECT_EQ(solvane.sGetSource(true).ToVector(), (std::vector<std::string>{"<frameset/>", "<p>B</p>"}));

    browser->readyState = READYSTATE_INTERACTIVE;
    EXPECT_TRUE(solvane.PageCouldntBeDisplayed());
}

TEST_F(Win32BrowserTest, HighlightScriptsReachThePageWithTheWordIntact) {
    rt::TStringList words{"say \"hi\"", "x"};
    solvane.ShowOccurrencesOfWords(words, true);
    const auto& scripts = browser->document->window->scripts;
    ASSERT_EQ(scripts.size(), 2u);
    EXPECT_NE(scripts[0].code.find(L"s=\"say \\\"hi\\\"\";"), std::wstring::npos);
    EXPECT_NE(scripts[1].code.find(L"\"BackColor\",\"false\",\"violet\""), std::wstring::npos);
    solvane.ShowOccurrencesOfWords(words, false);
    EXPECT_EQ(browser->refreshLevels, std::vector<LONG>{0});
    EXPECT_EQ(browser->refreshTypes, std::vector<VARTYPE>{VT_I4});
}

TEST_F(Win32BrowserTest, AHighlightedWordStaysInsideItsStringInCodePage932) {
    // The prefix's own code page is 1252: the user's is taken as 932 here,
    // through the real conversion.
    platform::ServiceSet set;
    set.codePage = std::make_shared<platform::win32::Win32CodePage>(932);
    platform::ScopedServices services(set);
    // The trail byte of the first character (0x95 0x5C) has the value of "\".
    solvane.ShowOccurrencesOfWords(rt::TStringList{"\x95\x5C\"+injected()//", "\x83\x5C\\\"+x()//"}, true);
    const auto& scripts = browser->document->window->scripts;
    ASSERT_EQ(scripts.size(), 2u);
    const std::wstring read[] = {L"\\u8868\\\"+injected()//", L"\\u30BD\\\\\\\"+x()//"};
    for (int i = 0; i < 2; ++i) {
        const std::wstring& code = scripts[i].code;
        const std::wstring head = L"var r,i,s=\"";
        const std::size_t start = code.find(head);
        ASSERT_NE(start, std::wstring::npos);
        // The literal, up to its first quote that no backslash escapes.
        std::size_t at = start + head.size();
        while (at < code.size() && code[at] != L'"') at += code[at] == L'\\' ? 2 : 1;
        EXPECT_EQ(code.substr(start + head.size(), at - start - head.size()), read[i]) << i;
        EXPECT_EQ(code.compare(at, 7, L"\";if(s)"), 0) << i;  // the script goes on as written
        for (wchar_t c : code) EXPECT_LT(static_cast<unsigned>(c), 0x80u) << i;
    }
}

TEST(Win32CodePage, TheHostStandInReadsCodePage932AsWindowsDoes) {
    // The characters the stand-in knows, single bytes and the pairs of its table.
    const std::string text = "a\\\xB1\xDF\x81\x40\x81\x5B\x82\xA0\x83\x5C\x93\xFA\x94\x5C\x95\x5C\x96\x7B\x97\x5C\x85\x40";
    platform::host::HostCodePage host;
    host.SetCodePage(932);
    EXPECT_EQ(host.ToUtf16(text), platform::win32::Win32CodePage(932).ToUtf16(text));
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(platform::host::HostCodePage().ToUtf16(all), platform::win32::Win32CodePage(1252).ToUtf16(all));
}

TEST_F(Win32BrowserTest, DocumentsLackingAnInterfaceFailOnlyWhatNeedsIt) {
    ShowFrameset();
    browser->document->isContainer = false;
    EXPECT_EQ(solvane.FrameCount(), 0);
    EXPECT_TRUE(solvane.execScript("top()"));
    EXPECT_EQ(browser->document->window->scripts.size(), 1u);

    browser->document->isHtml = false;
    EXPECT_FALSE(solvane.execScript("top()"));
    EXPECT_THROW(solvane.PostHtml("<p/>"), rt::EOleException);
    EXPECT_EQ(solvane.sGetSource(true).ToVector(), std::vector<std::string>{"<frameset/>"});
}

TEST_F(Win32BrowserTest, PageAndWindowPropertiesComeThroughTheInterfaces) {
    EXPECT_EQ(solvane.CurrentPageTitle(), "Caf\xe9 page");
    EXPECT_EQ(solvane.CurrentPageUrl(), "http://www.example.com/a/page.html");
    EXPECT_TRUE(solvane.Ready());
    EXPECT_FALSE(solvane.Busy());
    browser->readyState = READYSTATE_UNINITIALIZED;
    EXPECT_THROW(solvane.FailIfNoDocument(), rt::Exception);

    platform::WindowHandle wnd = 0;
    EXPECT_TRUE(solvane.AssignIEHwnd(wnd));
    EXPECT_EQ(wnd, 0x1234u);

    solvane.PostHtml("<b>\xe9</b>");
    EXPECT_EQ(browser->document->written, std::vector<std::wstring>{L"<b>\u00e9</b>"});
    EXPECT_EQ(browser->document->closes, 1);

    solvane.ShowBand();
    solvane.CloseBand();
    ASSERT_EQ(browser->bars.size(), 2u);
    EXPECT_EQ(browser->bars[0].clsidType, VT_BSTR);
    EXPECT_EQ(browser->bars[0].clsid, L"{7A33D136-248C-4BA5-B72D-BB68F4AD9039}");
    EXPECT_EQ(browser->bars[0].showType, VT_BOOL);
    EXPECT_EQ(browser->bars[0].show, VARIANT_TRUE);
    EXPECT_EQ(browser->bars[1].show, VARIANT_FALSE);
    EXPECT_EQ(browser->bars[0].sizeType, VT_I4);
    EXPECT_EQ(browser->bars[0].size, 0);

    browser->calls.clear();
    auto ie = solvane.IE();
    ie->SetLeft(0);
    ie->SetTop(0);
    ie->SetWidth(640);
    ie->SetHeight(480);
    EXPECT_EQ(browser->calls, (std::vector<std::wstring>{L"Left=0", L"Top=0", L"Width=640", L"Height=480"}));

    browser->document = nullptr;
    EXPECT_EQ(solvane.Document(), nullptr);
    EXPECT_THROW(solvane.PostHtml("x"), rt::EOleException);
}

TEST_F(Win32BrowserTest, TheTopWindowIsKnownByItsIdentity) {
    auto other = Make<FakeBrowser>();
    auto plugin = Make<FakePlugin>();
    EXPECT_TRUE(solvane.IsTopWindow(BrowserObjectFrom(static_cast<IDispatch*>(browser.Get())).get()));
    EXPECT_FALSE(solvane.IsTopWindow(BrowserObjectFrom(static_cast<IDispatch*>(other.Get())).get()));
    EXPECT_FALSE(solvane.IsTopWindow(BrowserObjectFrom(plugin.Get()).get()));
}

TEST_F(Win32BrowserTest, AMaximisedBrowserWindowIsShownNormalAgain) {
    HWND window = ::CreateWindowExA(0, "STATIC", "browser", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_MAXIMIZE);
    browser->hwnd = reinterpret_cast<SHANDLE_PTR>(window);
    auto ie = solvane.IE();
    EXPECT_TRUE(ie->WindowMaximized());
    ie->ShowWindowNormal();
    EXPECT_FALSE(ie->WindowMaximized());
    EXPECT_FALSE(::IsZoomed(window));
    ::DestroyWindow(window);
}

TEST(Win32VersionTest, FileVersionTextComesFromTheFirstTranslation) {
    char path[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_EQ(platform::win32::FileVersionString(path), "9.8.7.6 (test build)");
    EXPECT_EQ(platform::win32::FileVersionString("c:\\no\\such\\file.dll"), "");

    // The shell's browser library of this system has a dotted version.
    auto ie = BrowserFrom(Make<FakeBrowser>().Get());
    const std::string version = ie->VersionText();
    EXPECT_TRUE(!version.empty() && std::isdigit(static_cast<unsigned char>(version[0])) &&
                version.find('.') != std::string::npos)
        << version;
}

}  // namespace
