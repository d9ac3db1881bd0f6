// Our XML parser against a well-kept reference parser on menu-like files and
// generated documents: the same elements, attributes and values in the same
// order, and both refusing the same malformed texts.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <random>

#include "runtime/SimpleXml.h"
#include "xmlcompare/XmlDescribe.h"

namespace {

using zrtest::Describe;

// Both parsers' view of a text, or "error" when a parser refuses it.
std::pair<std::string, std::string> ParseBoth(const std::string& text) {
    std::string ours, reference;
    try {
        rt::TXmlDocument doc;
        doc.LoadFromString(text);
        ours = Describe(*doc.Root());
    } catch (const rt::EXmlError&) {
        ours = "error";
    }
    pugi::xml_document doc;
    const auto result = doc.load_string(text.c_str());
    const auto root = doc.document_element();
    reference = result && root ? Describe(root) : "error";
    return {ours, reference};
}

// A random value with the characters and references menu files carry.
std::string RandomValue(std::mt19937& random, char quote) {
    static const std::vector<std::string> pieces = {
        "a", "Zoo", " ", "%%SEARCH%%", "http://x/?q=1", "&amp;", "&#38;", "&#x26;", "&lt;", "&gt;", "&quot;",
        "&apos;", "&#34;", "&#39;", "\t", "\r\n", "\n", "-", ".", "&#65;", "&#x7A;"};
    std::string value;
    const int n = std::uniform_int_distribution<int>(0, 6)(random);
    for (int i = 0; i < n; ++i) value += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    if (quote == '"') value += std::uniform_int_distribution<int>(0, 3)(random) == 0 ? "'" : "";
    else value += std::uniform_int_distribution<int>(0, 3)(random) == 0 ? "\"" : "";
    return value;
}

std::string RandomElement(std::mt19937& random, int depth) {
    static const std::vector<std::string> names = {"item", "items", "entry", "x_1", "a.b", "ns:tag"};
    static const std::vector<std::string> attributes = {"caption", "url", "id", "default", "mru", "value", "checked"};
    const std::string name = names[std::uniform_int_distribution<std::size_t>(0, names.size() - 1)(random)];
    std::string text = "<" + name;
    std::vector<std::string> used;
    const int count = std::uniform_int_distribution<int>(0, 4)(random);
    for (int i = 0; i < count; ++i) {
        const std::string attr = attributes[std::uniform_int_distribution<std::size_t>(0, attributes.size() - 1)(random)];
        if (std::find(used.begin(), used.end(), attr) != used.end()) continue;
        used.push_back(attr);
        const char quote = std::uniform_int_distribution<int>(0, 1)(random) ? '"' : '\'';
        text += (std::uniform_int_distribution<int>(0, 1)(random) ? " " : "\n  ") + attr + " = " + quote +
                RandomValue(random, quote) + quote;
    }
    const int children = depth < 4 ? std::uniform_int_distribution<int>(0, 3)(random) : 0;
    if (children == 0 && std::uniform_int_distribution<int>(0, 1)(random)) return text + "/>";
    text += ">";
    for (int i = 0; i < children; ++i) {
        if (std::uniform_int_distribution<int>(0, 3)(random) == 0) text += "<!-- note -->";
        if (std::uniform_int_distribution<int>(0, 3)(random) == 0) text += " some text ";
        text += "\n" + RandomElement(random, depth + 1);
    }
    return text + "</" + name + " >";
}

}  // namespace

TEST(SimpleXmlVsReference, MenuFiles) {
    const std::vector<std::string> corpus = {
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<items>\r\n"
        "  <item caption=\"Web\" url=\"http://www.example.com/search?q=%%SEARCH%%&amp;hl=en\" id=\"web\" default=\"Yes\"/>\r\n"
        "  <item caption=\"-\" url=\"-\" mru=\"\"/>\r\n"
        "  <items caption=\"Regional\">\r\n"
        "    <item caption=\"Books &amp; more\" url=\"http://books.example/?k=%%SEARCH%%\" id=\"books\"/>\r\n"
        "  </items>\r\n</items>\r\n",
        "<items><item caption='It&apos;s' url='x' id='q'/></items>",
        "<list><entry caption=\"One\" value=\"1\" checked=\"TRUE\"/><entry caption=\"Two\" value=\"2\"/></list>",
        "<items><!-- empty --></items>",
    };
    for (const auto& text : corpus) {
        const auto [ours, reference] = ParseBoth(text);
        EXPECT_NE(ours, "error") << text;
        EXPECT_EQ(ours, reference) << text;
    }
}

TEST(SimpleXmlVsReference, GeneratedDocuments) {
    std::mt19937 random(20261208);
    for (int n = 0; n < 2000; ++n) {
        const std::string text = "<?xml version=\"1.0\"?>\n" + RandomElement(random, 0) + "\n";
        const auto [ours, reference] = ParseBoth(text);
        ASSERT_EQ(ours, reference) << text;
        ASSERT_NE(ours, "error") << text;
        // What we write reads back the same in both.
        rt::TXmlDocument doc;
        doc.LoadFromString(text);
        const auto [again, referenceAgain] = ParseBoth(rt::TXmlDocument::ElementToString(*doc.Root()));
        ASSERT_EQ(again, ours);
        ASSERT_EQ(referenceAgain, ours);
    }
}

TEST(SimpleXmlVsReference, BothRefuseMalformedTexts) {
    for (const std::string text :
         {"", "<a>", "<a></b>", "<a x=1/>", "<a x=\"unterminated/>", "text only", "<a><b></a></b>"}) {
        const auto [ours, reference] = ParseBoth(text);
        EXPECT_EQ(ours, "error") << text;
        EXPECT_EQ(reference, "error") << text;
    }
    // Where the reference is lenient we keep to the XML rules: one root, no
    // repeated attribute, no "<" in a value.
    for (const std::string text : {"<a x=\"1\" x=\"2\"/>", "<a x=\"<\"/>", "<a/><b/>"})
        EXPECT_EQ(ParseBoth(text).first, "error") << text;
}
