#pragma once
// The system's menu classes. They behave as the runtime's menus except that
// the list of live pop-up menus and its hidden message window belong to the
// thread that created them: each browser window's toolbar runs on its own
// thread, and its menus must deliver their picks on that thread.
#include <cstdint>
#include <vector>

#include "runtime/Menus.h"

namespace toolbar {

using TAMMenuBreak = rt::TMenuBreak;
using TAMPopupAlignment = rt::TPopupAlignment;
using TAMTrackButton = rt::TTrackButton;
using TAMMenuChangeEvent = rt::TMenuChangeEvent;

class EAMMenuError : public rt::EMenuError { using rt::EMenuError::EMenuError; };

class TAMMenuItem : public rt::TMenuItem {
    RT_CLASS_SAME_PROPS(TAMMenuItem, rt::TMenuItem)
public:
    using rt::TMenuItem::TMenuItem;
};

class TAMMenu : public rt::TMenu {
    RT_CLASS_SAME_PROPS(TAMMenu, rt::TMenu)
public:
    using rt::TMenu::TMenu;
};

class TAMMainMenu : public rt::TMainMenu {
    RT_CLASS_SAME_PROPS(TAMMainMenu, rt::TMainMenu)
public:
    using rt::TMainMenu::TMainMenu;
};

// The path of entries walked while a shortcut is looked up.
class TAMMenuItemStack {
public:
    void Push(rt::TMenuItem* item) { items_.push_back(item); }
    rt::TMenuItem* Pop();
    rt::TMenuItem* Peek() const { return items_.empty() ? nullptr : items_.back(); }
    bool Empty() const { return items_.empty(); }
    int Count() const { return static_cast<int>(items_.size()); }

private:
    std::vector<rt::TMenuItem*> items_;
};

class TAMPopupMenu;

// Window messages the pop-up window dispatches.
namespace wm {
constexpr unsigned Command = 0x0111;
constexpr unsigned InitMenuPopup = 0x0117;
constexpr unsigned MenuSelect = 0x011F;
constexpr unsigned MenuChar = 0x0120;
constexpr unsigned MeasureItem = 0x002C;
constexpr unsigned DrawItem = 0x002B;
constexpr unsigned Help = 0x0053;
}  // namespace wm

// The live pop-up menus of one thread and their message window.
class TAMAMPopupList {
public:
    // This thread's list; created with the thread's first pop-up menu.
    static TAMAMPopupList& ForThisThread();
    // Null when this thread has no pop-up menu.
    static TAMAMPopupList* ExistingForThisThread();
    // Frees this thread's list when it holds no menu and is not dispatching:
    // a thread's end frees nothing by itself (module threads must not rely on
    // destructors of thread storage).
    static void ReleaseIfIdle();

    void Add(TAMPopupMenu* menu);
    void Remove(TAMPopupMenu* menu);
    int Count() const { return static_cast<int>(menus_.size()); }
    bool Contains(const TAMPopupMenu* menu) const;
    // The hidden message window; 0 while the list is empty.
    std::uintptr_t Window() const { return window_; }
    // The window procedure: picks go to the first menu that knows the
    // command id; errors go to the application's handler.
    std::intptr_t WndProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    std::vector<TAMPopupMenu*> menus_;
    std::uintptr_t window_ = 0;
    int dispatching_ = 0;
};

class TAMPopupMenu : public rt::TPopupMenu {
    RT_CLASS_SAME_PROPS(TAMPopupMenu, rt::TPopupMenu)
public:
    explicit TAMPopupMenu(rt::TComponent* owner);
    ~TAMPopupMenu() override;

protected:
    std::uintptr_t OwnerWindow() override;
    void DeliverCommand(unsigned command) override;

private:
    TAMAMPopupList& list_;
};

}  // namespace toolbar
