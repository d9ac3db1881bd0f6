#include "DemoTour.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include "ScreenCapture.h"

namespace zrdemo {
namespace {

constexpr UINT kInterval = 100;   // between steps, in milliseconds
constexpr int kPatience = 50;      // ticks a step may wait for its window

std::map<UINT_PTR, Tour*> tours;

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

struct CaptionSearch {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK FindCaption(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    char text[128] = {};
    ::GetWindowTextA(child, text, sizeof text);
    std::string shown = text;  // without the accelerator's mark
    shown.erase(std::remove(shown.begin(), shown.end(), '&'), shown.end());
    if (*search->caption == shown && ::IsWindowVisible(child)) {
        search->found = child;
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

Tour::Tour(HWND frame, HWND searchBox, std::vector<BarButton> buttons, std::string folder)
    : frame_(frame), folder_(std::move(folder)) {
    // A search first, typed and sent with Enter: the page shows where it went, the history holds it.
    steps_.push_back({"search", [searchBox] {
                          for (unsigned char c : std::string("blue owls")) ::PostMessageA(searchBox, WM_CHAR, c, 1);
                          ::PostMessageA(searchBox, WM_KEYDOWN, VK_RETURN, 1);
                          ::PostMessageA(searchBox, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
                          return true;
                      }});
    steps_.push_back({"toolbar", [this] { return ++waited_ > 3 && Shoot(frame_, "toolbar"); }});
    for (const BarButton& button : buttons) AddMenu("menu-" + button.name, button.window);
    if (buttons.empty()) return;
    HWND main = buttons.front().window;
    AddPick("preferences", main, {'P'});
    AddDialogPicture("preferences", true);
    AddClickOnDialogButton("Manage Search History");  // on the Search page, the last one shown is the Updates'
    AddDialogPicture("item-list-editor", false);
    AddClose("item-list-editor");
    AddClose("preferences");
    for (const BarButton& button : buttons)
        if (button.name == "tools") {
            AddPick("source-viewer", button.window, {VK_DOWN, VK_RETURN});  // "View Source"
            AddDialogPicture("source-viewer", false);
            AddClose("source-viewer");
        }
    AddPick("about", main, {'A'});
    AddDialogPicture("about", false);
    AddClose("about");
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

void Tour::AddPick(const std::string& what, HWND button, std::vector<UINT> keys) {
    steps_.push_back({what + " (menu)", [button] {
                          RECT area;
                          ::GetClientRect(button, &area);
                          ClickAt(button, area.right / 2, area.bottom / 2);
                          return true;
                      }});
    steps_.push_back({what + " (pick)", [this, keys] {
                          if (!OpenMenu() || ++waited_ < 2) return false;
                          for (UINT key : keys) Press(key);
                          return true;
                      }});
}

void Tour::AddDialogPicture(const std::string& picture, bool pages) {
    steps_.push_back({picture, [this, picture, pages] {
                          HWND dialog = ActiveDialog(frame_);
                          if (!dialog || ++waited_ < 3) return false;
                          HWND tabs = nullptr;
                          if (pages) ::EnumChildWindows(dialog, &FindTabs, reinterpret_cast<LPARAM>(&tabs));
                          if (!tabs) {
                              Shoot(dialog, picture);
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
                              Shoot(dialog, picture + "-" + std::to_string(page + 1) + "-" + TabText(tabs, page));
                          }
                          ++page_;
                          waited_ = 3;
                          return false;
                      }});
}

void Tour::AddClickOnDialogButton(const std::string& caption) {
    steps_.push_back({caption, [this, caption] {
                          HWND dialog = ActiveDialog(frame_);
                          if (!dialog) return false;
                          // The button lies on a page of its own: show each page until it is visible.
                          HWND tabs = nullptr;
                          ::EnumChildWindows(dialog, &FindTabs, reinterpret_cast<LPARAM>(&tabs));
                          CaptionSearch search{&caption, nullptr};
                          ::EnumChildWindows(dialog, &FindCaption, reinterpret_cast<LPARAM>(&search));
                          if (!search.found) {
                              // Every other tick the next page is shown, until the button is on the one shown.
                              if (tabs && page_++ % 2 == 0) {
                                  const int count = static_cast<int>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
                                  RECT item;
                                  ::SendMessageA(tabs, TCM_GETITEMRECT, (page_ / 2) % std::max(count, 1),
                                                 reinterpret_cast<LPARAM>(&item));
                                  ClickAt(tabs, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
                              }
                              return false;
                          }
                          page_ = 0;
                          RECT area;
                          ::GetClientRect(search.found, &area);
                          ClickAt(search.found, area.right / 2, area.bottom / 2);
                          return true;
                      }});
}

void Tour::AddClose(const std::string& what) {
    steps_.push_back({what + " (close)", [this, what] {
                          HWND dialog = ActiveDialog(frame_);
                          if (dialog && waited_ == 0) closing_ = dialog;
                          if (dialog && dialog == closing_) {
                              if (waited_++ % 10 == 0) Press(VK_ESCAPE);
                              return false;
                          }
                          closing_ = nullptr;
                          return true;
                      }});
}

bool Tour::Shoot(HWND window, const std::string& picture) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const bool saved = SaveWindowPicture(window, folder_, picture);
    std::fprintf(stderr, "demo: %s %s\n", saved ? "saved" : "could not save", picture.c_str());
    if (!saved) missed_.push_back(picture);
    return true;
}

}  // namespace zrdemo
