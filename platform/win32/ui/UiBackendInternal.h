#pragma once
// What the peers ask of the backend that made them.
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/win32/Win32Api.h"
#include "runtime/Forms.h"

namespace platform::win32::ui {

class Peer;

// What the backend keeps for each thread, in one place so that the thread's
// end frees it in a safe order: buried peers, then live ones (which take
// their windows out of the window table), then the table itself.
struct ThreadState {
    std::unordered_map<HWND, Peer*> windowPeers;
    std::unordered_map<const rt::TControl*, std::unique_ptr<Peer>> peers;
    // Peers whose window the system destroyed while one of their messages ran
    // (freed at the next safe point).
    std::vector<std::unique_ptr<Peer>> graveyard;
    ~ThreadState();
};
// This thread's state, made on first use. The module's threads belong to
// the browser, and a module must not rely on destructors of thread storage:
// the state is freed when the thread has no peer left (ReleaseIdleThread).
ThreadState& ThisThread();
void ReleaseIdleThread();

// The backend forgets a peer whose window the system destroyed.
void ForgetPeer(Peer& peer, HWND window);
// Sizes and places a form's window: its bounds are the client area; a
// top-level form is framed by its border style and placed by its Position.
void PlaceForm(rt::TCustomForm& form, HWND window);
// Shows or hides a form's window (a top-level one is activated).
void ShowForm(rt::TCustomForm& form, HWND window, bool visible);
// Adds, updates or removes the tool-tip of the peer's window.
void SyncToolTip(Peer& peer);
// The peer's window got the keyboard focus: its form's active control follows.
void FocusArrived(Peer& peer);
// True when the modal loop already gave this key to the form.
bool KeyAlreadyRouted(HWND window, unsigned key);

// The peers of the backend's own control kinds.
std::unique_ptr<Peer> MakeStandardPeer(rt::TControl& control);
// Our window class for forms, panels and the toolbar's own controls.
bool RegisterControlClass();

}  // namespace platform::win32::ui
