// The controller's page half: frames against other embedded objects,
// scripts, page sources, titles, writing HTML and highlighting.
#include <gtest/gtest.h>

#include "SolvaneFixture.h"
#include "foundation/EIFunctionsBase.h"

using platform::host::HostDocument;
using platform::host::HostDocumentWith;
using platform::host::HostPlugin;
using toolbar::TSolvane;

namespace {

const std::string kStillLoading = "This page is still being loaded.\r\rPlease try again once it has finished loading.";

class SolvanePageTest : public SolvaneTest {
protected:
    // The browser shows a frameset of two frames.
    void ShowFrameset() {
        frameA = MakeFrame("http://f.test/a", "\r\n  <p>A</p>\nline two\n\n");
        frameB = MakeFrame("http://f.test/b", "<p>B</p>");
        browser->Show("http://f.test/", "Frames", HostDocumentWith("<frameset>\r</frameset>", {frameA, frameB}));
    }
    HostDocument& Top() { return *browser->document; }
    HostDocument& DocOf(const std::shared_ptr<HostBrowser>& frame) { return *frame->document; }

    std::shared_ptr<HostBrowser> frameA, frameB;
};

TEST_F(SolvanePageTest, ScriptsRunInTheTopDocumentOnlyWhenThePageHasNoFrames) {
    EXPECT_EQ(solvane.FrameCount(), 0);
    EXPECT_TRUE(solvane.execScript("alert(1)"));
    EXPECT_EQ(Top().scripts, (std::vector<HostDocument::Script>{{"alert(1)", "javascript"}}));
    EXPECT_EQ(solvane.LastScript(), "alert(1)");

    ShowFrameset();
    EXPECT_EQ(solvane.FrameCount(), 2);
    EXPECT_TRUE(solvane.execScript("go()"));
    EXPECT_TRUE(Top().scripts.empty());
    EXPECT_EQ(DocOf(frameA).scripts.size(), 1u);
    EXPECT_EQ(DocOf(frameB).scripts.size(), 1u);
    EXPECT_EQ(rt::GetStrProp(solvane, "LastScript"), "go()");
}

TEST_F(SolvanePageTest, AnEmbeddedPluginIsNoFrame) {
    browser->Show("http://p.test/", "Plug-in", HostDocumentWith("<object/>", {std::make_shared<HostPlugin>()}));
    EXPECT_EQ(solvane.FrameCount(), 1);
    EXPECT_FALSE(solvane.execScript("x()"));  // took the frame walk and found no browser
    EXPECT_TRUE(Top().scripts.empty());

    ShowFrameset();
    Top().embedded.insert(Top().embedded.begin() + 1, std::make_shared<HostPlugin>());
    std::vector<std::string> visited;
    auto visit = [&](platform::IBrowser& frame, void*) { visited.push_back(frame.LocationURL()); };
    EXPECT_FALSE(solvane.forEachFrame(true, nullptr, visit));
    EXPECT_EQ(visited, (std::vector<std::string>{"http://f.test/a", "http://f.test/b"}));
    visited.clear();
    EXPECT_FALSE(solvane.forEachFrame(false, nullptr, visit));
    EXPECT_EQ(visited, (std::vector<std::string>{"http://f.test/a"}));
}

TEST_F(SolvanePageTest, FrameCountStopsAtOneHundred) {
    std::vector<std::shared_ptr<platform::IBrowserObject>> many;
    for (int i = 0; i < 150; ++i) many.push_back(std::make_shared<HostPlugin>());
    browser->Show("http://many.test/", "Many", HostDocumentWith("", many));
    EXPECT_EQ(solvane.FrameCount(), 100);

    Top().isContainer = false;
    EXPECT_EQ(solvane.FrameCount(), 0);
    Top().Fail("EnumObjects");
    EXPECT_EQ(solvane.FrameCount(), 0);
    browser->document = nullptr;
    EXPECT_EQ(solvane.FrameCount(), 0);
}

TEST_F(SolvanePageTest, ScriptFailuresAreSeenOnlyInThePageWithoutFrames) {
    Top().scriptsFail = true;
    EXPECT_FALSE(solvane.execScript("bad("));
    Top().scriptsFail = false;
    Top().hasWindow = false;
    EXPECT_FALSE(solvane.execScript("x()"));

    ShowFrameset();
    DocOf(frameA).scriptsFail = true;
    EXPECT_TRUE(solvane.execScript("bad("));  // the walk only counts reaching the frame's document
    EXPECT_EQ(DocOf(frameB).scripts.size(), 1u);
    frameA->Fail("Document");
    EXPECT_FALSE(solvane.execScript("y()"));
    EXPECT_EQ(DocOf(frameB).scripts.size(), 2u);

    Top().Fail("Next");  // the walk itself breaks down: reported as a failure, not raised
    EXPECT_FALSE(solvane.execScriptInFrames("z()"));
    EXPECT_EQ(DocOf(frameB).scripts.size(), 2u);
}

TEST_F(SolvanePageTest, FrameWalkNeedsACompletePage) {
    ShowFrameset();
    browser->readyState = platform::readystate::Interactive;
    bool visited = false;
    try {
        solvane.forEachFrame(true, nullptr, [&](platform::IBrowser&, void*) { visited = true; });
        FAIL();
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), kStillLoading);
    }
    EXPECT_FALSE(visited);
    EXPECT_THROW(solvane.execScript("x()"), rt::Exception);

    browser->readyState = platform::readystate::Complete;
    browser->document = nullptr;
    EXPECT_FALSE(solvane.forEachFrame(true, nullptr, [&](platform::IBrowser&, void*) { visited = true; }));
    EXPECT_FALSE(visited);
}

