#include "foundation/EISimpleXmlUnit.h"

#include <gtest/gtest.h>

#include "foundation/EIFunctionsBase.h"

using namespace foundation;

namespace {

const char* kCategory =
    "<items>\n"
    "<mru/>\n"
    "<item caption=\"Zoo\" url=\"http://zoo/?q=%%SEARCH%%\" id=\"zoo\"/>\n"
    "<items caption=\"More\">\n"
    "  <item caption=\"Apple\" url=\"http://apple/?q=%%SEARCH%%\" id=\"APPLE\"/>\n"
    "  <item caption=\"Never\" id=\"none\" mru=\"no\"/>\n"
    "</items>\n"
    "</items>\n";

}  // namespace

TEST(EISimpleXml, WalkVisitsDepthFirstAndCanGoOnAfterErrors) {
    TEISimpleXml xml;
    xml.LoadFromString("<r><a><b/></a><c/></r>");
    std::string order;
    xml.Walk(
        *xml.Root(), [&](rt::TXmlElement& e, rt::TObject*) { order += "+" + e.Name(); },
        [&](rt::TXmlElement& e, rt::TObject*) { order += "-" + e.Name(); }, nullptr, false);
    EXPECT_EQ(order, "+r+a+b-b-a+c-c-r");

    std::vector<std::string> errors;
    xml.OnWalkError = [&](TEISimpleXml&, const std::string& message) { errors.push_back(message); };
    auto failOnA = [](rt::TXmlElement& e, rt::TObject*) {
        if (e.Name() == "a") RaiseError("bad " + e.Name());
    };
    order.clear();
    xml.Walk(*xml.Root(), failOnA, [&](rt::TXmlElement& e, rt::TObject*) { order += e.Name(); }, nullptr, true);
    EXPECT_EQ(order, "cr");  // a's subtree is skipped, its siblings are not
    EXPECT_EQ(errors, (std::vector<std::string>{"bad a"}));
    EXPECT_THROW(xml.Walk(*xml.Root(), failOnA, nullptr, nullptr, false), EIIgniteError);

    // The start element's own handler is not guarded; non-exceptions always propagate.
    auto failOnR = [](rt::TXmlElement& e, rt::TObject*) {
        if (e.Name() == "r") RaiseError("root");
    };
    EXPECT_THROW(xml.Walk(*xml.Root(), failOnR, nullptr, nullptr, true), EIIgniteError);
    auto throwInt = [](rt::TXmlElement& e, rt::TObject*) {
        if (e.Name() == "c") throw 42;
    };
    EXPECT_THROW(xml.Walk(*xml.Root(), throwInt, nullptr, nullptr, true), int);
}

TEST(EISimpleXml, FindByPropertyIgnoresCaseAndNeverReturnsTheRoot) {
    TEISimpleXml xml;
    xml.LoadFromString("<items id=\"root\"><item id=\"a\"/><items caption=\"x\"><item id=\"Deep\"/></items></items>");
    rt::TXmlElement* found = nullptr;
    EXPECT_TRUE(xml.FindByProperty("id", "deep", found));
    EXPECT_EQ(found->Attribute("id"), "Deep");
    EXPECT_FALSE(xml.FindByProperty("id", "root", found));
    EXPECT_FALSE(xml.FindByProperty("id", "missing", found));

    std::vector<std::string> errors;
    xml.OnWalkError = [&](TEISimpleXml&, const std::string& message) { errors.push_back(message); };
    bool searchedOn = xml.FindElement(
        *xml.Root(),
        [](rt::TXmlElement& e, rt::TObject*, bool& matched) {
            if (e.Attribute("id") == "a") RaiseError("cannot test a");
            matched = e.Attribute("id") == "Deep";
        },
        nullptr, found);
    EXPECT_TRUE(searchedOn);
    EXPECT_EQ(errors, (std::vector<std::string>{"cannot test a"}));
}

