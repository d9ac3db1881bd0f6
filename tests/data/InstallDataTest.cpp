// The installation's data as the system reads it: the category menu files of
// install/Data through our parser, the reference parser and the flat button's
// menu builder; the settings template through the merge and the saved-value
// store; the band's bitmaps in modules/Solvane/res through their headers.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "HostPlatformTest.h"
#include "foundation/AMState.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/EISimpleXmlUnit.h"
#include "foundation/SVCommon.h"
#include "merge/MergeState.h"
#include "runtime/Forms.h"
#include "toolbar/BandForm.h"
#include "xmlcompare/XmlDescribe.h"
#include "toolbar/controls/AMFlatButton.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = ZR_SOURCE_DIR;
const fs::path kData = kSource / "install" / "Data";
const fs::path kMedia = kSource / "modules" / "Solvane" / "res";

std::string ReadSource(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

int CountIgnoringCase(const std::string& text, const std::string& what) {
    const std::string hay = Lower(text), needle = Lower(what);
    int count = 0;
    for (auto at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + needle.size())) ++count;
    return count;
}

// The category of every button with a menu file; the file is the category followed by ".xml".
const std::vector<std::string> kSearchCategories = {"google", "amazon", "ebay", "ebay.ca", "ebay.co.uk", "others"};
const std::string kToolsCategory = "Tools";

// The browser-tool commands that the Tools menu's ids select.
struct ToolCommand {
    const char* id;
    const char* command;
    int width, height;  // ResizeBrowserWindow only
};
const std::vector<ToolCommand> kToolCommands = {
    {"{DE420CD9-E7D5-4697-9C7A-174994D33D1E}", "ViewSource", 0, 0},
    {"{DACEEB15-DF83-42D4-A456-3CB7CE2D86FA}", "CloseAllBrowserWindows", 0, 0},
    {"{91F22796-9967-4EFC-A789-B18494EB40FA}", "ToggleImages", 0, 0},
    {"{403E5415-71F1-444D-B737-140434C964BA}", "SetCurrentPageAsHomePage", 0, 0},
    {"{37287279-6249-45F7-88C3-C81B0C2C25A3}", "HighlightLinks", 0, 0},
    {"{0F9EF7F5-A7F0-4AE2-9DC4-A6C84EE56D5A}", "ResizeBrowserWindow", 240, 320},
    {"{BBB6CEBA-3CCA-44B7-9172-B61CEA34D8BA}", "ResizeBrowserWindow", 544, 372},
    {"{16D22110-98E1-4FE2-8CED-711F4428531C}", "ResizeBrowserWindow", 640, 480},
    {"{02E9E447-A39D-47DD-8EB6-17412A38A3AD}", "ResizeBrowserWindow", 800, 600},
    {"{C0005381-274A-493C-8F47-12752F8F831E}", "ResizeBrowserWindow", 1024, 768},
    {"{C02D52F5-0569-4FF5-BB3F-CCA67D407471}", "ResizeBrowserWindow", 1280, 1024},
    {"{BEBF259D-F9C8-4705-91DD-D39269FD8D9A}", "ResizeBrowserWindow", 1600, 1200},
};

// ---- the two parsers' view of a text

using zrtest::Describe;

std::string Reference(const std::string& text) {
    pugi::xml_document doc;
    const auto result = doc.load_string(text.c_str());
    return result && doc.document_element() ? Describe(doc.document_element()) : "error: " + std::string(result.description());
}

// Every element of a category file that becomes a menu command: a caption that
// is no separator, outside the submenu elements.
void CollectItems(const rt::TXmlElement& e, std::vector<const rt::TXmlElement*>& items) {
    for (int i = 0; i < e.ChildCount(); ++i) {
        const rt::TXmlElement& child = e.Child(i);
        if (child.Name() == "items") CollectItems(child, items);
        else if (!child.Attribute("caption").empty() && child.Attribute("caption") != "-") items.push_back(&child);
    }
}

struct CategoryFile {
    std::string category, text;
    foundation::TEISimpleXml doc;
    std::vector<const rt::TXmlElement*> items;
    explicit CategoryFile(const std::string& name) : category(name), text(ReadSource(kData / (name + ".xml"))) {
        doc.LoadFromString(text);
        CollectItems(*doc.Root(), items);
    }
};

}  // namespace

// ---- the menu files

