#include "runtime/SimpleXml.h"

#include <gtest/gtest.h>

#include <memory>

using rt::TXmlDocument;
using rt::TXmlElement;

namespace {

TXmlElement& Load(TXmlDocument& doc, const std::string& text) {
    doc.LoadFromString(text);
    return *doc.Root();
}

std::string ErrorOf(const std::string& text) {
    try {
        TXmlDocument doc;
        doc.LoadFromString(text);
    } catch (const rt::EXmlError& e) {
        return e.Message();
    }
    return "";
}

}  // namespace

TEST(SimpleXml, ReadsElementsAttributesAndChildrenInOrder) {
    TXmlDocument doc;
    TXmlElement& root = Load(doc,
                             "<?xml version=\"1.0\"?>\n<!-- menu -->\n<!DOCTYPE items>\n"
                             "<items>\n  <item caption='Web' url=\"http://a/?q=%%SEARCH%%\" id=\"web\"/>\n"
                             "  text is ignored <![CDATA[ <x> ]]>\n"
                             "  <items caption=\"Sub\"><item caption=\"-\"/></items>\n</items>\n");
    EXPECT_EQ(root.Name(), "items");
    ASSERT_EQ(root.ChildCount(), 2);
    const TXmlElement& item = root.Child(0);
    EXPECT_EQ(item.AttributeCount(), 3);
    EXPECT_EQ(item.AttributeName(1), "url");
    EXPECT_EQ(item.Attribute("CAPTION"), "Web");
    EXPECT_EQ(item.Attribute("missing"), "");
    EXPECT_EQ(item.Attribute("missing", "dflt"), "dflt");
    EXPECT_EQ(root.Child(1).Child(0).Parent(), &root.Child(1));
}

TEST(SimpleXml, DecodesReferencesAndWritesThemBack) {
    TXmlDocument doc;
    TXmlElement& root = Load(doc, "<a v=\"&#34;x&#38;y&#39; &lt;&gt;&amp;&quot;&apos; &#x41; &bogus; & &#1000;\"/>");
    EXPECT_EQ(root.Attribute("v"), "\"x&y' <>&\"' A &bogus; & ?");
    EXPECT_EQ(TXmlDocument::ElementToString(root),
              "<a v=\"&#34;x&#38;y&#39; &#60;&#62;&#38;&#34;&#39; A &#38;bogus; &#38; ?\"/>");

    // A written element reads back the same.
    TXmlDocument again;
    again.LoadFromString(TXmlDocument::ElementToString(root));
    EXPECT_EQ(again.Root()->Attribute("v"), root.Attribute("v"));

    TXmlElement& nested = Load(doc, "<r><i a=\"1\"><j/></i></r>");
    EXPECT_EQ(TXmlDocument::ElementToString(nested), "<r><i a=\"1\"><j/></i></r>");
    EXPECT_EQ(Load(doc, "<a v=\"line\r\nbreak\ttab\"/>").Attribute("v"), "line break tab");
}

TEST(SimpleXml, MalformedTextRaisesWithItsPlace) {
    EXPECT_EQ(ErrorOf(""), "XML error at line 1, column 1: no root element");
    EXPECT_EQ(ErrorOf("<a>\n<b></a>"), "XML error at line 2, column 7: end tag does not match b");
    EXPECT_NE(ErrorOf("<a/><b/>"), "");
    EXPECT_NE(ErrorOf("<a x=1/>"), "");
    EXPECT_NE(ErrorOf("<a x=\"1\" x=\"2\"/>"), "");
    EXPECT_NE(ErrorOf("<a x=\"<\"/>"), "");
    EXPECT_NE(ErrorOf("<a>"), "");
    EXPECT_NE(ErrorOf("<a x=\"unterminated/>"), "");
    EXPECT_NE(ErrorOf("<!-- only a comment"), "");
    EXPECT_NE(ErrorOf("just text"), "");
}

TEST(SimpleXml, NestingIsLimitedInEveryWalkOfTheTree) {
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i) text += "<a>";
        for (int i = 0; i < depth; ++i) text += "</a>";
        return text;
    };
    TXmlDocument doc;
    EXPECT_NO_THROW(doc.LoadFromString(nested(rt::MaxXmlDepth)));
    EXPECT_NO_THROW(TXmlDocument::ElementToString(*doc.Root()));
    EXPECT_NE(ErrorOf(nested(rt::MaxXmlDepth + 1)).find("nested deeper than"), std::string::npos);
    // A damaged file far past the limit fails the same way instead of
    // exhausting the stack (a browser thread's is small).
    EXPECT_NE(ErrorOf(nested(200000)).find("nested deeper than"), std::string::npos);

    // A tree built in code has no such limit: it can still be freed, and
    // writing it raises instead of recursing without end.
    auto root = std::make_unique<TXmlElement>("root");
    TXmlElement* deepest = root.get();
    for (int i = 0; i < 200000; ++i) deepest = &deepest->AddChild("a");
    EXPECT_THROW(TXmlDocument::ElementToString(*root), rt::EXmlError);
    root.reset();
}

TEST(SimpleXml, BlanksInValuesSurviveAWriteAndARead) {
    TXmlElement element("item");
    element.SetAttribute("id", "a\tb");
    element.SetAttribute("url", "http://x/\r\ny\rz\n");
    TXmlDocument doc;
    doc.LoadFromString(TXmlDocument::ElementToString(element));
    EXPECT_EQ(doc.Root()->Attribute("id"), "a\tb");
    EXPECT_EQ(doc.Root()->Attribute("url"), "http://x/\r\ny\rz\n");
    // Written raw, the same blanks read as spaces.
    doc.LoadFromString("<item id=\"a\tb\"/>");
    EXPECT_EQ(doc.Root()->Attribute("id"), "a b");
}
