#include "toolbar/controls/AMFlatButton.h"

#include <gtest/gtest.h>

#include <thread>

#include "HostPlatformTest.h"
#include "platform/Desktop.h"
#include "runtime/Forms.h"
#include "runtime/SimpleXml.h"

using namespace toolbar;

namespace {

const char* GoogleXml =
    "<items>\r\n<mru/>\r\n"
    "<item caption=\"Web\" id=\"web\" url=\"http://w/%%SEARCH%%\" default=\"yes\"/>\r\n"
    "<item caption=\"-\" url=\"-\" mru=\"\"/>\r\n"
    "<item caption=\"Images\" id=\"img\" url=\"http://i/\"/>\r\n"
    "<item caption=\"Help\" id=\"help\" url=\"http://h/\" mru=\"no\"/>\r\n"
    "<items caption=\"More\">\r\n"
    "  <item caption=\"News\" id=\"news\" url=\"http://n/\"/>\r\n"
    "  <items caption=\"Deeper\"><item caption=\"Maps\" id=\"maps\" url=\"http://m/\"/></items>\r\n"
    "  <item caption=\"Groups\" id=\"groups\" url=\"http://g/\"/>\r\n"
    "</items>\r\n"
    "<item caption=\"Last\" id=\"none\" url=\"http://l/\"/>\r\n"
    "</items>\r\n";

struct Pick {
    std::string caption, url, type, id;
};

class AMFlatButtonTest : public HostPlatformTest {
protected:
    AMFlatButtonTest() {
        Files().CreateDirectory(InModule("Data"));
        WriteBytes(InModule("Data\\google.xml"), GoogleXml);
        form.SetBounds(10, 20, 300, 25);
        button = new TAMFlatButton(&form);
        button->SetName("btnGoogle");
        button->SetParent(&form);
        button->SetBounds(40, 3, 50, 19);
        button->SetCategory("google");
        button->OnMenuItemClick = [this](TAMFlatButton*, const std::string& c, const std::string& u,
                                         const std::string& t, const std::string& i) { picks.push_back({c, u, t, i}); };
        button->OnAddItemToMRU = [this](TAMFlatButton*, const std::string&, const std::string& id) {
            added.push_back(id);
        };
        rt::THeadlessBackend::SetMenuScript([this](rt::TPopupMenu& menu, rt::TPoint at) -> rt::TMenuItem* {
            ++shown;
            shownAt = at;
            return choose ? choose(menu) : nullptr;
        });
        MaxMRUItems = 10;
    }
    ~AMFlatButtonTest() override {
        rt::THeadlessBackend::SetMenuScript(nullptr);
        MaxMRUItems = 10;
    }

    static rt::TMenuItem* ByCaption(rt::TMenuItem* parent, const std::string& caption) {
        for (int i = 0; i < parent->Count(); ++i)
            if (parent->Items(i)->Caption() == caption) return parent->Items(i);
        return nullptr;
    }
    static std::vector<std::string> Captions(rt::TMenuItem* parent) {
        std::vector<std::string> out;
        for (int i = 0; i < parent->Count(); ++i) out.push_back(parent->Items(i)->Caption());
        return out;
    }
    void PickCaption(const std::string& caption) {
        choose = [caption](rt::TPopupMenu& m) { return ByCaption(m.Items(), caption); };
        button->Click();
        choose = nullptr;
    }

    rt::TForm form{nullptr};
    TAMFlatButton* button;
    std::vector<Pick> picks;
    std::vector<std::string> added;
    std::function<rt::TMenuItem*(rt::TPopupMenu&)> choose;
    int shown = 0;
    rt::TPoint shownAt;
};

}  // namespace

TEST_F(AMFlatButtonTest, ConstructionDefaults) {
    TAMFlatButton b(nullptr);
    EXPECT_EQ(b.Height(), 19);
    EXPECT_TRUE(b.MenuDirty);
    EXPECT_EQ(b.ColorFocused(), clBtnFace);
    EXPECT_EQ(b.ColorBorder(), clBtnFace);
    EXPECT_EQ(b.MRUItems().Count(), 0);
    EXPECT_EQ(MenuItemXml("Up", "http://a/"), "<item caption=\"Up\" url=\"http://a/\" mru=\"\"/>");
}

