#pragma once
// The peers of the runtime's controls, by kind.
#include <memory>

#include "platform/win32/ui/UiPeer.h"

namespace platform::win32::ui {

// Panels, tab sheets and forms: windows of our own class that hold others.
class ContainerPeer : public Peer {
public:
    using Peer::Peer;

protected:
    HWND MakeWindow(HWND parent) override;
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Paints the bevel and caption of a panel.
    virtual void Paint(HDC dc, const RECT& area);
};

std::unique_ptr<Peer> MakeFormPeer(rt::TControl& control);
std::unique_ptr<Peer> MakeListPeer(rt::TControl& control);       // combo and list boxes
std::unique_ptr<Peer> MakeTextTabPeer(rt::TControl& control);    // rich edit, page and tab controls

// The form's tool-tip window passes on the mouse messages of its controls.
void RelayToToolTip(Peer& peer, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::win32::ui