TEST(InstallDataFiles, EveryCategoryHasItsFileAndNothingElseIsShipped) {
    std::set<std::string> expected(kSearchCategories.begin(), kSearchCategories.end());
    expected.insert(kToolsCategory);
    std::set<std::string> shipped;
    for (const auto& entry : fs::directory_iterator(kData)) {
        ASSERT_EQ(entry.path().extension(), ".xml") << entry.path();
        shipped.insert(entry.path().stem().string());
    }
    // Exact spelling: the band's file system may distinguish letter case.
    EXPECT_EQ(shipped, expected);
}

TEST(InstallDataFiles, OurParserAndTheReferenceReadTheSameTree) {
    for (const auto& entry : fs::directory_iterator(kData)) {
        const std::string text = ReadSource(entry.path());
        ASSERT_FALSE(text.empty()) << entry.path();
        // Well-formed for any reader, not only for the two lenient ones here: every "&" starts a reference.
        static const std::regex bareAmpersand("&(?!(amp|lt|gt|quot|apos|#[0-9]+|#x[0-9a-fA-F]+);)");
        EXPECT_FALSE(std::regex_search(text, bareAmpersand)) << entry.path();
        // As the file stands, and as the button reads it with and without remembered entries.
        const std::string mruBlock = std::string("<item caption=\"A &amp; B\" id=\"x\" url=\"http://a/?q=%%SEARCH%%\"/>\r\n") +
                                     foundation::MruSeparatorItem;
        for (const std::string& variant :
             {text, foundation::InsertMruBlock(text, ""), foundation::InsertMruBlock(text, mruBlock)}) {
            foundation::TEISimpleXml ours;
            ASSERT_NO_THROW(ours.LoadFromString(variant)) << entry.path();
            EXPECT_EQ(ours.Root()->Name(), "items") << entry.path();
            EXPECT_EQ(Describe(*ours.Root()), Reference(variant)) << entry.path();
        }
    }
}

TEST(InstallDataFiles, SearchItemsAreAddressTemplatesWithOneSearchPlaceholder) {
    const std::regex address(R"(^https?://[a-z0-9.-]+\.[a-z]{2,}(/[^\s"<>]*)?$)", std::regex::icase);
    for (const auto& category : kSearchCategories) {
        SCOPED_TRACE(category);
        CategoryFile file(category);
        ASSERT_FALSE(file.items.empty());
        std::set<std::string> ids;
        for (const rt::TXmlElement* item : file.items) {
            const std::string caption = item->Attribute("caption"), url = item->Attribute("url"),
                              id = item->Attribute("id");
            SCOPED_TRACE(caption);
            EXPECT_EQ(CountIgnoringCase(url, "%%SEARCH%%"), 1) << url;
            EXPECT_TRUE(std::regex_match(url, address)) << url;
            // No placeholder the address helpers do not know, once filled in.
            const std::string filled = foundation::ExpandUrlTemplate(url, "http://www.example.org/a/b.html", "blue whale");
            EXPECT_EQ(filled.find("%%"), std::string::npos) << filled;
            EXPECT_NE(filled.find("blue whale"), std::string::npos) << filled;
            EXPECT_FALSE(foundation::HostOfUrl(url).empty()) << url;
            // Remembered by id: each one present, unique in its file, never the "none" that is not remembered.
            EXPECT_FALSE(id.empty());
            EXPECT_NE(Lower(id), "none");
            EXPECT_TRUE(ids.insert(Lower(id)).second) << "repeated id " << id;
            EXPECT_TRUE(item->Attribute("mru").empty()) << "a search that can never be remembered";
        }
        // The remembered entries have their place at the top of the menu.
        ASSERT_GT(file.doc.Root()->ChildCount(), 0);
        EXPECT_EQ(file.doc.Root()->Child(0).Name(), "mru");
        EXPECT_EQ(CountIgnoringCase(file.text, foundation::MruPlaceholder), 1);
    }
}