TEST_F(AMFlatButtonTest, MenuFromNestedXmlWithSeparatorsAndDefaults) {
    button->Click();
    ASSERT_NE(button->DropDownMenu(), nullptr);
    EXPECT_EQ(button->DropDownMenu()->Name(), "google");
    EXPECT_FALSE(button->DropDownMenu()->AutoHotkeys());
    rt::TMenuItem* top = button->DropDownMenu()->Items();
    EXPECT_EQ(Captions(top), (std::vector<std::string>{"Web", "-", "Images", "Help", "More", "Last"}));
    EXPECT_TRUE(ByCaption(top, "Web")->Default());
    EXPECT_TRUE(ByCaption(top, "-")->IsLine());
    rt::TMenuItem* more = ByCaption(top, "More");
    EXPECT_EQ(Captions(more), (std::vector<std::string>{"News", "Deeper", "Groups"}));
    EXPECT_EQ(Captions(ByCaption(more, "Deeper")), (std::vector<std::string>{"Maps"}));
    EXPECT_FALSE(button->MenuDirty);
    // Shown below the button, in screen coordinates.
    EXPECT_EQ(shownAt.X, 10 + 40);
    EXPECT_EQ(shownAt.Y, 20 + 3 + 19);
}

TEST_F(AMFlatButtonTest, PicksReportAndRememberOnce) {
    PickCaption("Images");
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].caption, "Images");
    EXPECT_EQ(picks[0].url, "http://i/");
    EXPECT_EQ(picks[0].type, "G");
    EXPECT_EQ(picks[0].id, "img");
    EXPECT_EQ(button->MRUItems().ToVector(), (std::vector<std::string>{"img"}));
    EXPECT_TRUE(button->MenuDirty);
    PickCaption("Images");
    EXPECT_EQ(added, (std::vector<std::string>{"img"}));

    // The second opening shows the remembered entry above a separator.
    PickCaption("Help");  // mru="no": reported, never remembered
    EXPECT_EQ(picks.size(), 3u);
    EXPECT_EQ(Captions(button->DropDownMenu()->Items()).front(), "Images");
    EXPECT_EQ(Captions(button->DropDownMenu()->Items())[1], "-");
    PickCaption("Last");  // id "none"
    EXPECT_EQ(button->MRUItems().ToVector(), (std::vector<std::string>{"img"}));
}

TEST_F(AMFlatButtonTest, EntriesWithoutAnIdAreNeverRemembered) {
    WriteBytes(InModule("Data\\google.xml"),
               "<items><mru/><item caption=\"-\" url=\"-\"/><item caption=\"Plain\" url=\"http://p/\"/>"
               "<item caption=\"Web\" id=\"web\" url=\"http://w/\"/></items>");
    PickCaption("Plain");
    EXPECT_EQ(picks.size(), 1u);  // still reported
    EXPECT_EQ(button->MRUItems().Count(), 0);
    EXPECT_TRUE(added.empty());
    // An empty id restored from an older file does not copy the separator
    // (the first element without an id) into the remembered block.
    button->SetMRUItems(rt::TStringList{"", "web"});
    button->Click();
    EXPECT_EQ(Captions(button->DropDownMenu()->Items()), (std::vector<std::string>{"Web", "-", "-", "Plain", "Web"}));
}

TEST_F(AMFlatButtonTest, GeneratedItemsReadBackExactly) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Tom & \"Jerry\" <3", "http://a/?x=1&y=<2>"},
        {"x\" id=\"evil", "http://b/\" mru=\"no"},
        {"tab\there", "http://c/'q'\r\n"},
    };
    for (const auto& [caption, url] : cases) {
        rt::TXmlDocument doc;
        ASSERT_NO_THROW(doc.LoadFromString(MenuItemXml(caption, url))) << MenuItemXml(caption, url);
        const rt::TXmlElement& item = *doc.Root();
        EXPECT_EQ(item.AttributeCount(), 3) << caption;  // no attribute smuggled in
        EXPECT_EQ(item.Attribute("caption"), caption);
        EXPECT_EQ(item.Attribute("url"), url);
        EXPECT_EQ(item.Attribute("mru", "<none>"), "");
    }
}

TEST_F(AMFlatButtonTest, TheFileIsReadOnceUnlessShiftIsHeld) {
    button->Click();
    WriteBytes(InModule("Data\\google.xml"), "<items><item caption=\"Changed\" id=\"c\"/></items>");
    button->Click();
    EXPECT_EQ(Captions(button->DropDownMenu()->Items()).front(), "Web");
    host_.keyboard->SetKeyDown(platform::vk::Shift, true);
    button->Click();
    host_.keyboard->SetKeyDown(platform::vk::Shift, false);
    EXPECT_EQ(Captions(button->DropDownMenu()->Items()), (std::vector<std::string>{"Changed"}));
    EXPECT_EQ(shown, 3);
}

