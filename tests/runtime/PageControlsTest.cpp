// Page controls with their sheets, and tab controls: what the user switches
// runs the events, what the program sets does not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChangeRecorder.h"
#include "runtime/ComCtrls.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"

using namespace rt;

namespace {

struct Pages {
    std::vector<std::string> events;  // outlives the form's last events
    TForm form{nullptr};
    TPageControl* pages = new TPageControl(&form);
    std::vector<TTabSheet*> sheets;

    explicit Pages(std::vector<std::string> captions) {
        pages->SetParent(&form);
        pages->SetBounds(0, 0, 300, 200);
        for (const std::string& caption : captions) {
            auto* sheet = new TTabSheet(&form);
            sheet->SetCaption(caption);
            sheet->OnShow = [this, caption](TObject*) { events.push_back("show " + caption); };
            sheet->OnHide = [this, caption](TObject*) { events.push_back("hide " + caption); };
            sheet->SetPageControl(pages);
            sheets.push_back(sheet);
        }
        pages->OnChanging = [this](TObject*, bool&) { events.push_back("changing"); };
        pages->OnChange = [this](TObject*) { events.push_back("change"); };
    }
};

std::vector<std::string> Captions(const TPageControl& pages) {
    std::vector<std::string> out;
    for (int i = 0; i < pages.PageCount(); ++i) out.push_back(pages.Pages(i)->Caption());
    return out;
}

}  // namespace

TEST(PageControl, PagesJoinInOrderAndTheFirstBecomesActive) {
    Pages p({"Buttons", "Search", "Updates", "Popup Blocker"});
    EXPECT_EQ(p.pages->PageCount(), 4);
    EXPECT_EQ(Captions(*p.pages), (std::vector<std::string>{"Buttons", "Search", "Updates", "Popup Blocker"}));
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[0]);
    EXPECT_EQ(p.pages->ActivePageIndex(), 0);
    EXPECT_EQ(p.sheets[2]->PageIndex(), 2);
    EXPECT_EQ(p.sheets[0]->Parent(), p.pages);
    EXPECT_THROW(p.pages->Pages(4), EListError);
    EXPECT_THROW(p.pages->Pages(-1), EListError);
    // Only the active page shows; every page fills the area below the tabs.
    EXPECT_TRUE(p.sheets[0]->Visible());
    EXPECT_FALSE(p.sheets[1]->Visible());
    const TRect area = p.pages->DisplayRect();
    EXPECT_EQ(p.sheets[3]->BoundsRect().Top, area.Top);
    EXPECT_EQ(p.sheets[3]->Width(), area.Width());
    p.pages->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(p.sheets[1]->Width(), p.pages->DisplayRect().Width());
    EXPECT_GT(p.sheets[1]->Width(), area.Width());
    // Being made active by joining runs no change events.
    EXPECT_EQ(p.events, (std::vector<std::string>{"show Buttons"}));
}

TEST(PageControl, OnlyTheUsersSwitchRunsTheChangeEvents) {
    Pages p({"A", "B", "C"});
    p.events.clear();
    p.pages->SetActivePage(p.sheets[2]);
    p.pages->SetActivePageIndex(1);
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[1]);
    EXPECT_EQ(p.events, (std::vector<std::string>{"hide A", "show C", "hide C", "show B"}));

    p.events.clear();
    EXPECT_TRUE(p.pages->SelectTab(0));
    EXPECT_EQ(p.events, (std::vector<std::string>{"changing", "hide B", "show A", "change"}));
    // A click on the tab already shown, or on no tab, changes nothing.
    p.events.clear();
    EXPECT_FALSE(p.pages->SelectTab(0));
    EXPECT_FALSE(p.pages->SelectTab(3));
    EXPECT_FALSE(p.pages->SelectTab(-1));
    EXPECT_TRUE(p.events.empty());

    // OnChanging may refuse.
    p.pages->OnChanging = [&](TObject*, bool& allow) { allow = false; };
    EXPECT_FALSE(p.pages->SelectTab(2));
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[0]);
    EXPECT_TRUE(p.events.empty());

    // A page of another control is not taken; null shows none.
    Pages other({"X"});
    p.pages->SetActivePage(other.sheets[0]);
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[0]);
    p.pages->SetActivePage(nullptr);
    EXPECT_EQ(p.pages->ActivePageIndex(), -1);
    EXPECT_FALSE(p.sheets[0]->Visible());
    p.pages->SetActivePageIndex(7);
    EXPECT_EQ(p.pages->ActivePage(), nullptr);
}