TEST(InstallDataFiles, OthersHoldsMoreThanSeventySearchesInCaptionedSubmenus) {
    CategoryFile others("others");
    EXPECT_GT(others.items.size(), 70u);
    int submenus = 0;
    for (int i = 0; i < others.doc.Root()->ChildCount(); ++i) {
        const rt::TXmlElement& child = others.doc.Root()->Child(i);
        if (child.Name() != "items") continue;
        ++submenus;
        EXPECT_FALSE(child.Attribute("caption").empty());
        EXPECT_GE(child.ChildCount(), 2) << child.Attribute("caption");
    }
    EXPECT_GE(submenus, 7);
    // Its own description promises the three big sites as well.
    std::set<std::string> hosts;
    for (const rt::TXmlElement* item : others.items) hosts.insert(foundation::DomainOfUrl(item->Attribute("url")));
    for (const char* site : {"google.com", "amazon.com", "ebay.com"}) EXPECT_EQ(hosts.count(site), 1u) << site;
}

TEST(InstallDataFiles, ToolsIdsAreTheCommandTable) {
    CategoryFile tools(kToolsCategory);
    EXPECT_EQ(CountIgnoringCase(tools.text, foundation::MruPlaceholder), 0);  // tools are not remembered
    std::map<std::string, const ToolCommand*> table;
    for (const auto& command : kToolCommands) table[Lower(command.id)] = &command;
    std::set<std::string> seen;
    const std::regex size(R"(^(\d+) x (\d+)$)");
    for (const rt::TXmlElement* item : tools.items) {
        const std::string caption = item->Attribute("caption"), id = Lower(item->Attribute("id"));
        SCOPED_TRACE(caption);
        ASSERT_EQ(table.count(id), 1u) << id;
        EXPECT_TRUE(seen.insert(id).second);
        EXPECT_FALSE(item->Attribute("mru").empty());
        const ToolCommand& command = *table[id];
        std::smatch m;
        if (std::regex_match(caption, m, size)) {
            EXPECT_STREQ(command.command, "ResizeBrowserWindow");
            EXPECT_EQ(std::stoi(m[1]), command.width);
            EXPECT_EQ(std::stoi(m[2]), command.height);
            EXPECT_EQ(item->Parent()->Name(), "items");
            EXPECT_FALSE(item->Parent()->Attribute("caption").empty());  // the sizes have a submenu
        } else {
            EXPECT_STRNE(command.command, "ResizeBrowserWindow") << "a size entry whose caption shows no size";
        }
    }
    EXPECT_EQ(seen.size(), kToolCommands.size());
}

// ---- the files through the flat button, as the toolbar shows them

class InstallDataMenus : public HostPlatformTest {
protected:
    InstallDataMenus() {
        Files().CreateDirectory(InModule("Data"));
        for (const auto& entry : fs::directory_iterator(kData))
            WriteBytes(InModule("Data\\" + entry.path().filename().string()), ReadSource(entry.path()));
        button = new toolbar::TAMFlatButton(&form);
        button->SetName("btnTest");
        button->OnMenuItemClick = [this](toolbar::TAMFlatButton*, const std::string&, const std::string& url,
                                         const std::string&, const std::string& id) {
            pickedUrl = url;
            pickedId = id;
        };
        toolbar::MaxMRUItems = 10;
    }

    static std::vector<rt::TMenuItem*> Commands(rt::TMenuItem* parent) {
        std::vector<rt::TMenuItem*> out;
        for (int i = 0; i < parent->Count(); ++i) {
            rt::TMenuItem* entry = parent->Items(i);
            if (entry->Count() > 0) {
                auto inner = Commands(entry);
                out.insert(out.end(), inner.begin(), inner.end());
            } else if (!entry->IsLine()) {
                out.push_back(entry);
            }
        }
        return out;
    }

    rt::TForm form{nullptr};
    toolbar::TAMFlatButton* button;
    std::string pickedUrl, pickedId;
};

