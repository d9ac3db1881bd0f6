#pragma once
// The browser window the demo plays: a frame window, and behind it a small
// browser of the automation interfaces that keeps the addresses it was sent
// to, shows them, and reports each page as loaded through its events, as a
// browser does, a moment after the navigation.
#include <functional>
#include <string>
#include <vector>

#include "FakeBrowser.h"

namespace zrdemo {

class DemoBrowser : public zrtest::FakeBrowser {
public:
    // A page of two frames, each a document of its own.
    DemoBrowser();

    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post,
                                       VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* post,
                                        VARIANT* headers) override;

    // The frame window that shows the page; the browser tells it of every navigation.
    void SetFrame(HWND frame) {
        frame_ = frame;
        hwnd = reinterpret_cast<SHANDLE_PTR>(frame);
    }
    // Fires DocumentComplete for the current address (the frame's posted message).
    void CompleteDocument();

private:
    void Arrived();
    HWND frame_ = nullptr;
};

// The frame: a top-level window with the toolbar along its top and the
// page's address and the list of navigations below.
HWND CreateFrame(DemoBrowser& browser);
// The band's window area at the top of the frame; the frame sizes the child in it.
void SetBandWindow(HWND frame, HWND band, int height);
// Runs when the frame is asked to close, before it and its children go.
void SetOnClose(HWND frame, std::function<void()> onClose);

}  // namespace zrdemo
