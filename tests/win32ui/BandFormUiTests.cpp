// The toolbar form as a child window of a browser frame, used with real
// clicks and keys: a search typed and sent with Enter, a pick from a search
// button's menu, and nothing left behind when the form goes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "BandFormMenus.h"
#include "EventSinkFakes.h"
#include "ScreenCapture.h"
#include "UiTestSupport.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "platform/host/HostBrowser.h"
#include "platform/win32/ui/UiGdi.h"
#include "toolbar/BandForm.h"

using namespace zrtest::ui;
using toolbar::TBandForm;
using Strings = std::vector<std::string>;
using zrtest::kGoogleXml;

namespace {

class BandFormUiTest : public UiTest {
protected:
    BandFormUiTest() {
        foundation::ChooseUserSettingsFile();
        toolbar::BandModuleLoaded();
        toolbar::SetBrowserEventSourceProvider([this](const std::shared_ptr<platform::IBrowser>&) { return events; });
        Files().CreateDirectory(InModule("Data"));
        WriteBytes(InModule("Data\\google.xml"), kGoogleXml);
        browser->Show("http://www.example.com/a/page.html", "Example page",
                      platform::host::HostDocumentWith("<p>top</p>"));
    }
    ~BandFormUiTest() override {
        toolbar::SetBrowserEventSourceProvider(nullptr);
        toolbar::BandModuleUnloading();
    }

    // The bar with the given buttons, a child of the frame across its width.
    std::unique_ptr<TBandForm> NewBar(const Strings& buttons) {
        foundation::TEIIniFile ini(foundation::CurrentUserSettingsFileName());
        ini.WriteString("TBandForm.AMToolbarOptions_Items", "Count", std::to_string(buttons.size()));
        for (std::size_t i = 0; i < buttons.size(); ++i)
            ini.WriteString("TBandForm.AMToolbarOptions_Items", "Item" + std::to_string(i), buttons[i]);
        auto form = std::make_unique<TBandForm>(nullptr, reinterpret_cast<std::uintptr_t>(Frame()));
        form->SetBrowser(browser);
        form->RestoreState();
        RECT client;
        ::GetClientRect(Frame(), &client);
        // The band's height: the bar's rows, as the band reports them to its site.
        form->SetBounds(0, 0, platform::win32::ui::Unscale(client.right), form->Panel2->Height() + form->Panel1->Height());
        form->Show();
        Pump();
        return form;
    }
    HWND SearchEdit(TBandForm& form) const {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(WindowOf(*form.edtSearch), &info);
        return info.hwndItem;
    }
    Strings Urls() const {
        Strings urls;
        for (const auto& n : browser->navigations) urls.push_back(n.url);
        return urls;
    }
    Strings History() const {
        foundation::TEIIniFile ini(foundation::CurrentUserSettingsFileName());
        Strings items;
        const int count = std::atoi(ini.ReadString("TBandForm.edtSearch_Items", "Count", "0").c_str());
        for (int i = 0; i < count; ++i)
            items.push_back(ini.ReadString("TBandForm.edtSearch_Items", "Item" + std::to_string(i), ""));
        return items;
    }

    // Saves a picture of the frame (with any open menu) when the run asks
    // for pictures, and tells whether the area shows more than a flat fill.
    bool Picture(const std::string& name) {
        const zrdemo::Picture picture = zrdemo::CaptureScreenArea(zrdemo::AreaWithOpenMenus(Frame()));
        if (const char* folder = std::getenv("ZR_SCREENSHOTS")) {
            std::string path = std::string(folder) + "\\" + name + ".png";
            EXPECT_TRUE(zrdemo::WritePng(path, picture)) << path;
        }
        std::set<unsigned> colors;
        for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3)
            colors.insert(picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 | picture.rgb[i + 2]);
        return colors.size() > 8;
    }

