// The offer: parsing any text, where its installer may come from, and the
// signature made by the release script over what the updater acts on.
#include "updater/UpdateOffer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "OpenSslKey.h"
#include "updater/VendorKey.h"

using updater::InstallerSourceFor;
using updater::ParseFeed;
using updater::ParseVersion;
using updater::Version;

TEST(UpdateOffer, VersionsAreFourNumbersAndOffersNeedAVersionAndAnInstaller) {
    EXPECT_EQ(ParseVersion(" 1.2.3.4 "), (Version{1, 2, 3, 4}));
    EXPECT_EQ(ParseVersion("2.1"), (Version{2, 1, 0, 0}));
    for (const char* bad : {"", "1..2", "1.2.3.4.5", "1.65536", "v1.0", "1.0-beta", ".1", "1.", "99999999999"})
        EXPECT_FALSE(ParseVersion(bad)) << bad;
    EXPECT_GT(*ParseVersion("1.10"), *ParseVersion("1.9.9")) << "numbers, not text";

    const auto offer = ParseFeed(
        "; ours\r\n[Other]\r\nversion=9.9\r\n[ Offer ]\r\nVersion = 1.2\r\ninstaller=Setup.exe\r\n"
        "SHA256=" + std::string(64, 'A') + "\r\nsignature=00ff\r\n");
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->version, (Version{1, 2, 0, 0}));
    EXPECT_EQ(offer->versionText, "1.2");
    EXPECT_EQ(offer->installer, "Setup.exe");
    EXPECT_EQ(offer->sha256, std::string(64, 'a'));
    EXPECT_EQ(offer->signature, (updater::Bytes{0x00, 0xFF}));
    EXPECT_FALSE(ParseFeed("[Offer]\nversion=1.2\n"));
    EXPECT_FALSE(ParseFeed("[Offer]\ninstaller=x.exe\nversion=soon\n"));
    EXPECT_FALSE(ParseFeed(std::string("\0\xff[Offer", 8)));
    // A malformed digest or signature is kept as none, for the check to refuse.
    const auto garbled = ParseFeed("[Offer]\nversion=2\ninstaller=x.exe\nsha256=abc\nsignature=xyz\n");
    ASSERT_TRUE(garbled);
    EXPECT_TRUE(garbled->sha256.empty());
    EXPECT_TRUE(garbled->signature.empty());
}

TEST(UpdateOffer, FeedsComeOverHttpsOrFromALocalFolderOnly) {
    for (const char* good : {"https://www.zephyratoolbar.com/update/renova.ini", "HTTPS://Host:8443/a/b.ini",
                             "file:///C:/mirror/offer.ini"})
        EXPECT_TRUE(updater::IsAllowedFeedAddress(good)) << good;
    for (const char* bad : {"http://www.zephyratoolbar.com/update/renova.ini", "ftp://host/offer.ini", "https:///x.ini",
                            "https://host", "https://user@evil/x.ini", "https://host/a/../b.ini",
                            "https://host/a%2f..%2fb.ini", "https://host/x.ini?y", "https://ho st/x.ini",
                            "\\\\server\\share\\offer.ini", "C:\\offer.ini", ""})
        EXPECT_FALSE(updater::IsAllowedFeedAddress(bad)) << bad;
}

