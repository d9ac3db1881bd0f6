// The address helpers on any addresses, templates and search texts: the
// host, the domain, percent escapes, template filling, the parent addresses
// of the Up button and its menu, the search terms, and the allowed-site keys
// of the popup blocker.
//
// Input: line 1 the page address, line 2 the address template, line 3 a
// second address; the rest is the search text.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "platform/host/HostBrowser.h"
#include "platform/host/HostPlatform.h"
#include "runtime/SimpleXml.h"
#include "toolbar/plgSolvane.h"

namespace {

constexpr const char* kSettings = "c:\\Zephyra\\Solvane.ini";

struct Host {
    platform::host::HostPlatform host{zrfuzz::ProcessTempFolder()};
    platform::ScopedServices services{host.Set()};
    Host() {
        host.module->SetFileName("c:\\Zephyra\\Solvane.dll");
        host.files->CreateDirectory("c:\\Zephyra");
        foundation::SharedIniFile(kSettings);  // once: every reopen keeps the old instance alive
    }
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The placeholders filled in one pass from the left, ignoring case; the
// text a placeholder is replaced by is not looked at again.
std::string ExpectedExpansion(const std::string& urlTemplate, const std::string& url, const std::string& search) {
    const std::pair<const char*, std::string> fills[] = {{"%%URL%%", url},
                                                         {"%%DOMAIN%%", foundation::PercentEscape(foundation::HostOfUrl(url))},
                                                         {"%%SEARCH%%", foundation::PercentEscape(search)}};
    std::string out;
    for (std::size_t i = 0; i < urlTemplate.size();) {
        bool filled = false;
        for (const auto& [name, fill] : fills) {
            if (rt::SameText(urlTemplate.substr(i, std::strlen(name)), name)) {
                out += fill;
                i += std::strlen(name);
                filled = true;
                break;
            }
        }
        if (!filled) out += urlTemplate[i++];
    }
    return out;
}

// The address without "/" and blanks: a parent address read this way starts the page's.
std::string Skeleton(const std::string& url) {
    std::string out;
    for (char c : url)
        if (c != '/' && static_cast<unsigned char>(c) > ' ') out += c;
    return out;
}

void CheckParents(const std::string& url) {
    auto browser = std::make_shared<platform::host::HostBrowser>();
    browser->locationUrl = url;
    toolbar::TSolvane solvane(nullptr);
    solvane.SetIE(browser);
    rt::TStringList parents;
    const bool canGoUp = solvane.AssignUpUrls(parents);
    ZR_CHECK(canGoUp == solvane.CanGoUp(), zrfuzz::Show(url));
    ZR_CHECK(!canGoUp || parents.Count() > 0, zrfuzz::Show(url));
    for (int i = 0; i < parents.Count(); ++i) {
        const std::string& parent = parents[i];
        ZR_CHECK(!parent.empty() && parent.back() == '/', zrfuzz::Show(url));
        ZR_CHECK(i == 0 || parent.rfind(parents[i - 1], 0) == 0, zrfuzz::Show(url));
        ZR_CHECK(Skeleton(url).rfind(Skeleton(parent), 0) == 0,
                 "page " + zrfuzz::Show(url) + "\nparent " + zrfuzz::Show(parent));
    }
    // The Up menu lists exactly these addresses, each read back unchanged.
    std::string xml;
    ZR_CHECK(solvane.AssignUpUrlsAsXml(xml) == canGoUp, zrfuzz::Show(url));
    rt::TXmlDocument menu;
    menu.LoadFromString(xml);
    ZR_CHECK(menu.Root()->ChildCount() == parents.Count(), zrfuzz::Show(xml));
    for (int i = 0; i < parents.Count(); ++i) {
        const rt::TXmlElement& item = menu.Root()->Child(i);
        ZR_CHECK(item.AttributeCount() == 3 && item.Attribute("caption") == parents[i] && item.Attribute("url") == parents[i],
                 zrfuzz::Show(xml));
    }
}

void CheckSearchTerms(const std::string& text) {
    static const std::string delimiters = "\t\n\r ,.;";
    rt::TStringList terms;
    ZR_CHECK(toolbar::TSolvane::SplitSearchTerms(text, terms) == (terms.Count() > 0), zrfuzz::Show(text));
    for (int i = 0; i < terms.Count(); ++i)
        ZR_CHECK(!terms[i].empty() && terms[i].find('"') == std::string::npos, zrfuzz::Show(text));
    if (text.find('"') != std::string::npos) return;
    // Without quotes the terms are the runs between delimiters.
    rt::TStringList words;
    std::string word;
    for (char c : rt::Trim(text) + " ") {
        if (delimiters.find(c) == std::string::npos) {
            word += c;
        } else if (!word.empty()) {
            words.Add(word);
            word.clear();
        }
    }
    ZR_CHECK(terms.ToVector() == words.ToVector(), zrfuzz::Show(text));
}

// Allowing one address's site allows no other site, and disallowing it takes it back.
void CheckAllowedSites(const std::string& first, const std::string& second) {
    static Host host;
    host.host.files->DeleteFile(kSettings);
    foundation::AllowPopupsForDomain(first);
    const std::string detail = zrfuzz::Show(first) + "\n" + zrfuzz::Show(second);
    if (foundation::IsPopupAllowedForDomain(second))
        ZR_CHECK(rt::SameText(foundation::DomainOfUrl(first), foundation::DomainOfUrl(second)), detail);
    // A plain host name is always a key of its own.
    const std::string domain = foundation::DomainOfUrl(first);
    const bool plain = !domain.empty() && domain.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") == std::string::npos;
    if (plain) ZR_CHECK(foundation::IsPopupAllowedForDomain(first), detail);
    foundation::DisallowPopupsForDomain(first);
    ZR_CHECK(!foundation::IsPopupAllowedForDomain(first), detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zrfuzz::Lines input = zrfuzz::SplitLines(data, size, 3);
    const std::string &url = input.head[0], &urlTemplate = input.head[1], &second = input.head[2];
    const std::string& search = input.rest;

    const std::string host = foundation::HostOfUrl(url);
    ZR_CHECK(url.find(host) != std::string::npos, zrfuzz::Show(url));
    // The domain is the address itself or two parts of its host.
    ZR_CHECK(foundation::DomainOfUrl(url).size() <= url.size(), zrfuzz::Show(url));

    // Escapes: only letters, digits, space, "-._" and %XX, and they undo exactly.
    const std::string escaped = foundation::PercentEscape(search);
    std::string unescaped;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c != '%') {
            ZR_CHECK(std::isalnum(static_cast<unsigned char>(c)) || std::strchr(" -._", c), zrfuzz::Show(escaped));
            unescaped += c;
            continue;
        }
        ZR_CHECK(i + 2 < escaped.size() && HexValue(escaped[i + 1]) >= 0 && HexValue(escaped[i + 2]) >= 0,
                 zrfuzz::Show(escaped));
        unescaped += static_cast<char>(HexValue(escaped[i + 1]) * 16 + HexValue(escaped[i + 2]));
        i += 2;
    }
    ZR_CHECK(unescaped == search, zrfuzz::Show(search));

    const std::string expanded = foundation::ExpandUrlTemplate(urlTemplate, url, search);
    ZR_CHECK(expanded == ExpectedExpansion(urlTemplate, url, search),
             zrfuzz::Show(urlTemplate) + "\n" + zrfuzz::Show(expanded));

    CheckParents(url);
    CheckSearchTerms(search);
    CheckAllowedSites(url, second);
    return 0;
}