    std::shared_ptr<platform::host::HostBrowser> browser = std::make_shared<platform::host::HostBrowser>();
    std::shared_ptr<zrtest::TestEventSource> events = std::make_shared<zrtest::TestEventSource>();
};

TEST_F(BandFormUiTest, TheBarIsAChildOfTheFrameAndShowsItsButtons) {
    auto form = NewBar({"Google", "Tools"});
    HWND bar = WindowOf(*form);
    ASSERT_TRUE(bar);
    EXPECT_EQ(::GetParent(bar), Frame());
    EXPECT_TRUE(::GetWindowLongA(bar, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(::IsWindowVisible(WindowOf(*form->btnGoogle)));
    EXPECT_TRUE(::IsWindowVisible(WindowOf(*form->btnTools)));
    EXPECT_FALSE(::IsWindowVisible(WindowOf(*form->btnAmazon)));
    RECT area;
    ::GetWindowRect(bar, &area);
    EXPECT_GT(area.bottom - area.top, 10);
    EXPECT_TRUE(Picture("toolbar"));
}

TEST_F(BandFormUiTest, ASearchTypedIntoTheBoxAndEnterNavigatesAndIsRemembered) {
    auto form = NewBar({"Google"});
    HWND edit = SearchEdit(*form);
    ASSERT_TRUE(edit);
    Click(edit);
    Type(edit, "blue cats");
    Pump();
    EXPECT_EQ(TextOf(edit), "blue cats");
    Key(edit, VK_RETURN);
    Pump();
    ASSERT_FALSE(Urls().empty());
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=blue cats");  // a space stays a space
    EXPECT_EQ(History(), (Strings{"blue cats"}));

    Key(edit, VK_END);  // the searched text stays selected: go past it
    Type(edit, "&more");
    Key(edit, VK_RETURN);
    Pump();
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=blue cats%26more");  // escaped for the address only
    EXPECT_EQ(History(), (Strings{"blue cats&more", "blue cats"}));
}

TEST_F(BandFormUiTest, APickFromASearchButtonsMenuSearchesWithItsAddress) {
    auto form = NewBar({"Google"});
    HWND edit = SearchEdit(*form);
    Click(edit);
    Type(edit, "owls");
    Pump();
    bool pictured = false;
    Script pick({[&] {
        HWND menu = ::FindWindowA("#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu)) return false;
        Pump(100);
        pictured = Picture("google-menu");
        // No pick is remembered yet: Web, then Images.
        for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
            ::keybd_event(static_cast<BYTE>(key), 0, 0, 0);
            ::keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
        }
        return true;
    }});
    Click(WindowOf(*form->btnGoogle));
    Pump(200);
    EXPECT_TRUE(pick.Done());
    EXPECT_TRUE(pictured);
    ASSERT_FALSE(Urls().empty());
    EXPECT_EQ(Urls().back(), "http://images.google.com/images?q=owls");
    EXPECT_EQ(form->btnGoogle->MRUItems().ToVector(), (Strings{"img"}));
}

TEST_F(BandFormUiTest, NoWindowGdiObjectOrPeerOutlivesTheForm) {
    Frame();
    {  // the first form loads what stays for the process (classes, fonts, bitmaps of the module)
        auto warmUp = NewBar({"Google", "Tools"});
    }
    Pump();
    const int windows = ThreadWindowCount();
    const int peers = platform::win32::ui::LivePeerCount();
    const int gdi = platform::win32::ui::LiveGdiObjects();
    for (int round = 0; round < 3; ++round) {
        auto form = NewBar({"Google", "Tools", "Highlight"});
        EXPECT_GT(ThreadWindowCount(), windows);
        Pump();
    }
    Pump();
    EXPECT_EQ(ThreadWindowCount(), windows);
    EXPECT_EQ(platform::win32::ui::LivePeerCount(), peers);
    EXPECT_EQ(platform::win32::ui::LiveGdiObjects(), gdi);
}

}  // namespace
