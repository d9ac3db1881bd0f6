#pragma once
// TplgPopupBlocker: popups allowed or forbidden for the site of the current
// page, in the allowed-site list the popup-blocking helper reads.
#include "toolbar/plgBase.h"

namespace toolbar {

class TplgPopupBlocker : public TplgBase {
    RT_CLASS(TplgPopupBlocker)
public:
    using TplgBase::TplgBase;

    // Published operations. An address the controller cannot read raises its
    // "Please wait until the page is completely loaded" error.
    void SetPopupsEnabledForCurrentSite(bool enabled);
    void TogglePopupsForCurrentSite();
};

}  // namespace toolbar
