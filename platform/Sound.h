#pragma once
// Port: playing the running module's wave resources.
#include <string>

namespace platform {

class ISound {
public:
    virtual ~ISound() = default;
    // PlaySound of the module's resource `name` (type "WAVE"); returns when
    // the sound has ended. False when nothing could be played.
    virtual bool PlayModuleWave(const std::string& name) = 0;
};

}  // namespace platform
