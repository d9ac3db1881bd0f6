// Timers on a hidden message window of the module.
#include <map>
#include <mutex>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

struct Win32Timers::State {
    std::mutex mutex;
    HWND window = nullptr;
    DWORD thread = 0;
    std::map<UINT_PTR, std::function<void()>> ticks;
    UINT_PTR next = 1;
};

namespace {

constexpr UINT kStartMessage = WM_APP + 1;  // wParam id, lParam interval
constexpr UINT kStopMessage = WM_APP + 2;   // wParam id

void Anchor() {}

HINSTANCE ThisModule() {
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&Anchor), &self);
    return self;
}

// One class per module: two modules of ours in one process must not share a procedure.
std::string ClassName() { return "ZephyraTimers" + std::to_string(reinterpret_cast<std::uintptr_t>(ThisModule())); }

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<Win32Timers::State*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (state) {
        switch (message) {
        case kStartMessage:
            ::SetTimer(window, wParam, static_cast<UINT>(lParam), nullptr);
            return 0;
        case kStopMessage:
            ::KillTimer(window, wParam);
            return 0;
        case WM_TIMER: {
            std::function<void()> tick;
            {
                std::lock_guard<std::mutex> lock(state->mutex);
                auto found = state->ticks.find(wParam);
                if (found == state->ticks.end()) {
                    ::KillTimer(window, wParam);  // stopped from another thread meanwhile
                    return 0;
                }
                tick = found->second;
            }
            try {
                tick();
            } catch (...) {
                // A tick handler reports its own failures; nothing may unwind into the system.
            }
            return 0;
        }
        default:
            break;
        }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// The window for the calling thread to use; made here when there is none
// (or its thread has ended and taken it along). Called with the mutex held.
HWND EnsureWindow(Win32Timers::State& state) {
    if (state.window && ::IsWindow(state.window)) return state.window;
    const std::string className = ClassName();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TimerWindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = className.c_str();
    ::RegisterClassA(&windowClass);  // fails harmlessly when registered already
    state.window = ::CreateWindowExA(0, className.c_str(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     ThisModule(), nullptr);
    state.thread = ::GetCurrentThreadId();
    if (state.window) ::SetWindowLongPtrA(state.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    return state.window;
}

}  // namespace

std::shared_ptr<Win32Timers> Win32Timers::Shared() {
    static std::shared_ptr<Win32Timers> timers = std::make_shared<Win32Timers>();
    return timers;
}

Win32Timers::Win32Timers() : state_(std::make_shared<State>()) {}

Win32Timers::~Win32Timers() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->ticks.clear();
    // Only the owning thread may destroy the window. Elsewhere it stays, made
    // inert: messages still on their way must not reach a procedure of a
    // module that is being unloaded.
    if (state_->window && ::IsWindow(state_->window)) {
        ::SetWindowLongPtrA(state_->window, GWLP_USERDATA, 0);
        ::SetWindowLongPtrA(state_->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&::DefWindowProcA));
        if (state_->thread == ::GetCurrentThreadId()) {
            ::DestroyWindow(state_->window);
            ::UnregisterClassA(ClassName().c_str(), ThisModule());
        }
    }
}

TimerId Win32Timers::Start(std::uint32_t interval, std::function<void()> tick) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    HWND window = EnsureWindow(*state_);
    if (!window) return 0;
    const UINT_PTR id = state_->next++;
    state_->ticks[id] = std::move(tick);
    const bool ok = state_->thread == ::GetCurrentThreadId()
                        ? ::SetTimer(window, id, interval, nullptr) != 0
                        : ::PostMessageA(window, kStartMessage, id, static_cast<LPARAM>(interval)) != 0;
    if (!ok) {
        state_->ticks.erase(id);
        return 0;
    }
    return static_cast<TimerId>(id);
}

void Win32Timers::Stop(TimerId timer) {
    if (timer == 0) return;
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->ticks.erase(timer);
    if (!state_->window || !::IsWindow(state_->window)) return;
    if (state_->thread == ::GetCurrentThreadId())
        ::KillTimer(state_->window, timer);
    else
        ::PostMessageA(state_->window, kStopMessage, timer, 0);
}

}  // namespace platform::win32
