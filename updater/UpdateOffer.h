#pragma once
// What the updater decides, apart from Windows: version texts compared as
// four numbers, an offer read from the feed's text, where an offer may send
// the updater for its installer, and whether the vendor signed the offer.
#include <array>
#include <optional>
#include <string>

#include "updater/RsaSignature.h"

namespace updater {

using Version = std::array<unsigned, 4>;

// "1.2.3.4" (fewer parts count as zeros; spaces around are ignored); none
// for anything else, or a part beyond 65535 (a file version's range).
std::optional<Version> ParseVersion(const std::string& text);
std::string VersionText(const Version& version);

struct Offer {
    Version version{};
    std::string versionText;  // as the feed wrote it: the signature covers it so
    std::string installer;    // a file name beside the feed, or an address
    std::string sha256;       // the installer's SHA-256, lower-case hexadecimal
    Bytes signature;          // the vendor's signature of SignedText(); empty when none
};

// The feed is a small INI text: section "Offer", keys "version", "installer",
// "sha256" (64 hexadecimal digits) and "signature" (hexadecimal). None when
// the version or installer is missing or the version is no version; a
// missing or malformed digest or signature is left empty for the check to refuse.
std::optional<Offer> ParseFeed(const std::string& text);

// The text the vendor signs for an offer: every value the updater acts on.
std::string SignedText(const Offer& offer);
// True when the offer carries a digest and the key's signature over SignedText.
bool IsSignedBy(const Offer& offer, const RsaPublicKey& key);

// Feeds are read over https only, or from a local folder (file://) that the
// installation's own settings name, for mirrors and tests.
bool IsAllowedFeedAddress(const std::string& address);

// A name the installer may be saved under: letters, digits, ".", "_" and "-",
// starting with a letter or digit (so never "." or ".."), ending in ".exe",
// at most 100 characters.
bool IsAllowedInstallerName(const std::string& name);

struct InstallerSource {
    std::string address;  // where to fetch it
    std::string name;     // the file name to save it under
};
// Where the offer's installer comes from: a plain name lies beside the feed;
// an address must have the feed's scheme and host and end in an allowed name.
// None for anything else (another host, http, a query, escapes, "..").
std::optional<InstallerSource> InstallerSourceFor(const std::string& feedAddress, const std::string& installer);

}  // namespace updater