TEST_F(InstallDataMenus, EverySearchEntryOpensItsTemplateAndComesBackOnTop) {
    for (const auto& category : kSearchCategories) {
        SCOPED_TRACE(category);
        CategoryFile file(category);
        button->SetCategory(category);
        button->MRUItems().Clear();
        ASSERT_NO_THROW(button->BuildMenu(true));
        auto commands = Commands(button->DropDownMenu()->Items());
        ASSERT_EQ(commands.size(), file.items.size());  // every entry, however deep, is in the menu
        for (std::size_t i = 0; i < commands.size(); ++i) {
            commands[i]->Click();
            EXPECT_EQ(pickedUrl, file.items[i]->Attribute("url"));
            EXPECT_EQ(pickedId, file.items[i]->Attribute("id"));
        }
        // The last picks return at the top, sorted by caption, above a separator.
        ASSERT_GE(button->MRUItems().Count(), 3);
        button->BuildMenu(true);
        rt::TMenuItem* top = button->DropDownMenu()->Items();
        std::vector<std::string> shown, expected;
        for (int i = 0; i < std::min(button->MRUItems().Count(), 10); ++i) shown.push_back(top->Items(i)->Caption());
        for (std::size_t i = file.items.size() - shown.size(); i < file.items.size(); ++i)
            expected.push_back(file.items[i]->Attribute("caption"));
        // In the order of their XML text, which starts with the caption and its closing quote.
        std::sort(expected.begin(), expected.end(),
                  [](const std::string& a, const std::string& b) { return Lower(a + '"') < Lower(b + '"'); });
        EXPECT_EQ(shown, expected);
        EXPECT_TRUE(top->Items(static_cast<int>(shown.size()))->IsLine());
    }
}

TEST_F(InstallDataMenus, ToolsEntriesReportTheirIdsAndAreNotRemembered) {
    button->SetCategory(kToolsCategory);
    button->BuildMenu(true);
    std::set<std::string> ids;
    for (rt::TMenuItem* command : Commands(button->DropDownMenu()->Items())) {
        command->Click();
        ids.insert(pickedId);
    }
    EXPECT_EQ(ids.size(), kToolCommands.size());
    EXPECT_EQ(button->MRUItems().Count(), 0);
}

// ---- the settings template through the merge and the saved-value store

using toolbar::TAMFlatButton;
using toolbar::TBandForm;

namespace {

foundation::TAMSaveValue& Value(TBandForm& form, const std::string& name) {
    return *dynamic_cast<foundation::TAMSaveValue*>(form.FindComponent(name));
}

// Option names as the options dialog lists them, with the button each one shows.
const std::vector<std::pair<std::string, std::string>> kToolbarOptions = {
    {"Google", "btnGoogle"},     {"Amazon", "btnAmazon"},     {"eBay", "btnEbay"},
    {"ebay.ca", "btnEbayCa"},    {"ebay.co.uk", "btneBaycouk"}, {"Others", "btnOthers"},
    {"Up", "btnUp"},             {"Highlight", "btnHighlight"}, {"Tools", "btnTools"},
    {"Options", "btnOptions"},   {"PopupBlocker", "btnPopupBlocker"}, {"SearchTheWeb", "btnSearchTheWeb"},
};

}  // namespace

class InstallSettingsTemplate : public HostPlatformTest {
protected:
    InstallSettingsTemplate() {
        foundation::ChooseUserSettingsFile();
        foundation::SetFormStorageIniFileProvider([] { return foundation::CurrentUserSettingsFileName(); });
    }
    ~InstallSettingsTemplate() override {
        foundation::SetFormStorageIniFileProvider(nullptr);
        foundation::FreeSharedIniFile();
    }
    void ShipTemplate() { WriteBytes(InModule(merge::TemplateSettingsFile), ReadSource(kSource / "install" / "settings_template.ini")); }

    // What a first run needs, read back through the same code the band and helper use.
    void ExpectFirstRunSettings(TBandForm& form, int mruCount) {
        form.State->Reload();
        const auto& chosen = form.AMToolbarOptions->Items();
        EXPECT_GE(chosen.Count(), 5);
        for (int i = 0; i < chosen.Count(); ++i) {
            TAMFlatButton* shown = form.FindToolbarButton(chosen[i]);
            ASSERT_NE(shown, nullptr) << chosen[i];
            EXPECT_TRUE(shown->Visible()) << chosen[i];
        }
        std::set<std::string> buttons;
        for (int i = 0; i < chosen.Count(); ++i) {
            // The form finds the button by the name without its dots, prefixed "btn", ignoring case.
            std::string name = chosen[i];
            name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
            auto option = std::find_if(kToolbarOptions.begin(), kToolbarOptions.end(),
                                       [&](const auto& o) { return Lower(o.first) == Lower(chosen[i]); });
            ASSERT_NE(option, kToolbarOptions.end()) << chosen[i];
            EXPECT_EQ(Lower("btn" + name), Lower(option->second));
            EXPECT_TRUE(buttons.insert(option->second).second) << "shown twice: " << chosen[i];
        }
        EXPECT_EQ(buttons.count("btnSearchTheWeb") + buttons.count("btnGoogle") + buttons.count("btnOptions"), 3u);
        EXPECT_EQ(Value(form, "MRUItemCount").AsInteger(), mruCount);
        EXPECT_TRUE(Value(form, "BlockingPopups").AsBoolean());
        EXPECT_TRUE(foundation::IsBlockingPopups());
        EXPECT_TRUE(foundation::PlaySoundWhenBlockingPopup());
        EXPECT_TRUE(foundation::ShowBlockedCursorWhenBlockingPopup());
        EXPECT_TRUE(foundation::TakeFirstTimeBlockingPopup());  // the notice is still to come
        EXPECT_TRUE(foundation::IsFirstTime());
        EXPECT_TRUE(foundation::IsPopupAllowedForDomain("http://www.zephyratoolbar.com/help/"));
        EXPECT_FALSE(foundation::IsPopupAllowedForDomain("http://popups.example.net/"));
    }
};

