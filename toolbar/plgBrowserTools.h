#pragma once
// TplgBrowserTools: the toolbar's browser tools. Pictures off and on, the
// page source, the home page, highlighted links, the window's size and
// closing every browser window.
#include <string>

#include "toolbar/plgBase.h"

namespace toolbar {

class TplgBrowserTools : public TplgBase {
    RT_CLASS_SAME_PROPS(TplgBrowserTools, TplgBase)
public:
    using TplgBase::TplgBase;

    // Switches pictures, videos and animations of every browser window of the
    // user and reloads the page; true when pictures are now shown.
    bool ToggleImages();
    bool ImagesShown();
    // The page's sources (the top document, then each frame) in the viewer.
    void ViewSource();
    // Asks first; No ends silently.
    void SetCurrentPageAsHomePage();
    // Gives every link a yellow background, or takes it away again.
    void HighlightLinks();
    // Out of the maximised state, then at the screen's top-left corner.
    void ResizeBrowserWindow(int width, int height);
    // Asks first, then leaves the closing to the window closer program.
    void CloseAllBrowserWindows();

    // The script HighlightLinks runs.
    static const char* const LinksScript;
};

}  // namespace toolbar
