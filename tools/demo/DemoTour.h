#pragma once
// The demo's picture tour: it opens every menu and dialog of the toolbar in
// turn, as a person would, and saves a picture of each. Its steps run from a
// thread timer, so they go on inside the menus' and dialogs' own loops.
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Win32Api.h"

namespace toolbar {
class TBandForm;
}

namespace zrdemo {

class Tour {
public:
    Tour(toolbar::TBandForm& form, HWND frame, std::string folder);
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
    void AddDialog(const std::string& picture, std::function<void()> open, bool pages = false);
    void Run(std::function<void()> action);  // from the frame's message loop, not the timer
    bool Shoot(HWND window, const std::string& picture);

    toolbar::TBandForm& form_;
    HWND frame_;
    std::string folder_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int waited_ = 0;
    UINT_PTR timer_ = 0;
    HWND dialog_ = nullptr;
    int page_ = 0;
    std::vector<std::string> missed_;
};

// Posted to the frame: runs the action the tour queued (dialogs block in their own loop).
constexpr UINT kRunAction = WM_APP + 2;
void RunQueuedAction();

}  // namespace zrdemo