TEST_F(SolvanePageTest, SourcesListTheTopDocumentThenEachFrameWithCrLfLines) {
    EXPECT_EQ(solvane.sGetSource(false).Count(), 0);
    ShowFrameset();
    const auto& sources = solvane.sGetSource(true);
    EXPECT_EQ(sources.ToVector(), (std::vector<std::string>{"<frameset>\r\n</frameset>", "<p>A</p>\r\nline two", "<p>B</p>"}));
    EXPECT_EQ(solvane.GetPageSize(), 23 + 18 + 8);

    DocOf(frameB).source = "changed";
    EXPECT_EQ(solvane.sGetSource(false)[2], "<p>B</p>");  // kept until refreshed

    DocOf(frameA).canSave = false;
    Top().Fail("Save");
    EXPECT_EQ(solvane.sGetSource(true).ToVector(), std::vector<std::string>{"changed"});
}

TEST_F(SolvanePageTest, SourceOfAPageStillLoadingRaisesAfterTheTopEntry) {
    ShowFrameset();
    browser->readyState = platform::readystate::Loading;
    try {
        solvane.sGetSource(true);
        FAIL();
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), kStillLoading);
    }
    EXPECT_EQ(solvane.sGetSource(false).ToVector(), std::vector<std::string>{"<frameset>\r\n</frameset>"});
    EXPECT_TRUE(solvane.PageCouldntBeDisplayed());
}

TEST_F(SolvanePageTest, ErrorPagesAreRecognisedByTheirFirstSource) {
    EXPECT_FALSE(solvane.PageCouldntBeDisplayed());
    Top().source = "<title>THE PAGE CANNOT be displayed</title>";
    EXPECT_TRUE(solvane.PageCouldntBeDisplayed());
    browser->document = nullptr;  // no entry at all
    EXPECT_FALSE(solvane.PageCouldntBeDisplayed());
}

TEST_F(SolvanePageTest, TitlesAreShortenedPastSixtyCharacters) {
    const std::string sixty(60, 't');
    browser->locationName = sixty;
    EXPECT_EQ(solvane.CurrentShortPageTitle(), sixty);
    browser->locationName = sixty + "u";
    EXPECT_EQ(solvane.CurrentShortPageTitle(), sixty + "...");
    browser->locationName = std::string(100, 'x');
    EXPECT_EQ(solvane.CurrentShortPageTitle(), std::string(60, 'x') + "...");
    EXPECT_EQ(solvane.CurrentPageTitle(), std::string(100, 'x'));
    EXPECT_EQ(solvane.CurrentPageUrl(), "http://www.example.com/a/b/page.html");

    browser->Fail("LocationName");
    EXPECT_THROW(solvane.CurrentShortPageTitle(), foundation::EIIgniteError);
    TSolvane unsited(nullptr);
    EXPECT_THROW(unsited.CurrentPageUrl(), foundation::EIIgniteError);
}

TEST_F(SolvanePageTest, PostHtmlWritesAndClosesTheDocument) {
    solvane.PostHtml("<b>hi</b>");
    EXPECT_EQ(Top().written, std::vector<std::string>{"<b>hi</b>"});
    EXPECT_EQ(Top().closes, 1);

    Top().Fail("Write");
    EXPECT_THROW(solvane.PostHtml("x"), rt::EOleException);
    browser->document = nullptr;
    EXPECT_THROW(solvane.PostHtml("x"), rt::EOleException);
}

// The highlight script from the end of its word's string literal on.
std::string HighlightTailFor(const std::string& colour) {
    const std::string script = TSolvane::HighlightScript("w", colour);
    return script.substr(script.find("\";if(s)"));
}

