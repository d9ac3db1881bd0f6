#pragma once
// The helper's browser events as plain values: which events it handles and
// what one event does once the settings let it through. The arguments of
// IDispatch::Invoke are put in the event's own order by rt::MapArguments.
#include <cstddef>
#include <optional>
#include <string>

namespace popupblocker {

// Dispatch numbers of the browser's events that the helper knows.
namespace dispid {
constexpr int BeforeNavigate2 = 250;
constexpr int NewWindow2 = 251;
constexpr int NavigateComplete2 = 252;
constexpr int OnQuit = 253;
constexpr int DocumentComplete = 259;
}  // namespace dispid

enum class EventAction { LogAddress, NewWindow, Nothing, Quit, Unknown };
EventAction ActionOf(int dispId);

// One event's arguments, in the event's own order, and its connection.
class IEventContext {
public:
    virtual ~IEventContext() = default;
    virtual std::size_t ArgumentCount() = 0;
    // The argument converted to text; raises when it cannot be.
    virtual std::string ArgumentText(std::size_t index) = 0;
    // Writes true into a by-reference boolean argument; raises when it is not one.
    virtual void SetFlagArgument(std::size_t index, bool value) = 0;
    // Ends this helper's own events connection.
    virtual void EndConnection() = 0;
};

enum class EventResult { Handled, MemberNotFound };

// The settings' gate, then the event table. Raises what the handlers do not catch.
EventResult HandleBrowserEvent(int dispId, IEventContext& context);

}  // namespace popupblocker
