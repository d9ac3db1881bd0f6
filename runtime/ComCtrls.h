#pragma once
// A list view whose items may carry check marks; page controls with their
// tab sheets, and tab controls.
#include <functional>
#include <string>
#include <vector>

#include "runtime/Controls.h"
#include "runtime/ListItems.h"

namespace rt {

class TListView : public TWinControl {
    RT_CLASS(TListView)
public:
    using TWinControl::TWinControl;
    TListItems& Items() { return items_; }
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool v) { checkboxes_ = v; }

private:
    TListItems items_;
    bool checkboxes_ = false;
};

// ------------------------------------------------------ tabs and pages

// Asked before the user's switch; setting allowChange false keeps the page.
using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TPageControl;

// A page of a page control, and the parent of the controls on it. It joins
// a page control by getting it as its parent (SetPageControl does that).
class TTabSheet : public TWinControl {
    RT_CLASS(TTabSheet)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* pageControl);
    void SetParent(TWinControl* parent) override;
    // The place among the pages (-1 without a page control); setting it moves the page.
    int PageIndex() const;
    void SetPageIndex(int index);
    // The place among the tabs shown; -1 when its tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool v);
    // The caption is the tab's text.
    void SetText(const std::string& text) override;

    TNotifyEvent OnShow;  // became the page shown
    TNotifyEvent OnHide;  // another page is shown now

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

// Pages with tabs; only the active page is visible. Setting ActivePage runs
// no events; a switch the user makes (SelectTab, SelectNextPage) asks
// OnChanging and then runs OnChange. A page control without an active page
// activates the first page with a tab it gets; when the active page goes or
// hides its tab, the next one with a tab becomes active (no events).
class TPageControl : public TWinControl {
    RT_CLASS(TPageControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;  // EListError out of range
    TTabSheet* ActivePage() const { return active_; }
    // Null, or one of this control's pages (another control's page is ignored).
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }
    void SetActivePageIndex(int index);  // out of range: no page
    // The tabs shown (pages whose tab is visible), in page order.
    int TabCount() const;
    TTabSheet* PageOfTab(int tabIndex) const;  // null when there is no such tab
    // The page after (or before) `current` in page order, round the end;
    // with checkTabVisible only pages with a tab. Null when there is none.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;

    // Height of the tab strip (0: the system's, 22 here).
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int v);
    // Where the pages lie in the control.
    TRect DisplayRect() const;
    void SetBounds(int left, int top, int width, int height) override;

    // As the user does it: clicks tab `tabIndex` (of the tabs shown), or
    // presses Ctrl+Tab / Ctrl+Shift+Tab. True when the page changed.
    bool SelectTab(int tabIndex);
    bool SelectNextPage(bool goForward);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void TabShownChanged(TTabSheet* page);
    void Activate(TTabSheet* page);
    bool UserSwitch(TTabSheet* page);
    void LayoutPages();

    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
    int tabHeight_ = 0;
};

// A row of tabs without pages: the program shows what the selected tab
// stands for. Setting TabIndex runs no events; SelectTab, as the user
// clicks, asks OnChanging and then runs OnChange. The first tab added to an
// empty control becomes the selected one; a change of the tabs keeps the
// index while it is in range and leaves none selected otherwise.
class TTabControl : public TWinControl {
    RT_CLASS(TTabControl)
public:
    explicit TTabControl(TComponent* owner);

    TStringList& Tabs() { return tabs_; }
    const TStringList& Tabs() const { return tabs_; }
    void SetTabs(const TStringList& tabs) { tabs_.Assign(tabs); }
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);  // -1 or out of range: none
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int v);
    // Where the content lies in the control, below the tabs.
    TRect DisplayRect() const;

    // The user clicks tab `index`: true when the selection changed.
    bool SelectTab(int index);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

private:
    void TabsChanged();

    TStringList tabs_;
    int tabIndex_ = -1;
    int tabCount_ = 0;  // as of the last change of the tabs
    int tabHeight_ = 0;
};

}  // namespace rt