TEST_F(InstallSettingsTemplate, OnlyKeysTheSystemReads) {
    ShipTemplate();
    foundation::TEIIniFile templ(InModule(merge::TemplateSettingsFile));
    rt::TStringList sections, keys;
    templ.ReadSections(sections);
    EXPECT_EQ(sections.ToVector(), (std::vector<std::string>{"TBandForm", "TBandForm.AMToolbarOptions_Items",
                                                             "DomainsAllowedPopups", "OverriddenValues"}));
    // Every saved value under the key the store writes for it.
    TBandForm form(nullptr);
    std::set<std::string> stored;
    for (int i = 0; i < form.State->StoredProps().Count(); ++i) {
        std::string key = form.State->StoredProps()[i];
        if (key.size() > 6 && key.compare(key.size() - 6, 6, ".Value") == 0) stored.insert(key.replace(key.size() - 6, 1, "_"));
    }
    templ.ReadSection("TBandForm", keys);
    for (int i = 0; i < keys.Count(); ++i) EXPECT_EQ(stored.count(keys[i]), 1u) << keys[i];
    // A list as the store writes it: its count, then Item0 ... in order, nothing else.
    templ.ReadSection("TBandForm.AMToolbarOptions_Items", keys);
    const int count = templ.ReadInteger("TBandForm.AMToolbarOptions_Items", "Count", -1);
    ASSERT_EQ(keys.Count(), count + 1);
    EXPECT_EQ(keys[0], "Count");
    for (int i = 0; i < count; ++i) EXPECT_EQ(keys[i + 1], "Item" + std::to_string(i));
    // Allowed sites under the key the popup check looks up for any page of the site.
    templ.ReadSection("DomainsAllowedPopups", keys);
    EXPECT_GE(keys.Count(), 1);
    for (int i = 0; i < keys.Count(); ++i) {
        EXPECT_EQ(foundation::DomainOfUrl("http://www." + keys[i] + "/page.html"), keys[i]);
        EXPECT_EQ(templ.ReadString("DomainsAllowedPopups", keys[i], ""), "True");
    }
    // A newer layout than the one the form starts with, so that a file the band
    // wrote before any merge is still brought up to the template.
    EXPECT_GT(merge::ReadStateVersion(templ), std::stoi(form.StateVersion->Value()));
}

TEST_F(InstallSettingsTemplate, ANewUserStartsFromTheTemplate) {
    ShipTemplate();
    merge::RunStartupMerge();
    EXPECT_EQ(FileBytes(foundation::CurrentUserSettingsFileName()), FileBytes(InModule(merge::TemplateSettingsFile)));
    TBandForm form(nullptr);
    ExpectFirstRunSettings(form, 10);
}

TEST_F(InstallSettingsTemplate, AFileTheBandWroteAloneIsBroughtUpToTheTemplate) {
    {
        // The band ran first: its defaults, no buttons chosen, a site of the user's own.
        TBandForm band(nullptr);
        Value(band, "MRUItemCount").SetValue("25");
        band.State->Save();
        foundation::AllowPopupsForDomain("http://www.mine.example/");
    }
    ShipTemplate();
    merge::RunStartupMerge();
    TBandForm form(nullptr);
    form.State->Reload();
    EXPECT_EQ(Value(form, "MRUItemCount").Value(), "25");  // the user's own value stays
    EXPECT_TRUE(foundation::IsPopupAllowedForDomain("http://www.mine.example/"));
    EXPECT_TRUE(foundation::IsWhatsNewOverridden());
    ExpectFirstRunSettings(form, 25);
}