TEST_F(AMFlatButtonTest, TrimmingWithASmallerCapacity) {
    MaxMRUItems = 3;
    for (const char* id : {"a", "b", "c", "d"}) button->AddToMRU(id, id);
    EXPECT_EQ(button->MRUItems().ToVector(), (std::vector<std::string>{"d", "c", "b"}));
    button->BuildMenu(true);
    EXPECT_FALSE(button->MenuDirty);
    MaxMRUItems = 1;
    button->TrimMRU();
    EXPECT_EQ(button->MRUItems().ToVector(), (std::vector<std::string>{"d"}));
    EXPECT_TRUE(button->MenuDirty);
    button->BuildMenu(true);
    button->TrimMRU();  // nothing removed
    EXPECT_FALSE(button->MenuDirty);
    // A reload of the saved state replaces the list: the menu follows.
    rt::TStringList restored{"img"};
    rt::SetObjectProp(*button, "MRUItems", &restored);
    EXPECT_TRUE(button->MenuDirty);
    button->Click();
    EXPECT_EQ(Captions(button->DropDownMenu()->Items()).front(), "Images");
    MaxMRUItems = -5;
    button->TrimMRU();
    EXPECT_EQ(button->MRUItems().Count(), 0);
}

TEST_F(AMFlatButtonTest, UnknownMruIdsAreLeftOutOfTheMenu) {
    button->SetMRUItems(rt::TStringList{"gone", "img", "WEB"});
    button->Click();
    EXPECT_EQ(Captions(button->DropDownMenu()->Items()),
              (std::vector<std::string>{"Images", "Web", "-", "Web", "-", "Images", "Help", "More", "Last"}));
    const std::string withoutMru = button->GetMenuXml(false);
    EXPECT_EQ(withoutMru.find("<mru/>"), std::string::npos);
}

TEST_F(AMFlatButtonTest, BadCategoriesRaiseToTheCaller) {
    button->SetCategory("missing");
    EXPECT_ANY_THROW(button->Click());
    WriteBytes(InModule("Data\\broken.xml"), "<items><item caption=\"x\"></items>");
    button->SetCategory("broken");
    EXPECT_THROW(button->Click(), rt::EXmlError);
    WriteBytes(InModule("Data\\9lives.xml"), GoogleXml);
    button->SetCategory("9lives");
    EXPECT_THROW(button->Click(), rt::EComponentError);
    EXPECT_EQ(button->DropDownMenu(), nullptr);
    // Dotted categories name the menu without their dots.
    WriteBytes(InModule("Data\\ebay.co.uk.xml"), GoogleXml);
    button->SetCategory("ebay.co.uk");
    button->Click();
    EXPECT_EQ(button->DropDownMenu()->Name(), "ebaycouk");
}

TEST_F(AMFlatButtonTest, XmlFromTheFormAndPlainButtons) {
    TAMFlatButton up(&form);
    up.SetParent(&form);
    int asked = 0;
    up.OnAssignXml = [&](TAMFlatButton*, std::string& xml) {
        ++asked;
        xml = "<items>" + MenuItemXml("http://a/b/", "http://a/b/") + "</items>";
    };
    up.Click();
    up.Click();
    EXPECT_EQ(asked, 1);
    up.MenuDirty = true;  // the form marks it after a page load
    up.Click();
    EXPECT_EQ(asked, 2);

    TAMFlatButton plain(&form);
    int clicks = 0, before = 0;
    plain.OnClick = [&](rt::TObject*) { ++clicks; };
    plain.OnBeforeClick = [&](rt::TObject*) { ++before; };
    const int shownBefore = shown;
    plain.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(shown, shownBefore);
    // With a menu lent by the form it shows that menu instead.
    TAMPopupMenu lent(&form);
    plain.SetDropDownMenu(&lent);
    plain.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(shown, shownBefore + 1);
}

TEST_F(AMFlatButtonTest, SetDownNoEventKeepsTheHandler) {
    TAMFlatButton toggle(&form);
    toggle.SetParent(&form);
    toggle.SetGroupIndex(1);
    toggle.SetAllowAllUp(true);
    int clicks = 0;
    toggle.OnClick = [&](rt::TObject*) { ++clicks; };
    toggle.SetDownNoEvent(true);
    EXPECT_TRUE(toggle.Down());
    EXPECT_EQ(clicks, 0);
    toggle.SetDown(false);
    EXPECT_EQ(clicks, 1);
}

