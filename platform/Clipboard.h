#pragma once
// Port: the system clipboard's text (CF_TEXT, 8-bit ANSI).
#include <optional>
#include <string>

namespace platform {

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // Replaces the clipboard's content with `text`; false when the clipboard
    // could not be had (another program holds it open) or refused the data.
    virtual bool SetText(const std::string& text) = 0;
    // The clipboard's text; nullopt when it holds none or cannot be opened.
    virtual std::optional<std::string> GetText() = 0;
    // The clipboard holds text now.
    virtual bool HasText() = 0;
};

}  // namespace platform
