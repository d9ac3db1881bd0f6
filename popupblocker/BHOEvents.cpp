#include "popupblocker/BHOEvents.h"

#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "foundation/SVDebug.h"
#include "popupblocker/BHOPopups.h"

namespace popupblocker {
namespace {

void RequireArguments(IEventContext& context, std::size_t count, const char* event) {
    foundation::RaiseErrorFmtIf(context.ArgumentCount() < count, "%s needs %d arguments, got %d",
                                {std::string(event), static_cast<int>(count),
                                 static_cast<int>(context.ArgumentCount())});
}

}  // namespace

EventAction ActionOf(int dispId) {
    switch (dispId) {
    case dispid::BeforeNavigate2: return EventAction::LogAddress;
    case dispid::NewWindow2: return EventAction::NewWindow;
    case dispid::NavigateComplete2:
    case dispid::DocumentComplete: return EventAction::Nothing;
    case dispid::OnQuit: return EventAction::Quit;
    default: return EventAction::Unknown;
    }
}

EventResult HandleBrowserEvent(int dispId, IEventContext& context) {
    // Read anew for every event, so a change in the preferences counts at once.
    if (!foundation::IsToolbarVisible() || !foundation::IsBlockingPopups()) return EventResult::MemberNotFound;
    switch (ActionOf(dispId)) {
    case EventAction::LogAddress:
        if (foundation::IsDebugMode()) {
            RequireArguments(context, 2, "BeforeNavigate2");
            foundation::BugWatcher().Log(context.ArgumentText(1));
        }
        return EventResult::Handled;
    case EventAction::NewWindow: {
        RequireArguments(context, 2, "NewWindow2");
        bool cancel = false;
        DoNewWindow2(cancel);
        if (cancel) context.SetFlagArgument(1, true);
        return EventResult::Handled;
    }
    case EventAction::Nothing:
        return EventResult::Handled;
    case EventAction::Quit:
        DoOnQuit();
        context.EndConnection();
        return EventResult::Handled;
    case EventAction::Unknown:
        break;
    }
    return EventResult::MemberNotFound;
}

}  // namespace popupblocker
