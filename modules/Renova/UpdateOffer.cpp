#include "UpdateOffer.h"

#include <cctype>

namespace renova {
namespace {

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::optional<Version> ParseVersion(const std::string& text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) return std::nullopt;
    Version version{};
    std::size_t part = 0, digits = 0;
    unsigned long value = 0;
    for (char c : trimmed) {
        if (c == '.') {
            if (digits == 0 || ++part >= version.size()) return std::nullopt;
            digits = 0;
            value = 0;
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - '0');
        if (++digits > 5 || value > 65535) return std::nullopt;
        version[part] = static_cast<unsigned>(value);
    }
    if (digits == 0) return std::nullopt;
    return version;
}

std::optional<Offer> ParseFeed(const std::string& text) {
    std::string section, version, installer;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = Lower(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (section != "offer" || equals == std::string::npos) continue;
        const std::string key = Lower(Trim(line.substr(0, equals)));
        const std::string value = Trim(line.substr(equals + 1));
        if (key == "version") version = value;
        else if (key == "installer") installer = value;
    }
    const auto parsed = ParseVersion(version);
    if (!parsed || installer.empty()) return std::nullopt;
    return Offer{*parsed, installer};
}

std::string InstallerAddress(const std::string& feedAddress, const std::string& installer) {
    if (installer.find("://") != std::string::npos) return installer;
    const std::size_t slash = feedAddress.find_last_of("/\\");
    return slash == std::string::npos ? installer : feedAddress.substr(0, slash + 1) + installer;
}

}  // namespace renova