TEST(PageControl, HiddenTabsAreSkippedByTabIndexAndCtrlTab) {
    Pages p({"A", "B", "C", "D"});
    p.sheets[1]->SetTabVisible(false);
    EXPECT_EQ(p.pages->TabCount(), 3);
    EXPECT_EQ(p.sheets[1]->TabIndex(), -1);
    EXPECT_EQ(p.sheets[2]->TabIndex(), 1);
    EXPECT_EQ(p.pages->PageOfTab(1), p.sheets[2]);
    EXPECT_EQ(p.pages->PageOfTab(3), nullptr);
    EXPECT_TRUE(p.pages->SelectTab(1));
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[2]);

    EXPECT_TRUE(p.pages->SelectNextPage(true));
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[3]);
    EXPECT_TRUE(p.pages->SelectNextPage(true));  // round the end
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[0]);
    EXPECT_TRUE(p.pages->SelectNextPage(false));
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[3]);
    EXPECT_EQ(p.pages->FindNextPage(p.sheets[0], true, false), p.sheets[1]);
    EXPECT_EQ(p.pages->FindNextPage(p.sheets[0], true, true), p.sheets[2]);

    // Hiding the tab of the active page shows the next page with a tab, quietly.
    p.events.clear();
    p.sheets[3]->SetTabVisible(false);
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[0]);
    EXPECT_EQ(p.events, (std::vector<std::string>{"hide D", "show A"}));
    for (TTabSheet* s : p.sheets) s->SetTabVisible(false);
    EXPECT_EQ(p.pages->ActivePage(), nullptr);
    EXPECT_FALSE(p.pages->SelectNextPage(true));
    p.sheets[2]->SetTabVisible(true);  // the first tab again becomes active
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[2]);
}

TEST(PageControl, PagesMoveLeaveAndDieCleanly) {
    Pages p({"A", "B", "C"});
    p.sheets[2]->SetPageIndex(0);
    EXPECT_EQ(Captions(*p.pages), (std::vector<std::string>{"C", "A", "B"}));
    p.sheets[2]->SetPageIndex(99);
    EXPECT_EQ(Captions(*p.pages), (std::vector<std::string>{"A", "B", "C"}));

    // The active page leaving makes the next one active, without events.
    p.pages->SetActivePage(p.sheets[1]);
    p.events.clear();
    p.sheets[1]->SetPageControl(nullptr);
    EXPECT_EQ(p.sheets[1]->PageControl(), nullptr);
    EXPECT_EQ(p.sheets[1]->PageIndex(), -1);
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[2]);
    EXPECT_EQ(p.events, (std::vector<std::string>{"show C"}));

    // Freeing the active last page wraps to the first.
    delete p.sheets[2];
    EXPECT_EQ(p.pages->PageCount(), 1);
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[0]);
    delete p.sheets[0];
    EXPECT_EQ(p.pages->PageCount(), 0);
    EXPECT_EQ(p.pages->ActivePage(), nullptr);

    // Controls on a sheet are its children; a page control freed before its
    // sheets leaves them without one.
    auto* pages = new TPageControl(nullptr);
    TTabSheet sheet(nullptr);
    TButton button(nullptr);
    button.SetParent(&sheet);
    sheet.SetParent(pages);
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(sheet.ControlCount(), 1);
    delete pages;
    EXPECT_EQ(sheet.PageControl(), nullptr);
    EXPECT_EQ(sheet.Parent(), nullptr);
    EXPECT_EQ(button.Parent(), &sheet);
}

