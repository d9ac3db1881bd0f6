#include "updater/UpdateOffer.h"

#include <cctype>

namespace updater {
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

bool IsHexDigest(const std::string& text) {
    if (text.size() != 64) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

struct Address {
    std::string scheme;  // lower case, without "://"
    std::string host;    // lower case, with any port; empty for a local file
    std::string path;    // from the "/" after the host on
};

// "scheme://host/path" of the two schemes an updater may read; none for
// anything else or for characters that could hide another path.
std::optional<Address> ParseAddress(const std::string& text) {
    if (text.empty() || text.size() > 2048) return std::nullopt;
    for (unsigned char c : text)
        if (c <= 0x20 || c >= 0x7F || c == '\\' || c == '%' || c == '?' || c == '#' || c == '@') return std::nullopt;
    const std::size_t colon = text.find("://");
    if (colon == std::string::npos) return std::nullopt;
    Address address;
    address.scheme = Lower(text.substr(0, colon));
    if (address.scheme != "https" && address.scheme != "file") return std::nullopt;
    const std::size_t hostStart = colon + 3;
    const std::size_t slash = text.find('/', hostStart);
    if (slash == std::string::npos) return std::nullopt;
    address.host = Lower(text.substr(hostStart, slash - hostStart));
    address.path = text.substr(slash);
    if (address.scheme == "https" && address.host.empty()) return std::nullopt;
    // Folders named "." or ".." would let a path leave the feed's folder.
    std::size_t start = 1;
    while (start <= address.path.size()) {
        std::size_t end = address.path.find('/', start);
        if (end == std::string::npos) end = address.path.size();
        const std::string segment = address.path.substr(start, end - start);
        if (segment == "." || segment == "..") return std::nullopt;
        start = end + 1;
    }
    return address;
}

std::string LastSegment(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

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

std::string VersionText(const Version& v) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);
}

std::optional<Offer> ParseFeed(const std::string& text) {
    std::string section, version, installer, sha256, signature;
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
        else if (key == "sha256") sha256 = value;
        else if (key == "signature") signature = value;
    }
    const auto parsed = ParseVersion(version);
    if (!parsed || installer.empty()) return std::nullopt;
    Offer offer{*parsed, version, installer, "", {}};
    if (IsHexDigest(sha256)) offer.sha256 = Lower(sha256);
    if (auto bytes = BytesFromHex(signature)) offer.signature = std::move(*bytes);
    return offer;
}

std::string SignedText(const Offer& offer) {
    return "Zephyra update offer\nversion=" + offer.versionText + "\ninstaller=" + offer.installer +
           "\nsha256=" + offer.sha256 + "\n";
}

bool IsSignedBy(const Offer& offer, const RsaPublicKey& key) {
    return !offer.sha256.empty() && !offer.signature.empty() &&
           VerifySha256Signature(key, SignedText(offer), offer.signature);
}

bool IsAllowedFeedAddress(const std::string& address) { return ParseAddress(address).has_value(); }

bool IsAllowedInstallerName(const std::string& name) {
    if (name.size() <= 4 || name.size() > 100 || !std::isalnum(static_cast<unsigned char>(name[0]))) return false;
    for (unsigned char c : name)
        if (!std::isalnum(c) && c != '.' && c != '_' && c != '-') return false;
    return Lower(name.substr(name.size() - 4)) == ".exe";
}

std::optional<InstallerSource> InstallerSourceFor(const std::string& feedAddress, const std::string& installer) {
    const auto feed = ParseAddress(feedAddress);
    if (!feed) return std::nullopt;
    if (installer.find("://") == std::string::npos) {
        if (!IsAllowedInstallerName(installer)) return std::nullopt;
        return InstallerSource{feedAddress.substr(0, feedAddress.find_last_of('/') + 1) + installer, installer};
    }
    const auto address = ParseAddress(installer);
    if (!address || address->scheme != feed->scheme || address->host != feed->host) return std::nullopt;
    const std::string name = LastSegment(address->path);
    if (!IsAllowedInstallerName(name)) return std::nullopt;
    return InstallerSource{installer, name};
}

}  // namespace updater