// The background colour a highlight script paints with.
std::string BackColorOf(const std::string& script) {
    const std::string mark = "\"BackColor\",\"false\",\"";
    auto at = script.find(mark) + mark.size();
    return script.substr(at, script.find('"', at) - at);
}

TEST_F(SolvanePageTest, HighlightingCyclesFourColoursAndClearsByReloading) {
    rt::TStringList words{"one", "two", "three", "four", "five"};
    solvane.ShowOccurrencesOfWords(words, true);
    ASSERT_EQ(Top().scripts.size(), 5u);
    std::vector<std::string> colours;
    for (const auto& s : Top().scripts) colours.push_back(BackColorOf(s.code));
    EXPECT_EQ(colours, (std::vector<std::string>{"yellow", "violet", "lime", "cyan", "yellow"}));
    EXPECT_EQ(Top().scripts[0].code,
              "FD983r={x:function(){var r,i,s=\"one\";if(s){r=document.body.createTextRange();for(i=0;r.findText(s);i++)"
              "{r.execCommand(\"BackColor\",\"false\",\"yellow\");r.execCommand(\"ForeColor\",\"false\",\"black\");"
              "r.collapse(false)}}}};FD983r.x()");
    EXPECT_EQ(solvane.LastScript(), Top().scripts[4].code);

    solvane.ShowOccurrencesOfWords(rt::TStringList{}, false);
    EXPECT_TRUE(browser->refreshes.empty());
    solvane.ShowOccurrencesOfWords(words, false);
    EXPECT_EQ(browser->refreshes, std::vector<int>{0});
}

TEST_F(SolvanePageTest, HighlightedWordsAreEscapedSoThePageSearchesForExactlyThem) {
    const std::string tail = HighlightTailFor("yellow");
    for (const std::string& word : std::vector<std::string>{"say \"hi\"", "back\\slash", "it's", "two\nlines", std::string("nul\0!", 5)}) {
        const std::string script = TSolvane::HighlightScript(word, "yellow");
        const std::string head = "FD983r={x:function(){var r,i,s=\"";
        ASSERT_EQ(script.rfind(head, 0), 0u);
        std::size_t end = 0;
        EXPECT_EQ(ReadScriptString(script, head.size(), end), word);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(script.substr(end), tail) << script;  // the rest of the script is untouched
    }
}

// Every byte of a script is ASCII: it reads the same in any code page.
bool IsAscii(const std::string& script) {
    for (unsigned char c : script)
        if (c >= 0x80) return false;
    return true;
}

TEST_F(SolvanePageTest, AWordCannotLeaveItsStringInADoubleByteCodePage) {
    const std::string head = "FD983r={x:function(){var r,i,s=\"";
    const std::string tail = HighlightTailFor("yellow");
    host_.codePage->SetCodePage(932);
    // In code page 932 the trail bytes of these characters have the value of "\".
    const std::pair<std::string, std::u16string> cases[] = {
        {"\x95\x5C\"+injected()//", u"\u8868\"+injected()//"},
        {"\x83\x5C\\\"+x()//", u"\u30BD\\\"+x()//"},
        {"\x94\x5C'\x97\x5C</script>", u"\u80FD'\u4E88</script>"},
        {"\xB1\xDF \x93\xFA\x96\x7B\x95", u"\uFF71\uFF9F \u65E5\u672C\u30FB"},  // half-width, a lone lead byte
    };
    for (const auto& [word, read] : cases) {
        const std::string script = TSolvane::HighlightScript(word, "yellow");
        ASSERT_EQ(script.rfind(head, 0), 0u);
        EXPECT_TRUE(IsAscii(script)) << script;
        std::size_t end = 0;
        EXPECT_EQ(ReadScriptString16(script, head.size(), end), read) << script;
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(script.substr(end), tail) << script;
    }
    EXPECT_NE(TSolvane::HighlightScript(cases[0].first, "yellow").find("s=\"\\u8868\\\"+injected()//\";"),
              std::string::npos);

    // Code page 1252: the same word is three characters of its own.
    host_.codePage->SetCodePage(1252);
    for (const auto& [word, read] : {std::pair<std::string, std::u16string>{"\x95\x5C\"x", u"\u2022\\\"x"},
                                     {"caf\xe9 \x80 <b>\x85\x7f", u"caf\u00E9 \u20AC <b>\u2026\u007F"}}) {
        const std::string script = TSolvane::HighlightScript(word, "yellow");
        EXPECT_TRUE(IsAscii(script)) << script;
        EXPECT_EQ(script.find('<'), std::string::npos) << script;
        std::size_t end = 0;
        EXPECT_EQ(ReadScriptString16(script, head.size(), end), read) << script;
        EXPECT_EQ(script.substr(end), tail) << script;
    }
}

}  // namespace
