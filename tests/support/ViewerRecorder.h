#pragma once
// A stand-in for the debug viewer: a window of the viewer's class that, on
// every notification, reads the line buffer as the real viewer does.
#include <ostream>
#include <string>
#include <vector>

#include "foundation/EIDebugger.h"
#include "platform/Services.h"
#include "platform/host/HostPlatform.h"

class ViewerRecorder {
public:
    struct Received {
        unsigned message;
        std::uintptr_t wParam;
        std::string line;
        bool operator==(const Received&) const = default;
        friend void PrintTo(const Received& r, std::ostream* os) {
            *os << "{" << r.message << ", " << r.wParam << ", \"" << r.line << "\"}";
        }
    };

    explicit ViewerRecorder(platform::host::HostWindows& windows) : windows_(windows) {
        window_ = windows.AddWindow(foundation::ViewerWindowClass, "", [this](unsigned m, std::uintptr_t w, std::intptr_t) {
            received.push_back({m, w,
                                platform::Profiles().ReadString(foundation::LineBufferFile, foundation::LineBufferSection,
                                                                foundation::LineBufferKey, "")});
            return std::intptr_t{7};
        });
    }
    ~ViewerRecorder() { windows_.RemoveWindow(window_); }

    // The lines that arrived with a given notification.
    std::vector<std::string> Lines(unsigned message) const {
        std::vector<std::string> lines;
        for (const auto& r : received)
            if (r.message == message) lines.push_back(r.line);
        return lines;
    }

    std::vector<Received> received;

private:
    platform::host::HostWindows& windows_;
    platform::WindowHandle window_ = 0;
};