TEST(UpdateOffer, TheInstallerComesFromTheFeedsHostUnderAPlainProgramName) {
    const std::string feed = "https://dl.zephyratoolbar.com/update/renova.ini";
    auto source = InstallerSourceFor(feed, "ZephyraSetup-9.0_1.exe");
    ASSERT_TRUE(source);
    EXPECT_EQ(source->address, "https://dl.zephyratoolbar.com/update/ZephyraSetup-9.0_1.exe");
    EXPECT_EQ(source->name, "ZephyraSetup-9.0_1.exe");
    source = InstallerSourceFor(feed, "https://DL.zephyratoolbar.com/files/Setup.EXE");
    ASSERT_TRUE(source);
    EXPECT_EQ(source->name, "Setup.EXE");
    source = InstallerSourceFor("file:///C:/feed/offer.ini", "Setup.exe");
    ASSERT_TRUE(source);
    EXPECT_EQ(source->address, "file:///C:/feed/Setup.exe");

    for (const char* bad : {"update.bat", "Setup.exe.bat", "..", ".", "..exe", "a/../Setup.exe", "..\\Setup.exe",
                            "C:\\Windows\\Setup.exe", "Set up.exe", "Setup.exe:stream", "Setup%2eexe", ".exe",
                            "http://dl.zephyratoolbar.com/update/Setup.exe", "https://evil.example/Setup.exe",
                            "https://dl.zephyratoolbar.com.evil.example/Setup.exe",
                            "https://dl.zephyratoolbar.com/update/..", "https://dl.zephyratoolbar.com/Setup.exe?x=1",
                            "file:///C:/Windows/Setup.exe", "https://dl.zephyratoolbar.com/"})
        EXPECT_FALSE(InstallerSourceFor(feed, bad)) << bad;
    EXPECT_FALSE(InstallerSourceFor(feed, std::string(97, 'a') + ".exe"));
    EXPECT_TRUE(InstallerSourceFor(feed, std::string(96, 'a') + ".exe"));
    EXPECT_FALSE(InstallerSourceFor("file:///C:/feed/offer.ini", "file://server/share/Setup.exe"));
    EXPECT_FALSE(InstallerSourceFor("http://dl.zephyratoolbar.com/update/renova.ini", "Setup.exe"));
}

TEST(UpdateOffer, TheReleaseScriptsSignatureCoversEveryValueTheUpdaterActsOn) {
    zrtest::OpenSslKey vendor, stranger;
    ASSERT_FALSE(vendor.key.modulus.empty()) << "openssl is needed for this test";
    const std::string installer = vendor.Folder() + "/ZephyraSetup.exe";
    std::ofstream(installer, std::ios::binary) << std::string("MZ installer bytes\0\x01", 20);
    const std::string script = std::string(ZR_SOURCE_DIR) + "/tools/sign-update-offer.sh";
    const std::string text = zrtest::Run(script + " '" + vendor.Pem() + "' '" + installer + "' 2.0.1");
    const auto offer = ParseFeed(text);
    ASSERT_TRUE(offer) << text;
    EXPECT_EQ(offer->installer, "ZephyraSetup.exe");
    EXPECT_EQ(offer->sha256, zrtest::Run("sha256sum '" + installer + "'").substr(0, 64));
    EXPECT_TRUE(updater::IsSignedBy(*offer, vendor.key));
    EXPECT_FALSE(updater::IsSignedBy(*offer, stranger.key));

    auto changed = *offer;
    changed.versionText = "2.0.10";
    EXPECT_FALSE(updater::IsSignedBy(changed, vendor.key));
    changed = *offer;
    changed.installer = "Other.exe";
    EXPECT_FALSE(updater::IsSignedBy(changed, vendor.key));
    changed = *offer;
    changed.sha256[0] = changed.sha256[0] == '0' ? '1' : '0';
    EXPECT_FALSE(updater::IsSignedBy(changed, vendor.key));
    changed = *offer;
    changed.signature.clear();
    EXPECT_FALSE(updater::IsSignedBy(changed, vendor.key));
    changed = *offer;
    changed.sha256.clear();
    EXPECT_FALSE(updater::IsSignedBy(changed, vendor.key));

    // The built-in key is a real one of its size, and this test key is not it.
    const updater::RsaPublicKey builtIn{*updater::BytesFromHex(updater::VendorUpdateKeyModulus),
                                        updater::VendorUpdateKeyExponent};
    EXPECT_EQ(builtIn.modulus.size(), 384u);
    EXPECT_FALSE(updater::IsSignedBy(*offer, builtIn));
}
