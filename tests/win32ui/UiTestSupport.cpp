#include "UiTestSupport.h"

#include <map>

#include "toolbar/controls/win32/ToolbarPeers.h"

namespace zrtest::ui {
namespace {

std::map<UINT_PTR, Script*>& Scripts() {
    static std::map<UINT_PTR, Script*> scripts;
    return scripts;
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(window, message, wParam, lParam);
}

struct ClassSearch {
    std::string className, text;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ClassSearch*>(param);
    if (lstrcmpiA(ClassOf(window).c_str(), search->className.c_str()) == 0 &&
        (search->text.empty() || TextOf(window) == search->text))
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM param) {
    ++*reinterpret_cast<int*>(param);
    ::EnumChildWindows(window, [](HWND, LPARAM count) -> BOOL { return ++*reinterpret_cast<int*>(count), TRUE; },
                       param);
    return TRUE;
}

}  // namespace

HWND WindowOf(const rt::TControl& control) { return reinterpret_cast<HWND>(rt::UiBackend().HandleOf(control)); }

std::string TextOf(HWND window) {
    char text[1024] = "";
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

void Click(HWND window, int x, int y) {
    RECT area;
    ::GetClientRect(window, &area);
    if (x < 0) x = area.right / 2;
    if (y < 0) y = area.bottom / 2;
    ::PostMessageA(window, WM_MOUSEMOVE, 0, PointParam(x, y));
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, PointParam(x, y));
}

void Key(HWND window, UINT key) {
    const LPARAM down = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(key, 0)) << 16);
    ::PostMessageA(window, WM_KEYDOWN, key, down);
    const UINT character = ::MapVirtualKeyA(key, 2 /* MAPVK_VK_TO_CHAR */);
    if (character && key != VK_DELETE) ::PostMessageA(window, WM_CHAR, character, down);
    ::PostMessageA(window, WM_KEYUP, key, down | (3u << 30));
}

void Type(HWND window, const std::string& text) {
    for (char c : text) ::PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void HoldKey(UINT key, bool down) {
    BYTE state[256];
    ::GetKeyboardState(state);
    state[key] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
}

void Pump(int milliseconds) {
    const DWORD until = ::GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    } while (static_cast<LONG>(::GetTickCount() - until) < 0);
}

HWND TopWindowCaptioned(const std::string& caption) {
    struct Search {
        std::string caption;
        HWND found;
    } search{caption, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::IsWindowVisible(window) && TextOf(window) == s->caption) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className) {
    ClassSearch search{className, "", {}};
    if (parent) ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildOfClass(HWND parent, const std::string& className, const std::string& text) {
    ClassSearch search{className, text, {}};
    if (parent) ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

int ThreadWindowCount() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// ------------------------------------------------------------- Script

Script::Script(std::vector<Step> steps, UINT interval) : steps_(std::move(steps)) {
    timer_ = ::SetTimer(nullptr, 0, interval, &Script::Tick);
    Scripts()[timer_] = this;
}

Script::~Script() {
    ::KillTimer(nullptr, timer_);
    Scripts().erase(timer_);
}

void CALLBACK Script::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Scripts().find(id);
    if (found == Scripts().end()) return;
    Script& script = *found->second;
    if (script.Done() || ++script.ticks_ > limit) return;
    // A step may run a loop of its own (a menu, a box): not re-entered meanwhile.
    static bool running = false;
    if (running) return;
    running = true;
    const bool done = script.steps_[script.next_]();
    running = false;
    if (done) ++script.next_;
}

// ------------------------------------------------------------- UiTest

UiTest::UiTest() : HostPlatformTest(RegistryUse::StandIn) {
    auto backend = platform::win32::ui::MakeWin32UiBackend();
    EXPECT_TRUE(backend) << "this desktop cannot make windows";
    previousBackend_ = rt::SetUiBackend(backend);
    toolbar::win32::RegisterToolbarPeers();
    platform::ServiceSet set = platform::Services();
    set.keyboard = std::make_shared<platform::win32::Win32Keyboard>();
    set.windows = std::make_shared<platform::win32::Win32Windows>();
    set.timers = platform::win32::Win32Timers::Shared();
    realDesktop_ = std::make_unique<platform::ScopedServices>(set);
    HoldKey(VK_CONTROL, false);
    HoldKey(VK_SHIFT, false);
    HoldKey(VK_MENU, false);
}

UiTest::~UiTest() {
    if (frame_) ::DestroyWindow(frame_);
    Pump(10);
    rt::Application().Handle = 0;
    realDesktop_.reset();
    rt::SetUiBackend(previousBackend_);
}

HWND UiTest::Frame() {
    if (!frame_) {
        WNDCLASSA frameClass{};
        frameClass.lpfnWndProc = &FrameProc;
        frameClass.hInstance = ::GetModuleHandleA(nullptr);
        frameClass.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
        frameClass.lpszClassName = "ZrTestFrame";
        ::RegisterClassA(&frameClass);
        frame_ = ::CreateWindowExA(0, "ZrTestFrame", "Test browser", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                                   900, 300, nullptr, nullptr, frameClass.hInstance, nullptr);
        ::ShowWindow(frame_, SW_SHOW);
        ::SetForegroundWindow(frame_);
        rt::Application().Handle = reinterpret_cast<std::uintptr_t>(frame_);
    }
    return frame_;
}

}  // namespace zrtest::ui