TEST_F(AMFlatButtonTest, ShowMenuAtCursorNeedsAReadableCursor) {
    auto backend = std::make_shared<rt::THeadlessBackend>();
    auto previous = rt::SetUiBackend(backend);
    TAMPopupMenu menu(nullptr);
    backend->SetCursorPos(rt::TPoint{70, 80});
    button->ShowMenuAtCursor(menu);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(shownAt.X, 70);
    backend->SetCursorPos(rt::TPoint{1, 1}, false);
    button->ShowMenuAtCursor(menu);
    EXPECT_EQ(shown, 1);
    rt::SetUiBackend(previous);
}

// Two browser windows: each thread's menus deliver their picks on that thread.
TEST(AMPopupMenus, EachThreadDispatchesItsOwnPicks) {
    struct Result {
        std::thread::id clickedOn;
        int clicks = 0;
        std::uintptr_t window = 0;
        bool sawOtherMenu = true;
    };
    Result results[2];
    TAMPopupMenu* menus[2] = {nullptr, nullptr};
    std::atomic<int> ready{0};
    auto run = [&](int n) {
        EXPECT_EQ(TAMAMPopupList::ExistingForThisThread(), nullptr);
        TAMPopupMenu menu(nullptr);
        menus[n] = &menu;
        auto* item = new TAMMenuItem(&menu);
        menu.Items()->Add(item);
        item->OnClick = [&results, n](rt::TObject*) {
            results[n].clickedOn = std::this_thread::get_id();
            ++results[n].clicks;
        };
        rt::THeadlessBackend::SetMenuScript([](rt::TPopupMenu& m, rt::TPoint) { return m.Items()->Items(0); });
        ++ready;
        while (ready < 2) std::this_thread::yield();
        menu.Popup(1, 1);
        results[n].window = TAMAMPopupList::ForThisThread().Window();
        results[n].sawOtherMenu = TAMAMPopupList::ForThisThread().Contains(menus[1 - n]);
        // A command of the other thread's entry is not this thread's to run.
        ++ready;
        while (ready < 4) std::this_thread::yield();
        TAMAMPopupList::ForThisThread().WndProc(wm::Command, menus[1 - n]->Items()->Items(0)->Command(), 0);
        ++ready;
        while (ready < 6) std::this_thread::yield();
        rt::THeadlessBackend::SetMenuScript(nullptr);
    };
    std::thread a(run, 0), b(run, 1);
    const auto idA = a.get_id(), idB = b.get_id();
    a.join();
    b.join();
    EXPECT_EQ(results[0].clicks, 1);
    EXPECT_EQ(results[1].clicks, 1);
    EXPECT_EQ(results[0].clickedOn, idA);
    EXPECT_EQ(results[1].clickedOn, idB);
    EXPECT_NE(results[0].window, 0u);
    EXPECT_NE(results[0].window, results[1].window);
    EXPECT_FALSE(results[0].sawOtherMenu);
    EXPECT_FALSE(results[1].sawOtherMenu);
}

TEST(AMPopupMenus, TheWindowLivesWhileTheThreadHasMenus) {
    std::thread([] {
        auto& list = TAMAMPopupList::ForThisThread();
        EXPECT_EQ(list.Window(), 0u);
        auto* first = new TAMPopupMenu(nullptr);
        auto* second = new TAMPopupMenu(nullptr);
        EXPECT_NE(list.Window(), 0u);
        delete first;
        EXPECT_NE(list.Window(), 0u);
        auto* item = new TAMMenuItem(second);
        item->SetHint("Short|The long hint");
        second->Items()->Add(item);
        list.WndProc(wm::MenuSelect, item->Command(), 0);
        EXPECT_EQ(rt::Application().Hint, "The long hint");
        list.WndProc(wm::MenuSelect, 0, 0);
        EXPECT_EQ(rt::Application().Hint, "");
        // An error in a click goes to the application's handler.
        item->OnClick = [](rt::TObject*) { throw rt::Exception("boom"); };
        std::string handled;
        rt::Application().OnException = [&](const std::exception& e) { handled = e.what(); };
        list.WndProc(wm::Command, item->Command(), 0);
        rt::Application().OnException = nullptr;
        EXPECT_EQ(handled, "boom");
        // The last menu takes the list, and its window, with it.
        delete second;
        EXPECT_EQ(TAMAMPopupList::ExistingForThisThread(), nullptr);
    }).join();
}