// ---- the band's bitmaps

namespace {

struct Bitmap {
    std::string name;
    int width, height;
    int buttonWidth;  // the button it is drawn for, 0 for none
};
// Each button's glyph is named after the button in capitals; those of the
// buttons without a caption show the site's name and must fit the button.
const std::vector<Bitmap> kBitmaps = {
    {"BTNMAIN", 0, 16, 101},         {"BTNWHATSNEW", 16, 16, 35},  {"BTNSEARCHTHEWEB", 0, 16, 68},
    {"BTNGOOGLE", 0, 16, 58},        {"BTNAMAZON", 0, 16, 56},     {"BTNEBAY", 0, 16, 44},
    {"BTNEBAYCA", 0, 16, 54},        {"BTNEBAYCOUK", 0, 16, 74},   {"BTNOTHERS", 16, 16, 54},
    {"BTNUP", 16, 16, 44},           {"BTNHIGHLIGHT", 16, 16, 71}, {"BTNTOOLS", 32, 16, 60},
    {"BTNOPTIONS", 16, 16, 62},      {"BTNPOPUPBLOCKER", 16, 16, 25}, {"POPUP_BLOCKED", 16, 16, 25},
    {"POPUP_ALLOWED", 16, 16, 25},   {"IMGBLOCKPOPUPS", 3 * 18, 15, 0}, {"ABOUTLOGO", 256, 64, 0},
};

std::uint32_t U32(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
           static_cast<unsigned char>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
int U16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

}  // namespace

TEST(InstallMedia, BitmapsAreUncompressedBottomUpRgbWithTheKeyColourAtTheCorner) {
    for (const auto& expected : kBitmaps) {
        SCOPED_TRACE(expected.name);
        const std::string b = ReadSource(kMedia / (expected.name + ".bmp"));
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(U32(b, 2), b.size());
        EXPECT_EQ(U32(b, 10), 54u);
        EXPECT_EQ(U32(b, 14), 40u);
        const int width = static_cast<int>(U32(b, 18)), height = static_cast<int>(U32(b, 22));
        EXPECT_EQ(U16(b, 26), 1);
        ASSERT_EQ(U16(b, 28), 24);
        EXPECT_EQ(U32(b, 30), 0u);
        if (expected.width) {
            EXPECT_EQ(width, expected.width);
        }
        EXPECT_EQ(height, expected.height);
        ASSERT_GT(width, 0);
        ASSERT_GT(height, 0);  // bottom-up
        if (expected.buttonWidth) {
            EXPECT_LE(width, expected.buttonWidth - 4) << "does not fit its button";
        }
        const std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t(3);
        ASSERT_EQ(b.size(), 54 + row * height);
        EXPECT_EQ(U32(b, 34), row * height);
        // The first stored row is the bottom one: its first pixel is the key (blue, green, red).
        EXPECT_EQ(b.substr(54, 3), std::string("\xFF\x00\xFF", 3));
        int drawn = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) drawn += b.compare(54 + y * row + x * 3, 3, std::string("\xFF\x00\xFF", 3)) != 0;
        EXPECT_GT(drawn, width * height / 8) << "hardly anything drawn";
        EXPECT_LT(drawn, width * height) << "no transparent background";
    }
}

TEST(InstallMedia, ResourceScriptListsEveryBitmapByItsName) {
    const std::string script = ReadSource(kMedia / "Solvane-media.rc");
    std::set<std::string> listed;
    const std::regex line(R"rx(^(\w+)\s+BITMAP\s+"([^"]+)")rx");
    std::istringstream lines(script);
    for (std::string text; std::getline(lines, text);) {
        std::smatch m;
        if (!std::regex_search(text, m, line)) continue;
        EXPECT_EQ(m[2].str(), m[1].str() + ".bmp");
        EXPECT_TRUE(fs::exists(kMedia / m[2].str())) << m[2];
        listed.insert(m[1]);
    }
    std::set<std::string> expected;
    for (const auto& b : kBitmaps) expected.insert(b.name);
    EXPECT_EQ(listed, expected);
    for (const auto& entry : fs::directory_iterator(kMedia))
        if (entry.path().extension() == ".bmp") {
            EXPECT_EQ(listed.count(entry.path().stem().string()), 1u) << entry.path();
        }
}
