// The updater's feed on any bytes: the offer it reads, where that offer may
// send it for an installer, and the signature check, which must never take
// an offer that the trusted key did not sign.
//
// Input: line 1 the feed's address; the rest is the feed's text.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "updater/UpdateOffer.h"
#include "updater/VendorKey.h"

namespace {

bool InstallerNameIsPlain(const std::string& name) {
    if (!updater::IsAllowedInstallerName(name)) return false;
    return name.find_first_of("/\\:%?*\"<>|") == std::string::npos && name != "." && name != "..";
}

std::string SchemeOf(const std::string& address) {
    std::string scheme = address.substr(0, address.find("://"));
    for (char& c : scheme) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return scheme;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string feed = input.substr(0, newline);
    const std::string text = newline == std::string::npos ? std::string() : input.substr(newline + 1);

    const auto offer = updater::ParseFeed(text);
    if (!offer) return 0;
    ZR_CHECK(!offer->installer.empty(), zrfuzz::Show(text));
    ZR_CHECK(offer->sha256.empty() || offer->sha256.size() == 64, zrfuzz::Show(text));
    ZR_CHECK(updater::ParseVersion(offer->versionText) == offer->version, zrfuzz::Show(text));

    // No bytes of a feed pass for the vendor's signature.
    const updater::RsaPublicKey vendor{*updater::BytesFromHex(updater::VendorUpdateKeyModulus),
                                       updater::VendorUpdateKeyExponent};
    ZR_CHECK(!updater::IsSignedBy(*offer, vendor), zrfuzz::Show(text));

    if (const auto source = updater::InstallerSourceFor(feed, offer->installer)) {
        ZR_CHECK(updater::IsAllowedFeedAddress(feed), zrfuzz::Show(feed));
        ZR_CHECK(InstallerNameIsPlain(source->name), zrfuzz::Show(source->name));
        ZR_CHECK(updater::IsAllowedFeedAddress(source->address), zrfuzz::Show(source->address));
        // The installer is fetched over the feed's own scheme.
        ZR_CHECK(SchemeOf(source->address) == SchemeOf(feed), zrfuzz::Show(source->address));
    }
    return 0;
}