TEST(MruBlock, SortsKnownEntriesAndDropsUnknownOnes) {
    const rt::TStringList ids{"zoo", "gone", "apple"};
    const std::string block = BuildMruBlock(kCategory, ids);
    EXPECT_EQ(block,
              "<item caption=\"Apple\" url=\"http://apple/?q=%%SEARCH%%\" id=\"APPLE\"/>\r\n"
              "<item caption=\"Zoo\" url=\"http://zoo/?q=%%SEARCH%%\" id=\"zoo\"/>\r\n"
              "<item caption=\"-\" url=\"-\" mru=\"\"/>");
    EXPECT_EQ(ids.Count(), 3);  // the list itself keeps the unknown id

    EXPECT_EQ(BuildMruBlock(kCategory, rt::TStringList{"gone"}), "");
    EXPECT_EQ(BuildMruBlock(kCategory, rt::TStringList{}), "");

    TEISimpleXml menu;
    menu.LoadFromString(InsertMruBlock(kCategory, block));
    EXPECT_EQ(menu.Root()->ChildCount(), 5);
    EXPECT_EQ(menu.Root()->Child(0).Attribute("caption"), "Apple");
    EXPECT_EQ(menu.Root()->Child(2).Attribute("caption"), "-");

    EXPECT_EQ(InsertMruBlock("<items><MRU/><mru/></items>", "<x/>"), "<items><x/><x/></items>");
    EXPECT_THROW(BuildMruBlock("<items><item", ids), rt::EXmlError);
}

TEST(EISimpleXml, WalkAndSearchStopAtTheNestingLimit) {
    // Deeper than any file can be: built in code, where nothing limits it.
    TEISimpleXml xml;
    xml.LoadFromString("<r/>");
    rt::TXmlElement* deepest = xml.Root();
    for (int i = 0; i < 100000; ++i) deepest = &deepest->AddChild("a");
    deepest->SetAttribute("id", "bottom");

    int visited = 0;
    auto count = [&](rt::TXmlElement&, rt::TObject*) { ++visited; };
    EXPECT_THROW(xml.Walk(*xml.Root(), count, nullptr, nullptr, false), rt::EXmlError);
    EXPECT_EQ(visited, rt::MaxXmlDepth);

    std::vector<std::string> errors;
    xml.OnWalkError = [&](TEISimpleXml&, const std::string& message) { errors.push_back(message); };
    visited = 0;
    xml.Walk(*xml.Root(), count, nullptr, nullptr, true);
    EXPECT_EQ(visited, rt::MaxXmlDepth);
    EXPECT_EQ(errors.size(), 1u);

    rt::TXmlElement* found = nullptr;
    EXPECT_FALSE(xml.FindByProperty("id", "bottom", found));
}

TEST(MruBlock, OnlyThePlaceholderElementIsReplaced) {
    const std::string category =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE items [ <!ENTITY x \"<mru/>\"> ]>\n"
        "<items>\n<!-- a <mru/> in a comment -->\n"
        "<item caption=\"&lt;mru/&gt; and &#60;mru/>\" id='q' url=\"&#60;mru/>\"/>\n"
        "<MRU/>\n"
        "<items caption=\"Sub\"><mru/></items>\n"
        "<![CDATA[<mru/>]]>\n"
        "</items>";
    const std::string out = InsertMruBlock(category, "<item caption=\"Pick\" id=\"p\"/>");
    EXPECT_NE(out.find("<!ENTITY x \"<mru/>\">"), std::string::npos);
    EXPECT_NE(out.find("<!-- a <mru/> in a comment -->"), std::string::npos);
    EXPECT_NE(out.find("<![CDATA[<mru/>]]>"), std::string::npos);
    TEISimpleXml menu;
    ASSERT_NO_THROW(menu.LoadFromString(out)) << out;
    const rt::TXmlElement& root = *menu.Root();
    ASSERT_EQ(root.ChildCount(), 3) << out;
    EXPECT_EQ(root.Child(0).Attribute("url"), "<mru/>");
    EXPECT_EQ(root.Child(1).Attribute("caption"), "Pick");
    EXPECT_EQ(root.Child(2).Child(0).Attribute("caption"), "Pick");

    // The block itself: built from the file as it stands.
    const std::string block = BuildMruBlock(category, rt::TStringList{"Q"});
    EXPECT_EQ(block.find("<item caption=\"&#60;mru/&#62; and &#60;mru/&#62;\" id=\"q\""), 0u) << block;
    EXPECT_THROW(InsertMruBlock("<items><mru/>", "<x/>"), rt::EXmlError);
}
