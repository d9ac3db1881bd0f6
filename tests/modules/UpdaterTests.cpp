// Renova.exe, the updater, as the toolbar starts it on its schedule ("/S"):
// the build of it that trusts the tests' own key, offers signed in the test,
// its feed in one folder and itself in another. The offered installer is the
// recorder, which notes its arguments beside itself when it runs.
#include <gtest/gtest.h>

#include <string>

#include "TestUpdateKeys.h"
#include "updater/UpdateOffer.h"
#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

namespace {

struct TestKey {
    const char* modulus;
    const char* privateExponent;
};
constexpr TestKey kTrusted{zrtest::TestUpdateKeyModulus, zrtest::TestUpdateKeyPrivateExponent};
constexpr TestKey kStranger{zrtest::OtherUpdateKeyModulus, zrtest::OtherUpdateKeyPrivateExponent};

// The signature the holder of `key` makes over the offer (RSA with SHA-256).
std::string SignatureHex(const updater::Offer& offer, const TestKey& key) {
    const updater::Bytes n = *updater::BytesFromHex(key.modulus);
    const updater::Bytes block = updater::Pkcs1Sha256Block(updater::Sha256Of(updater::SignedText(offer)), n.size());
    const auto signature = updater::ModPow(block, *updater::BytesFromHex(key.privateExponent), n);
    return updater::HexText(signature->data(), signature->size());
}

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_RENOVA_TEST_KEY_EXE), folder / "Renova.exe"));
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_RECORDER_EXE), feed / "ZephyraSetup.exe"));
        UseFeed(FeedAddress());
        char temp[MAX_PATH + 1] = {};
        ::GetTempPathA(MAX_PATH, temp);
        work = std::string(temp) + "ZephyraUpdate\\";
        for (const char* left : {"Notelle.log", "ZephyraSetup.exe", "update.bat"}) ::DeleteFileA((work + left).c_str());
    }

    std::string FeedAddress() {
        std::string url = "file:///" + (feed / "offer.ini");
        for (char& c : url)
            if (c == '\\') c = '/';
        return url;
    }
    void UseFeed(const std::string& address) {
        zrtest::WriteBytes(folder / "Renova.ini",
                           "[ProductInfo]\r\nversion=1.0.0.0\r\n[Update]\r\nFeed=" + address + "\r\n");
    }
    // An offer of version 2.0 of `installer`, with the digest of the recorder
    // as it lies beside the feed, signed by `key` (unsigned without one).
    void Offer(const std::string& installer, const TestKey* key = &kTrusted, const std::string& version = "2.0") {
        updater::Offer offer;
        offer.versionText = version;
        offer.installer = installer;
        const updater::Digest digest = updater::Sha256Of(zrtest::ReadBytes(feed / "ZephyraSetup.exe"));
        offer.sha256 = updater::HexText(digest.data(), digest.size());
        std::string text = "[Offer]\r\nversion=" + version + "\r\ninstaller=" + installer + "\r\nsha256=" + offer.sha256 + "\r\n";
        if (key) text += "signature=" + SignatureHex(offer, *key) + "\r\n";
        zrtest::WriteBytes(feed / "offer.ini", text);
    }
    int Renova() { return zrtest::ChildProcess(folder / "Renova.exe", "/S").Wait(); }
    // The recorder's line when it ran; empty when nothing started.
    std::string Started(int waitMs = 3000) {
        const std::string log = work + "Notelle.log";
        for (int i = 0; i < waitMs / 50 && ::GetFileAttributesA(log.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(50);
        if (::GetFileAttributesA(log.c_str()) == INVALID_FILE_ATTRIBUTES) return "";
        std::string line = zrtest::ReadBytes(log);
        line.erase(line.find_last_not_of("\r\n") + 1);
        return line;
    }
    std::string Result() {
        char value[256] = {};
        ::GetPrivateProfileStringA("Update", "LastResult", "", value, sizeof value, (folder / "Renova.ini").c_str());
        return value;
    }
    bool Downloaded(const std::string& name) {
        return ::GetFileAttributesA((work + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    zrtest::TempDir folder, feed;
    std::string work;
};

}  // namespace

TEST_F(UpdaterTest, ASignedNewerOfferIsFetchedCheckedAndStartedSilently) {
    Offer("ZephyraSetup.exe");
    EXPECT_EQ(Renova(), 1);
    EXPECT_EQ(Started(), "/S");
    EXPECT_EQ(Result(), "The installer of Zephyra 2.0.0.0 was started.");
    char day[16] = {};
    ::GetPrivateProfileStringA("Update", "LastCheck", "", day, sizeof day, (folder / "Renova.ini").c_str());
    EXPECT_EQ(std::string(day).size(), 10u);
}

TEST_F(UpdaterTest, TheSameOrAnOlderOfferStartsNothing) {
    for (const char* version : {"1.0.0.0", "0.9.9.9", "1.0"}) {
        Offer("ZephyraSetup.exe", &kTrusted, version);
        EXPECT_EQ(Renova(), 0) << version;
        EXPECT_EQ(Result(), "Zephyra 1.0.0.0 is up to date.");
    }
    EXPECT_EQ(Started(300), "");
}

TEST_F(UpdaterTest, AnOfferNotSignedByTheTrustedKeyIsRefusedBeforeAnyDownload) {
    const std::string refused = "The update information of Zephyra 2.0.0.0 is not signed by the vendor; nothing was installed.";
    for (const TestKey* key : {static_cast<const TestKey*>(nullptr), &kStranger}) {
        Offer("ZephyraSetup.exe", key);
        EXPECT_EQ(Renova(), 2);
        EXPECT_EQ(Result(), refused);
        EXPECT_FALSE(Downloaded("ZephyraSetup.exe"));
    }
    // A signed offer whose version was raised afterwards.
    Offer("ZephyraSetup.exe");
    std::string text = zrtest::ReadBytes(feed / "offer.ini");
    text.replace(text.find("version=2.0"), 11, "version=2.1");
    zrtest::WriteBytes(feed / "offer.ini", text);
    EXPECT_EQ(Renova(), 2);
    EXPECT_EQ(Result(), "The update information of Zephyra 2.1.0.0 is not signed by the vendor; nothing was installed.");
    EXPECT_EQ(Started(300), "");

    // The shipped updater trusts the vendor's key only, not the tests'.
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_RENOVA_EXE), folder / "Renova.exe"));
    Offer("ZephyraSetup.exe");
    EXPECT_EQ(Renova(), 2);
    EXPECT_EQ(Result(), refused);
    EXPECT_EQ(Started(300), "");
}

