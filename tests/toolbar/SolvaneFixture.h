#pragma once
// A controller sited on a simulated browser showing a page, with the search
// box's text under the test's control.
#include <memory>
#include <string>
#include <vector>

#include "HostPlatformTest.h"
#include "platform/host/HostBrowser.h"
#include "toolbar/plgSolvane.h"

class SolvaneTest : public HostPlatformTest {
protected:
    using HostBrowser = platform::host::HostBrowser;
    using HostDocument = platform::host::HostDocument;

    SolvaneTest() : HostPlatformTest(RegistryUse::StandIn) {
        browser->Show("http://www.example.com/a/b/page.html", "Example page", platform::host::HostDocumentWith("<p>top</p>"));
        solvane.SetIE(browser);
        solvane.OnGetSearchText = [this] { return searchText; };
    }

    std::vector<std::string> NavigatedUrls() const {
        std::vector<std::string> urls;
        for (const auto& n : browser->navigations) urls.push_back(n.url);
        return urls;
    }
    std::string LastUrl() const { return browser->navigations.empty() ? "" : browser->navigations.back().url; }

    std::shared_ptr<HostBrowser> browser = std::make_shared<HostBrowser>();
    toolbar::TSolvane solvane{nullptr};
    std::string searchText;
};

// A browser showing `source` as a complete page, to embed as a frame.
inline std::shared_ptr<platform::host::HostBrowser> MakeFrame(const std::string& url, const std::string& source) {
    auto frame = std::make_shared<platform::host::HostBrowser>();
    frame->Show(url, url, platform::host::HostDocumentWith(source));
    return frame;
}

// The UTF-16 text a page's script sees for a double-quoted string literal
// starting at `from` (just after the opening quote); `end` receives the index
// of the closing quote. Knows the escapes the controller writes.
inline std::u16string ReadScriptString16(const std::string& script, std::size_t from, std::size_t& end) {
    std::u16string text;
    for (std::size_t i = from; i < script.size(); ++i) {
        char c = script[i];
        if (c == '"') {
            end = i;
            return text;
        }
        if (c != '\\') {
            text += static_cast<char16_t>(static_cast<unsigned char>(c));
            continue;
        }
        char e = script[++i];
        switch (e) {
            case 'n': text += '\n'; break;
            case 'r': text += '\r'; break;
            case 't': text += '\t'; break;
            case 'x': text += static_cast<char16_t>(std::stoi(script.substr(i + 1, 2), nullptr, 16)); i += 2; break;
            case 'u': text += static_cast<char16_t>(std::stoi(script.substr(i + 1, 4), nullptr, 16)); i += 4; break;
            default: text += static_cast<char16_t>(static_cast<unsigned char>(e));
        }
    }
    end = std::string::npos;
    return text;
}

// The same for a literal of single-byte characters (U+0000..U+00FF).
inline std::string ReadScriptString(const std::string& script, std::size_t from, std::size_t& end) {
    std::string text;
    for (char16_t unit : ReadScriptString16(script, from, end)) text += static_cast<char>(unit);
    return text;
}
