#pragma once
// The debug switch: the marker file's existence at the module's first check.
#include <string>

namespace foundation {

inline constexpr const char* DebugMarkerFile = "c:\\debugzph.ini";

bool IsDebugMode();
// An information box "SV:" + text, in debug mode only.
void DebugMessage(const std::string& text);
// Forgets the cached answer (module unload; tests).
void ResetDebugMode();

}  // namespace foundation