TEST_F(UpdaterTest, AnInstallerChangedAfterSigningIsDeletedAndNeverStarted) {
    Offer("ZephyraSetup.exe");
    std::string bytes = zrtest::ReadBytes(feed / "ZephyraSetup.exe");
    bytes[bytes.size() / 2] ^= 0x01;  // one byte, after the signature was made
    zrtest::WriteBytes(feed / "ZephyraSetup.exe", bytes);
    EXPECT_EQ(Renova(), 2);
    EXPECT_EQ(Result(), "The installer of Zephyra 2.0.0.0 is not the one the vendor signed; it was deleted.");
    EXPECT_FALSE(Downloaded("ZephyraSetup.exe"));
    EXPECT_EQ(Started(300), "");
}

TEST_F(UpdaterTest, SignedOffersOfScriptsPathsOrOtherPlacesStartNothing) {
    ASSERT_TRUE(zrtest::CopyInto(feed / "ZephyraSetup.exe", feed / "update.bat"));
    const std::string refusal = "The offer of Zephyra 2.0.0.0 names an installer that is not allowed; nothing was installed.";
    for (const std::string installer : {"update.bat", "..", ".", "..\\ZephyraSetup.exe", "ZephyraSetup.exe.bat",
                                        "http://127.0.0.1/ZephyraSetup.exe", "file://server/share/ZephyraSetup.exe"}) {
        Offer(installer);
        EXPECT_EQ(Renova(), 2) << installer;
        EXPECT_EQ(Result(), refusal) << installer;
    }
    EXPECT_EQ(Started(300), "");
    // A refusal is never reported as a start, and nothing of it is left behind.
    EXPECT_FALSE(Downloaded("update.bat"));
}

TEST_F(UpdaterTest, AFeedOverPlainHttpIsNotReadAtAll) {
    Offer("ZephyraSetup.exe");
    UseFeed("http://127.0.0.1:9/update/renova.ini");
    EXPECT_EQ(Renova(), 2);
    EXPECT_EQ(Result(), "The update address is not a secure address.");
    EXPECT_EQ(Started(300), "");
}

TEST_F(UpdaterTest, AMissingOrGarbledFeedOrSettingsFailTheCheckOnly) {
    EXPECT_EQ(Renova(), 2);  // no offer at the address
    EXPECT_EQ(Result(), "The update information could not be read.");
    zrtest::WriteBytes(feed / "offer.ini", std::string("\xff\xfe[Offer]\0version=2\r\n", 20) + std::string(100000, 'x'));
    EXPECT_EQ(Renova(), 2);
    EXPECT_EQ(Result(), "The update information is not understood.");
    Offer("NoSuchSetup.exe");
    EXPECT_EQ(Renova(), 2);
    EXPECT_EQ(Result(), "The installer of Zephyra 2.0.0.0 could not be fetched.");
    zrtest::WriteBytes(folder / "Renova.ini", "[ProductInfo]\r\nversion=garbage\r\n");
    EXPECT_EQ(Renova(), 2);
    EXPECT_EQ(Result(), "The installed version is not known.");
    EXPECT_EQ(Started(300), "");
}
