#pragma once
// Ports of the system's state: clock and date, user, environment.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct LocalTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    // GetTickCount: milliseconds since start, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
    virtual LocalTime Now() = 0;
    // The user's short date format in the runtime's notation ("M/d/yyyy")
    // and its date separator.
    virtual std::string ShortDateFormat() = 0;
    virtual char DateSeparator() = 0;
    // Sleep for the given milliseconds (the host stand-in advances its clock).
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

class IUser {
public:
    virtual ~IUser() = default;
    // GetUserName; nullopt when the system cannot say.
    virtual std::optional<std::string> UserName() = 0;
};

class IEnvironment {
public:
    virtual ~IEnvironment() = default;
    // ExpandEnvironmentStrings: every %NAME% of a known variable replaced by its
    // value; unknown references stay as they are.
    virtual std::string Expand(const std::string& text) = 0;
};

}  // namespace platform
