#include "DemoTour.h"

#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <deque>
#include <map>

#include "ScreenCapture.h"
#include "platform/win32/ui/Win32UiBackend.h"
#include "toolbar/AboutForm.h"
#include "toolbar/BandForm.h"
#include "toolbar/plgBrowserTools.h"

namespace zrdemo {
namespace {

constexpr UINT kInterval = 100;   // between steps, in milliseconds
constexpr int kPatience = 50;      // ticks a step may wait for its window

std::map<UINT_PTR, Tour*> tours;
std::deque<std::function<void()>> queued;

HWND WindowOf(const rt::TControl& control) { return reinterpret_cast<HWND>(rt::UiBackend().HandleOf(control)); }

void Press(UINT key) {
    ::keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    ::keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(x, y); }

void ClickAt(HWND window, int x, int y) {
    ::PostMessageA(window, WM_MOUSEMOVE, 0, PointParam(x, y));
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, PointParam(x, y));
}

HWND OpenMenu() {
    HWND menu = ::FindWindowA("#32768", nullptr);
    return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}

// The window of this thread that is active, when it is not the frame.
HWND ActiveDialog(HWND frame) {
    HWND active = ::GetActiveWindow();
    return active && active != frame && ::IsWindowVisible(active) ? active : nullptr;
}

BOOL CALLBACK FindTabs(HWND child, LPARAM found) {
    char name[32] = {};
    ::GetClassNameA(child, name, sizeof(name));
    if (lstrcmpiA(name, WC_TABCONTROLA) == 0) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

// A picture's name from a caption: lower case, dashes for spaces, no accelerator marks.
std::string PictureName(const std::string& caption) {
    std::string name;
    for (char c : caption) {
        if (c == '&') continue;
        name += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

std::string TabText(HWND tabs, int index) {
    char text[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return PictureName(text);
}

}  // namespace

void RunQueuedAction() {
    if (queued.empty()) return;
    auto action = std::move(queued.front());
    queued.pop_front();
    // As from a click on the toolbar: errors and cancelled actions go to the
    // application's handler, never back through the message dispatch.
    try {
        action();
    } catch (const std::exception& error) {
        rt::Application().HandleException(error);
    }
}

Tour::Tour(toolbar::TBandForm& form, HWND frame, std::string folder)
    : form_(form), frame_(frame), folder_(std::move(folder)) {
    steps_.push_back({"toolbar", [this] { return ++waited_ > 3 && Shoot(frame_, "toolbar"); }});
    AddMenu("menu-main", WindowOf(*form_.btnMain));
    for (auto* button : {form_.btnSearchTheWeb, form_.btnGoogle, form_.btnAmazon, form_.btnEbay, form_.btnEbayCa,
                         form_.btneBaycouk, form_.btnOthers, form_.btnUp, form_.btnTools})
        if (button->Visible() && (button->DropDownMenu() || button->HasXmlSource()))
            AddMenu("menu-" + PictureName(button->Name().substr(3)), WindowOf(*button));
    AddMenu("menu-popup-blocker", WindowOf(*form_.btnPopupBlocker));
    AddDialog("preferences", [this] { form_.ShowPreferences(); }, true);
    AddDialog("item-list-editor", [this] { form_.ManageSearchHistory(); });
    AddDialog("source-viewer", [this] { form_.BrowserTools().ViewSource(); });
    AddDialog("about", [] { toolbar::ShowAbout(); });
}

Tour::~Tour() {
    if (timer_) {
        ::KillTimer(nullptr, timer_);
        tours.erase(timer_);
    }
}

void Tour::Start() {
    timer_ = ::SetTimer(nullptr, 0, kInterval, &Tour::Tick);
    tours[timer_] = this;
}

void CALLBACK Tour::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = tours.find(id);
    if (found != tours.end()) found->second->Next();
}

void Tour::Next() {
    if (next_ >= steps_.size()) {
        ::KillTimer(nullptr, timer_);
        tours.erase(timer_);
        timer_ = 0;
        ::PostMessageA(frame_, WM_CLOSE, 0, 0);
        return;
    }
    Step& step = steps_[next_];
    const std::size_t current = next_;
    bool done = false;
    try {
        done = step.run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo: %s: %s\n", step.name.c_str(), error.what());
        done = true;
    }
    if (next_ != current) return;  // a nested tick moved on meanwhile
    if (!done && ++waited_ > kPatience) {
        std::fprintf(stderr, "demo: gave up waiting at %s\n", step.name.c_str());
        missed_.push_back(step.name);
        if (HWND dialog = ActiveDialog(frame_)) ::PostMessageA(dialog, WM_CLOSE, 0, 0);
        if (OpenMenu()) Press(VK_ESCAPE);
        done = true;
    }
    if (done) {
        ++next_;
        waited_ = 0;
    }
}

void Tour::AddMenu(const std::string& picture, HWND button) {
    steps_.push_back({picture + " (open)", [this, button] {
                          RECT area;
                          ::GetClientRect(button, &area);
                          ClickAt(button, area.right / 2, area.bottom / 2);
                          return true;
                      }});
    steps_.push_back({picture, [this, picture] {
                          if (!OpenMenu() || ++waited_ < 3) return false;
                          Shoot(frame_, picture);
                          Press(VK_ESCAPE);
                          return true;
                      }});
    steps_.push_back({picture + " (close)", [] { return OpenMenu() == nullptr; }});
}

void Tour::AddDialog(const std::string& picture, std::function<void()> open, bool pages) {
    steps_.push_back({picture + " (open)", [this, open] {
                          Run(open);
                          return true;
                      }});
    steps_.push_back({picture, [this, picture, pages] {
                          dialog_ = ActiveDialog(frame_);
                          if (!dialog_ || ++waited_ < 3) return false;
                          HWND tabs = nullptr;
                          if (pages) ::EnumChildWindows(dialog_, &FindTabs, reinterpret_cast<LPARAM>(&tabs));
                          if (!tabs) {
                              Shoot(dialog_, picture);
                              return true;
                          }
                          // One picture per page: a click on each tab, then its picture a tick later.
                          const int count = static_cast<int>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
                          const int page = page_ / 2;
                          if (page >= count) {
                              page_ = 0;
                              return true;
                          }
                          if (page_ % 2 == 0) {
                              RECT item;
                              ::SendMessageA(tabs, TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(&item));
                              ClickAt(tabs, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
                          } else {
                              Shoot(dialog_, picture + "-" + std::to_string(page + 1) + "-" + TabText(tabs, page));
                          }
                          ++page_;
                          waited_ = 3;
                          return false;
                      }});
    steps_.push_back({picture + " (close)", [this] {
                          if (ActiveDialog(frame_)) {
                              if (waited_++ % 10 == 0) Press(VK_ESCAPE);
                              return false;
                          }
                          return true;
                      }});
}

void Tour::Run(std::function<void()> action) {
    queued.push_back(std::move(action));
    ::PostMessageA(frame_, kRunAction, 0, 0);
}

bool Tour::Shoot(HWND window, const std::string& picture) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const bool saved = SaveWindowPicture(window, folder_, picture);
    std::fprintf(stderr, "demo: %s %s\n", saved ? "saved" : "could not save", picture.c_str());
    if (!saved) missed_.push_back(picture);
    return true;
}

}  // namespace zrdemo
