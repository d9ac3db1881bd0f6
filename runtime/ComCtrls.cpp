#include "runtime/ComCtrls.h"

#include <algorithm>

namespace rt {

const TPropList& TListView::ClassProperties() {
    static const TPropList list(TWinControl::ClassProperties(),
                                {props::Boolean<TListView>("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes)});
    return list;
}

namespace {
constexpr int kSystemTabHeight = 22;  // the tab strip's height with the dialog font
constexpr int kPageMargin = 4;

TRect BelowTabs(const TWinControl& control, int tabHeight) {
    const int top = (tabHeight > 0 ? tabHeight : kSystemTabHeight) + kPageMargin;
    const int right = std::max(kPageMargin, control.Width() - kPageMargin);
    const int bottom = std::max(top, control.Height() - kPageMargin);
    return TRect{kPageMargin, top, right, bottom};
}
}  // namespace

// ------------------------------------------------------------ TTabSheet

const TPropList& TTabSheet::ClassProperties() {
    static const TPropList list(TWinControl::ClassProperties(),
                                {
                                    props::Integer<TTabSheet>("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex),
                                    props::Boolean<TTabSheet>("TabVisible", &TTabSheet::TabVisible,
                                                              &TTabSheet::SetTabVisible),
                                    props::Method("OnShow"),
                                    props::Method("OnHide"),
                                });
    return list;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { SetVisible(false); }

TTabSheet::~TTabSheet() {
    OnShow = nullptr;
    OnHide = nullptr;
    SetParent(nullptr);  // leaves the page control while this is still a sheet
}

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

void TTabSheet::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (parent == this) throw EComponentError("A control cannot have itself as its parent");
    if (TPageControl* old = pageControl_) {
        pageControl_ = nullptr;
        old->RemovePage(this);
    }
    TWinControl::SetParent(parent);
    if (auto* pageControl = dynamic_cast<TPageControl*>(parent)) {
        pageControl_ = pageControl;
        pageControl->InsertPage(this);
    }
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (pageControl_) pageControl_->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int tab = 0;
    for (const TTabSheet* page : pageControl_->pages_) {
        if (page == this) return tab;
        if (page->tabVisible_) ++tab;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool v) {
    if (v == tabVisible_) return;
    tabVisible_ = v;
    if (pageControl_) pageControl_->TabShownChanged(this);
}

void TTabSheet::SetText(const std::string& text) {
    if (text == Text()) return;
    TWinControl::SetText(text);
    if (pageControl_) pageControl_->Changed(TControlChange::Items);
}

// ---------------------------------------------------------- TPageControl

const TPropList& TPageControl::ClassProperties() {
    static const TPropList list(
        TWinControl::ClassProperties(),
        {
            props::Object<TPageControl>(
                "ActivePage", "TTabSheet", [](const TPageControl& c) -> TObject* { return c.ActivePage(); },
                [](TPageControl& c, TObject* page) { c.SetActivePage(dynamic_cast<TTabSheet*>(page)); }),
            props::Integer<TPageControl>("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight),
            props::Method("OnChange"),
            props::Method("OnChanging", "TTabChangingEvent"),
        });
    return list;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 289, 193); }

TPageControl::~TPageControl() {
    // The pages outlive this part of the control: they must not call back.
    OnChange = nullptr;
    OnChanging = nullptr;
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
    active_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) throw EListError(Format("List index out of bounds (%d)", {index}));
    return pages_[index];
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    Activate(page);
}

void TPageControl::SetActivePageIndex(int index) {
    Activate(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

int TPageControl::TabCount() const {
    return static_cast<int>(std::count_if(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->tabVisible_; }));
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* page : pages_)
        if (page->tabVisible_ && tabIndex-- == 0) return page;
    return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    const int count = PageCount();
    if (count == 0) return nullptr;
    int start = static_cast<int>(std::find(pages_.begin(), pages_.end(), current) - pages_.begin());
    if (start == count) start = goForward ? count - 1 : 0;
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        if (!checkTabVisible || pages_[i]->tabVisible_) return pages_[i];
    } while (i != start);
    return nullptr;
}

void TPageControl::SetTabHeight(int v) {
    if (v == tabHeight_) return;
    tabHeight_ = std::max(0, v);
    Changed(TControlChange::Style);
    LayoutPages();
}

TRect TPageControl::DisplayRect() const { return BelowTabs(*this, tabHeight_); }

void TPageControl::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    LayoutPages();
}

void TPageControl::LayoutPages() {
    const TRect r = DisplayRect();
    for (TTabSheet* page : pages_) page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    const TRect r = DisplayRect();
    page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    page->SetVisible(false);
    Changed(TControlChange::Items);
    if (!active_ && page->tabVisible_) Activate(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    TTabSheet* next = active_;
    if (page == active_) {
        // While a form frees its components no other page is shown.
        const bool teardown = IsDestroying() || (page->Owner() && page->Owner()->IsDestroying());
        next = teardown ? nullptr : FindNextPage(page, true, true);
        if (next == page) next = nullptr;
    }
    pages_.erase(it);
    if (page == active_) {
        active_ = nullptr;  // it hides itself as it leaves, without an OnHide
        page->SetVisible(false);
    }
    Changed(TControlChange::Items);
    Activate(next);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    index = std::clamp(index, 0, PageCount() - 1);
    if (it - pages_.begin() == index) return;
    pages_.erase(it);
    pages_.insert(pages_.begin() + index, page);
    Changed(TControlChange::Items);
}

void TPageControl::TabShownChanged(TTabSheet* page) {
    Changed(TControlChange::Items);
    if (page == active_ && !page->tabVisible_) {
        TTabSheet* next = FindNextPage(page, true, true);
        Activate(next == page ? nullptr : next);
    } else if (!active_ && page->tabVisible_) {
        Activate(page);
    }
}

void TPageControl::Activate(TTabSheet* page) {
    if (page == active_) return;
    TTabSheet* old = active_;
    active_ = page;
    if (old) {
        old->SetVisible(false);
        if (old->OnHide) old->OnHide(old);
    }
    if (page) {
        page->SetVisible(true);
        if (page->OnShow) page->OnShow(page);
    }
    Changed(TControlChange::Selection);
}

bool TPageControl::UserSwitch(TTabSheet* page) {
    if (!page || page == active_) return false;
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return false;
    Activate(page);
    if (OnChange) OnChange(this);
    return true;
}

bool TPageControl::SelectTab(int tabIndex) { return UserSwitch(PageOfTab(tabIndex)); }

bool TPageControl::SelectNextPage(bool goForward) { return UserSwitch(FindNextPage(active_, goForward, true)); }

// ----------------------------------------------------------- TTabControl

const TPropList& TTabControl::ClassProperties() {
    static const TPropList list(
        TWinControl::ClassProperties(),
        {
            props::Object<TTabControl>(
                "Tabs", "TStrings", [](const TTabControl& c) -> TObject* { return const_cast<TStringList*>(&c.Tabs()); },
                [](TTabControl& c, TObject* v) {
                    if (auto* list = dynamic_cast<TStringList*>(v)) c.SetTabs(*list);
                }),
            props::Integer<TTabControl>("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex),
            props::Integer<TTabControl>("TabHeight", &TTabControl::TabHeight, &TTabControl::SetTabHeight),
            props::Method("OnChange"),
            props::Method("OnChanging", "TTabChangingEvent"),
        });
    return list;
}

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    tabs_.OnChange = [this](TStringList&) { TabsChanged(); };
}

void TTabControl::TabsChanged() {
    const int count = tabs_.Count();
    const int old = tabIndex_;
    if (tabIndex_ >= count) tabIndex_ = -1;
    if (tabCount_ == 0 && count > 0 && tabIndex_ < 0) tabIndex_ = 0;
    tabCount_ = count;
    Changed(TControlChange::Items);
    if (tabIndex_ != old) Changed(TControlChange::Selection);
}

void TTabControl::SetTabIndex(int index) {
    if (index < 0 || index >= tabs_.Count()) index = -1;
    if (index == tabIndex_) return;
    tabIndex_ = index;
    Changed(TControlChange::Selection);
}

void TTabControl::SetTabHeight(int v) {
    if (v == tabHeight_) return;
    tabHeight_ = std::max(0, v);
    Changed(TControlChange::Style);
}

TRect TTabControl::DisplayRect() const { return BelowTabs(*this, tabHeight_); }

bool TTabControl::SelectTab(int index) {
    if (index < 0 || index >= tabs_.Count() || index == tabIndex_) return false;
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return false;
    SetTabIndex(index);
    if (OnChange) OnChange(this);
    return true;
}

}  // namespace rt
