#include "toolbar/plgPopupBlocker.h"

#include "foundation/SVCommon.h"

namespace toolbar {

// The runtime keeps no table of published methods apart from the property
// list, so the two operations are listed there by name, as events are.
const rt::TPropList& TplgPopupBlocker::ClassProperties() {
    static const rt::TPropList list(
        TplgBase::ClassProperties(),
        {
            rt::props::Method("SetPopupsEnabledForCurrentSite", "procedure(Enabled: Boolean) of object"),
            rt::props::Method("TogglePopupsForCurrentSite", "procedure of object"),
        });
    return list;
}

void TplgPopupBlocker::SetPopupsEnabledForCurrentSite(bool enabled) {
    const std::string url = Controller()->CurrentPageUrl();
    if (enabled) foundation::AllowPopupsForDomain(url);
    else foundation::DisallowPopupsForDomain(url);
}

void TplgPopupBlocker::TogglePopupsForCurrentSite() {
    const std::string url = Controller()->CurrentPageUrl();
    SetPopupsEnabledForCurrentSite(!foundation::IsPopupAllowedForDomain(url));
}

}  // namespace toolbar