TEST(PageControl, ABackendHearsOfTabsAndTheActivePage) {
    rt_test::ScopedRecorder recorder;
    Pages p({"A", "B"});
    recorder->changes.clear();
    p.sheets[1]->SetCaption("Bee");
    EXPECT_EQ(recorder->Count(*p.pages, TControlChange::Items), 1);
    p.sheets[1]->SetCaption("Bee");  // no change, no news
    EXPECT_EQ(recorder->Count(*p.pages, TControlChange::Items), 1);
    p.pages->SelectTab(1);
    EXPECT_EQ(recorder->Count(*p.pages, TControlChange::Selection), 1);
    EXPECT_EQ(recorder->Count(*p.sheets[1], TControlChange::Visible), 1);
    p.sheets[0]->SetTabVisible(false);
    EXPECT_EQ(recorder->Count(*p.pages, TControlChange::Items), 2);
}

TEST(PageControl, PublishedProperties) {
    Pages p({"A", "B"});
    SetObjectProp(*p.pages, "ActivePage", p.sheets[1]);
    EXPECT_EQ(p.pages->ActivePage(), p.sheets[1]);
    EXPECT_EQ(GetObjectProp(*p.pages, "ActivePage"), p.sheets[1]);
    SetPropText(*p.sheets[1], "TabVisible", "False");
    EXPECT_FALSE(p.sheets[1]->TabVisible());
    SetPropText(*p.sheets[1], "PageIndex", "0");
    EXPECT_EQ(p.pages->Pages(0), p.sheets[1]);
    EXPECT_NE(GetPropInfo(*p.pages, "OnChanging"), nullptr);
}

TEST(TabControl, TheFirstTabIsSelectedAndOnlyTheUserRunsOnChange) {
    TTabControl tabs(nullptr);
    std::vector<std::string> events;
    tabs.OnChanging = [&](TObject*, bool&) { events.push_back("changing"); };
    tabs.OnChange = [&](TObject*) { events.push_back("change " + std::to_string(tabs.TabIndex())); };
    EXPECT_EQ(tabs.TabIndex(), -1);
    tabs.Tabs().Add("Source");
    EXPECT_EQ(tabs.TabIndex(), 0);
    tabs.Tabs().Add("Frame 1");
    tabs.Tabs().Add("Frame 2");
    EXPECT_EQ(tabs.TabIndex(), 0);

    tabs.SetTabIndex(2);
    EXPECT_EQ(tabs.TabIndex(), 2);
    tabs.SetTabIndex(3);
    EXPECT_EQ(tabs.TabIndex(), -1);
    EXPECT_TRUE(events.empty());

    EXPECT_TRUE(tabs.SelectTab(1));
    EXPECT_FALSE(tabs.SelectTab(1));
    EXPECT_FALSE(tabs.SelectTab(3));
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change 1"}));

    tabs.OnChanging = [](TObject*, bool& allow) { allow = false; };
    EXPECT_FALSE(tabs.SelectTab(2));
    EXPECT_EQ(tabs.TabIndex(), 1);

    // Rebuilding the tabs as the source viewer does: cleared, then refilled.
    tabs.Tabs().Clear();
    EXPECT_EQ(tabs.TabIndex(), -1);
    tabs.Tabs().Add("Source");
    EXPECT_EQ(tabs.TabIndex(), 0);
    // A change that leaves the index in range keeps it; one that does not clears it.
    tabs.SetTabs(TStringList{"Source", "Frame 1", "Frame 2"});
    tabs.SetTabIndex(2);
    tabs.Tabs().Delete(0);
    EXPECT_EQ(tabs.TabIndex(), -1);
    EXPECT_EQ(events.size(), 2u);
}

TEST(TabControl, PublishedAndMirrored) {
    rt_test::ScopedRecorder recorder;
    TTabControl tabs(nullptr);
    TStringList names{"a", "b"};
    SetObjectProp(tabs, "Tabs", &names);
    EXPECT_EQ(tabs.Tabs().Count(), 2);
    EXPECT_EQ(recorder->Count(tabs, TControlChange::Items), 1);
    EXPECT_EQ(recorder->Count(tabs, TControlChange::Selection), 1);  // the first tab got selected
    SetPropText(tabs, "TabIndex", "1");
    EXPECT_EQ(tabs.TabIndex(), 1);
    EXPECT_EQ(recorder->Count(tabs, TControlChange::Selection), 2);
    EXPECT_GT(tabs.DisplayRect().Top, 0);
}
