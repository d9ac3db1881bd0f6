#pragma once
// What the updater decides, apart from Windows: version texts compared as
// four numbers, and an offer read from the feed's text.
#include <array>
#include <optional>
#include <string>

namespace renova {

using Version = std::array<unsigned, 4>;

// "1.2.3.4" (fewer parts count as zeros; spaces around are ignored); none
// for anything else, or a part beyond 65535 (a file version's range).
std::optional<Version> ParseVersion(const std::string& text);

struct Offer {
    Version version{};
    std::string installer;  // an address, or a file name beside the feed
};

// The feed is a small INI text: section "Offer", keys "version" and
// "installer". None when either is missing or the version is no version.
std::optional<Offer> ParseFeed(const std::string& text);

// The installer's address: as given when it is an address, else beside the feed.
std::string InstallerAddress(const std::string& feedAddress, const std::string& installer);

}  // namespace renova
