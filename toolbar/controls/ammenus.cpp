#include "toolbar/controls/ammenus.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "runtime/Controls.h"

namespace toolbar {

rt::TMenuItem* TAMMenuItemStack::Pop() {
    if (items_.empty()) return nullptr;
    rt::TMenuItem* item = items_.back();
    items_.pop_back();
    return item;
}

namespace {
thread_local TAMAMPopupList* threadList = nullptr;
// Message windows are numbered process-wide so two threads' windows differ.
std::atomic<std::uintptr_t> nextWindow{0x10000};

std::string LongHint(const std::string& hint) {
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}
}  // namespace

TAMAMPopupList& TAMAMPopupList::ForThisThread() {
    if (!threadList) threadList = new TAMAMPopupList();
    return *threadList;
}

TAMAMPopupList* TAMAMPopupList::ExistingForThisThread() { return threadList; }

void TAMAMPopupList::ReleaseIfIdle() {
    if (threadList && threadList->menus_.empty() && threadList->dispatching_ == 0) {
        delete threadList;
        threadList = nullptr;
    }
}

void TAMAMPopupList::Add(TAMPopupMenu* menu) {
    if (menus_.empty()) window_ = nextWindow++;
    menus_.push_back(menu);
}

void TAMAMPopupList::Remove(TAMPopupMenu* menu) {
    menus_.erase(std::remove(menus_.begin(), menus_.end(), menu), menus_.end());
    if (menus_.empty()) window_ = 0;
}

bool TAMAMPopupList::Contains(const TAMPopupMenu* menu) const {
    return std::find(menus_.begin(), menus_.end(), menu) != menus_.end();
}

std::intptr_t TAMAMPopupList::WndProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    struct Dispatching {
        int& depth;
        explicit Dispatching(int& d) : depth(d) { ++depth; }
        ~Dispatching() { --depth; }
    } dispatching(dispatching_);
    try {
        const unsigned id = static_cast<unsigned>(wParam & 0xFFFF);
        switch (message) {
            case wm::Command:
                // A copy: a click may free menus of this list.
                for (TAMPopupMenu* menu : std::vector<TAMPopupMenu*>(menus_))
                    if (Contains(menu) && menu->DispatchCommand(id)) return 0;
                return 0;
            case wm::MenuSelect: {
                std::string hint;
                for (TAMPopupMenu* menu : menus_)
                    if (rt::TMenuItem* item = menu->FindItem(id)) {
                        hint = LongHint(item->Hint());
                        break;
                    }
                rt::Application().Hint = hint;
                return 0;
            }
            case wm::InitMenuPopup:
            case wm::MenuChar:
            case wm::MeasureItem:
            case wm::DrawItem:
            case wm::Help:
                // Native drawing and accelerators belong to the Win32 backend.
                return 0;
            default:
                return 0;
        }
    } catch (const std::exception& error) {
        rt::Application().HandleException(error);
    }
    return 0;
}

TAMPopupMenu::TAMPopupMenu(rt::TComponent* owner) : rt::TPopupMenu(owner), list_(TAMAMPopupList::ForThisThread()) {
    list_.Add(this);
}

TAMPopupMenu::~TAMPopupMenu() {
    list_.Remove(this);
    TAMAMPopupList::ReleaseIfIdle();
}

std::uintptr_t TAMPopupMenu::OwnerWindow() { return list_.Window(); }

void TAMPopupMenu::DeliverCommand(unsigned command) { list_.WndProc(wm::Command, command, 0); }

}  // namespace toolbar
