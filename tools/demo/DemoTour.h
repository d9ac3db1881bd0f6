#pragma once
// The demo's picture tour: it opens every menu and dialog of the toolbar in
// turn with posted clicks and keys, as a person would, and saves a picture
// of each. Its steps run from a thread timer, so they go on inside the
// menus' and dialogs' own loops.
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Win32Api.h"

namespace zrdemo {

// A button of the bar: its window and the name its pictures carry.
struct BarButton {
    HWND window;
    std::string name;
};

class Tour {
public:
    // `buttons`: the bar's buttons that open a menu, the main button first;
    // `searchBox`: the search box's edit field, where the tour types a search.
    Tour(HWND frame, HWND searchBox, std::vector<BarButton> buttons, std::string folder);
    ~Tour();
    void Start();
    // The pictures that could not be taken (a window that never showed).
    const std::vector<std::string>& Missed() const { return missed_; }

private:
    // A step answers true when it is done; one that waits too long is given up.
    struct Step {
        std::string name;
        std::function<bool()> run;
    };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    void Next();

    void AddMenu(const std::string& picture, HWND button);
    // Opens a dialog from a button's menu with the keys that pick the entry.
    void AddPick(const std::string& what, HWND button, std::vector<UINT> keys);
    void AddDialogPicture(const std::string& picture, bool pages);
    void AddClickOnDialogButton(const std::string& caption);
    void AddClose(const std::string& what);
    bool Shoot(HWND window, const std::string& picture);

    HWND frame_;
    std::string folder_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int waited_ = 0;
    int page_ = 0;
    HWND closing_ = nullptr;  // the dialog a close step is closing
    UINT_PTR timer_ = 0;
    std::vector<std::string> missed_;
};

}  // namespace zrdemo
