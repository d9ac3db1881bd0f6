// The host profile engine against the rules of wine's kernel32 (profile.c).
// Every expected result and byte string here was checked against
// GetPrivateProfileString & co. of wine 8 (kernel32 under wine64).
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/host/HostPlatform.h"
#include "support/TempFolder.h"

using namespace platform::host;
using Lines = std::vector<std::string>;

namespace {

// A string literal with its NUL bytes.
template <size_t N>
std::string Raw(const char (&text)[N]) {
    return std::string(text, N - 1);
}

class ProfileFiles : public ::testing::Test {
protected:
    ProfileFiles() : host(folder.Path()) { host.files->CreateDirectory("c:\\cfg"); }

    // Puts raw bytes in c:\cfg\<name>.
    void Put(const std::string& name, const std::string& bytes) {
        std::ofstream out(Native(name), std::ios::binary);
        out << bytes;
    }
    std::string Bytes(const std::string& name) {
        std::ifstream in(Native(name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& name) { return std::filesystem::exists(Native(name)); }
    std::string Native(const std::string& name) { return host.files->NativePath(File(name)); }
    static std::string File(const std::string& name) { return "c:\\cfg\\" + name; }

    std::string Read(const std::string& name, const std::string& section, const std::string& key,
                     const std::string& def = "<none>") {
        return host.profiles->ReadString(File(name), section, key, def);
    }
    bool Write(const std::string& name, const std::string& section, const std::string& key, const std::string& value) {
        return host.profiles->WriteString(File(name), section, key, value);
    }

    TempFolder folder;
    HostPlatform host;
    HostProfileFiles& profiles() { return *host.profiles; }
};

// A file with most of the oddities a hand-edited INI file can have.
const std::string kMessy =
    "  ; top comment\r\n"
    "foo = bar \r\n"
    "\r\n"
    "[ Sec A ]  trailing\r\n"
    "Key1 = \"quoted\" \r\n"
    "noequals\r\n"
    "=emptyname\r\n"
    "=second\r\n"
    "KEY1=dup\r\n"
    "[sec a]\r\n"
    "k2=v2\r\n"
    "[broken\r\n"
    "[a]b]\n"
    "x=1\r"
    "y=2\r\r\n"
    "z='q'\r\n"
    "[]\r\n"
    "e=1\r\n"
    "[\r\n";

}  // namespace

// ---- Parsing messy files ----

TEST_F(ProfileFiles, MessyFileSectionNames) {
    Put("m.ini", kMessy);
    // Trimmed names; the name runs to the last "]"; "[]" and "[broken" are not listed.
    EXPECT_EQ(profiles().ReadSectionNames(File("m.ini")), (Lines{"Sec A", "sec a", "a]b"}));
}

TEST_F(ProfileFiles, MessyFileReads) {
    Put("m.ini", kMessy);
    EXPECT_EQ(Read("m.ini", "  sec A ", "key1"), "quoted");  // names trimmed, case ignored, quotes removed
    EXPECT_EQ(Read("m.ini", "sec a", "k2"), "<none>");         // only the first matching section counts
    EXPECT_EQ(Read("m.ini", "sec a", "noequals", "def   "), "def");  // a key without "=" reads as the default
    EXPECT_EQ(Read("m.ini", "sec a", ""), "emptyname");          // an empty key name finds "=value"
    EXPECT_EQ(Read("m.ini", "a]b", "x"), "1");                   // CR alone ends a line
    EXPECT_EQ(Read("m.ini", "a]b", "y"), "2");
    EXPECT_EQ(Read("m.ini", "a]b", "z"), "q");                   // single quotes removed too
    EXPECT_EQ(Read("m.ini", "", "foo"), "bar");                  // the nameless section before any header
    EXPECT_EQ(Read("m.ini", "", "e"), "<none>");                 // "[]" comes after the nameless one
    EXPECT_EQ(Read("m.ini", "sec a", "[broken"), "<none>");      // a key line of its own in [sec a]...
}

TEST_F(ProfileFiles, MessyFileKeysAndLines) {
    Put("m.ini", kMessy);
    // Keys with a value only; the "" name of "=emptyname" ends the returned list.
    EXPECT_EQ(profiles().ReadKeys(File("m.ini"), "sec a"), (Lines{"Key1"}));
    // Lines: values as stored (quotes kept), keys without value alone, the
    // second "=..." line was dropped when the file was read.
    EXPECT_EQ(profiles().ReadSectionLines(File("m.ini"), "sec a"),
              (Lines{"Key1=\"quoted\"", "noequals", "=emptyname", "KEY1=dup"}));
    // Comments are skipped; "" is the nameless section.
    EXPECT_EQ(profiles().ReadKeys(File("m.ini"), ""), (Lines{"foo"}));
    EXPECT_EQ(profiles().ReadSectionLines(File("m.ini"), ""), (Lines{"foo=bar"}));
    // Section lists compare names as given, without trimming.
    EXPECT_EQ(profiles().ReadKeys(File("m.ini"), " sec a"), Lines{});
}

TEST_F(ProfileFiles, RewriteNormalisesTheWholeFile) {
    Put("m.ini", kMessy);
    ASSERT_TRUE(Write("m.ini", "sec a", "k9", "  new  "));
    // Regenerated from the model: blanks and blank lines gone, CRLF, "[]" lost
    // its header (its keys now follow [a]b]), leading blanks of the value gone.
    EXPECT_EQ(Bytes("m.ini"),
              "; top comment\r\nfoo=bar\r\n[Sec A]\r\nKey1=\"quoted\"\r\nnoequals\r\n=emptyname\r\nKEY1=dup\r\n"
              "k9=new  \r\n[sec a]\r\nk2=v2\r\n[broken\r\n[a]b]\r\nx=1\r\ny=2\r\nz='q'\r\ne=1\r\n[\r\n");
    ASSERT_TRUE(Write("m.ini", "new sec ", " key ", "v"));
    // New sections go at the end, names keep their trailing blanks; the file
    // is read again, so "new  " lost its trailing blanks.
    EXPECT_EQ(Bytes("m.ini"),
              "; top comment\r\nfoo=bar\r\n[Sec A]\r\nKey1=\"quoted\"\r\nnoequals\r\n=emptyname\r\nKEY1=dup\r\n"
              "k9=new\r\n[sec a]\r\nk2=v2\r\n[broken\r\n[a]b]\r\nx=1\r\ny=2\r\nz='q'\r\ne=1\r\n[\r\n[new sec ]\r\nkey =v\r\n");
}

TEST_F(ProfileFiles, DuplicateSectionsAndKeys) {
    Put("d.ini", "[S]\r\nk=1\r\nK=2\r\n[s]\r\nk=3\r\nonly=4\r\n");
    EXPECT_EQ(Read("d.ini", "s", "K"), "1");      // first section, first key
    EXPECT_EQ(Read("d.ini", "S", "only"), "<none>");  // the second [s] is never read
    EXPECT_EQ(profiles().ReadSectionNames(File("d.ini")), (Lines{"S", "s"}));  // duplicates listed
    EXPECT_EQ(profiles().ReadKeys(File("d.ini"), "s"), (Lines{"k", "K"}));

    ASSERT_TRUE(Write("d.ini", "s", "K", "9"));  // the first match is replaced in place
    EXPECT_EQ(Bytes("d.ini"), "[S]\r\nk=9\r\nK=2\r\n[s]\r\nk=3\r\nonly=4\r\n");
    ASSERT_TRUE(Write("d.ini", "s", "only", "5"));  // written in the first section
    EXPECT_EQ(Bytes("d.ini"), "[S]\r\nk=9\r\nK=2\r\nonly=5\r\n[s]\r\nk=3\r\nonly=4\r\n");

    // Deleting looks at every matching section until one has the key.
    Put("d2.ini", "[a]\r\nx=1\r\n[A]\r\ny=2\r\n");
    ASSERT_TRUE(profiles().DeleteKey(File("d2.ini"), "a", "Y"));
    EXPECT_EQ(Bytes("d2.ini"), "[a]\r\nx=1\r\n[A]\r\n");
    // Erasing takes the first matching section only.
    ASSERT_TRUE(profiles().EraseSection(File("d2.ini"), "A"));
    EXPECT_EQ(Bytes("d2.ini"), "[A]\r\n");
}

TEST_F(ProfileFiles, KeysThatDifferOnlyInCase) {
    ASSERT_TRUE(Write("c.ini", "Sec", "Name", "1"));
    ASSERT_TRUE(Write("c.ini", "SEC", "NAME", "2"));  // the same key: value replaced, names kept
    EXPECT_EQ(Bytes("c.ini"), "[Sec]\r\nName=2\r\n");
    EXPECT_EQ(Read("c.ini", "sec", "name"), "2");
    // Case is ignored for ASCII letters only (as wine does): E9 and C9 differ.
    ASSERT_TRUE(Write("c.ini", "Sec", "\xE9t\xE9", "small"));
    ASSERT_TRUE(Write("c.ini", "Sec", "\xC9T\xC9", "capital"));
    EXPECT_EQ(Read("c.ini", "sec", "\xE9T\xE9"), "small");
    EXPECT_EQ(Bytes("c.ini"), "[Sec]\r\nName=2\r\n\xE9t\xE9=small\r\n\xC9T\xC9=capital\r\n");
}

TEST_F(ProfileFiles, QuotesAndDefaults) {
    Put("q.ini",
        "[q]\r\nd=\"double\"\r\ns='single'\r\nmixed=\"x'\r\none=\"\r\nempty=\"\"\r\ninner=\"a\"b\"\r\n"
        "padded = \"  p  \" \r\nplain=a \"b\"\r\n");
    EXPECT_EQ(Read("q.ini", "q", "d"), "double");
    EXPECT_EQ(Read("q.ini", "q", "s"), "single");
    EXPECT_EQ(Read("q.ini", "q", "mixed"), "\"x'");
    EXPECT_EQ(Read("q.ini", "q", "one"), "\"");
    EXPECT_EQ(Read("q.ini", "q", "empty"), "");
    EXPECT_EQ(Read("q.ini", "q", "inner"), "a\"b");
    EXPECT_EQ(Read("q.ini", "q", "padded"), "  p  ");
    EXPECT_EQ(Read("q.ini", "q", "plain"), "a \"b\"");
    // The default loses its trailing spaces (spaces only, never its first
    // character) and a pair of quotes.
    EXPECT_EQ(Read("q.ini", "q", "missing", "a  "), "a");
    EXPECT_EQ(Read("q.ini", "q", "missing", "   "), " ");
    EXPECT_EQ(Read("q.ini", "q", "missing", "  x  "), "  x");
    EXPECT_EQ(Read("q.ini", "q", "missing", "\tx\t "), "\tx\t");
    EXPECT_EQ(Read("q.ini", "q", "missing", "\"x\""), "x");
    EXPECT_EQ(Read("q.ini", "q", "missing", "\"\""), "");
    EXPECT_EQ(Read("q.ini", "q", "missing", ""), "");
    // Section lines give the stored value.
    EXPECT_EQ(profiles().ReadSectionLines(File("q.ini"), "q")[0], "d=\"double\"");
}

TEST_F(ProfileFiles, MissingFileAndFolder) {
    EXPECT_EQ(Read("none.ini", "s", "k", "def"), "def");
    EXPECT_TRUE(profiles().ReadKeys(File("none.ini"), "s").empty());
    EXPECT_TRUE(profiles().ReadSectionNames(File("none.ini")).empty());
    EXPECT_TRUE(profiles().ReadSectionLines(File("none.ini"), "s").empty());

    // Deleting from a missing file succeeds and creates nothing.
    EXPECT_TRUE(profiles().DeleteKey(File("none.ini"), "s", "k"));
    EXPECT_TRUE(profiles().EraseSection(File("none.ini"), "s"));
    EXPECT_TRUE(profiles().WriteSectionLines(File("none.ini"), "s", {}));
    EXPECT_FALSE(Exists("none.ini"));

    // Writing creates the file, not the folder.
    EXPECT_FALSE(profiles().WriteString("c:\\cfg\\nodir\\x.ini", "s", "k", "v"));
    EXPECT_FALSE(host.files->DirectoryExists("c:\\cfg\\nodir"));
    EXPECT_EQ(profiles().ReadString("c:\\cfg\\nodir\\x.ini", "s", "k", "d  "), "d");
    ASSERT_TRUE(Write("new.ini", "Section", "Key", "Value"));
    EXPECT_EQ(Bytes("new.ini"), "[Section]\r\nKey=Value\r\n");
}

TEST_F(ProfileFiles, WriteRulesAndExactBytes) {
    ASSERT_TRUE(Write("w.ini", "a", "k1", "1"));
    ASSERT_TRUE(Write("w.ini", "b", "k1", "1"));
    ASSERT_TRUE(Write("w.ini", "a", "k2", "2"));  // appended after the section's last key
    ASSERT_TRUE(Write("w.ini", "a", "k1", " \t one"));  // replaced in place, leading blanks dropped
    EXPECT_EQ(Bytes("w.ini"), "[a]\r\nk1=one\r\nk2=2\r\n[b]\r\nk1=1\r\n");
    // No blank line between sections, CRLF everywhere; an empty value keeps "=".
    ASSERT_TRUE(Write("w.ini", "b", "e", ""));
    EXPECT_EQ(Bytes("w.ini"), "[a]\r\nk1=one\r\nk2=2\r\n[b]\r\nk1=1\r\ne=\r\n");
    EXPECT_EQ(Read("w.ini", "b", "e"), "");
    // A key in the nameless section goes before the first header.
    ASSERT_TRUE(Write("w.ini", "", "top", "t"));
    EXPECT_EQ(Bytes("w.ini"), "top=t\r\n[a]\r\nk1=one\r\nk2=2\r\n[b]\r\nk1=1\r\ne=\r\n");
    // Keys of a section that is not at the end are appended after its last key.
    Put("w2.ini", "[a]\r\nx=1\r\n\r\n\r\n[b]\r\ny=2\r\n");
    ASSERT_TRUE(Write("w2.ini", "a", "z", "3"));
    EXPECT_EQ(Bytes("w2.ini"), "[a]\r\nx=1\r\nz=3\r\n[b]\r\ny=2\r\n");
    // A key without value gets one.
    Put("w3.ini", "[a]\r\nflag\r\n");
    ASSERT_TRUE(Write("w3.ini", "a", "FLAG", "on"));
    EXPECT_EQ(Bytes("w3.ini"), "[a]\r\nflag=on\r\n");
}

TEST_F(ProfileFiles, WritingTheSameValueLeavesTheFileAlone) {
    Put("same.ini", "[a]\n  k =  v\n\n");  // messy: any rewrite would normalise it
    EXPECT_TRUE(Write("same.ini", "A", "K", "v"));
    EXPECT_TRUE(Write("same.ini", "a", "k", "  v"));  // leading blanks of the value are dropped first
    EXPECT_EQ(Bytes("same.ini"), "[a]\n  k =  v\n\n");
    EXPECT_TRUE(Write("same.ini", "a", "k", "V"));  // values compare with case
    EXPECT_EQ(Bytes("same.ini"), "[a]\r\nk=V\r\n");
    EXPECT_TRUE(profiles().DeleteKey(File("same.ini"), "a", "missing"));
    EXPECT_TRUE(profiles().EraseSection(File("same.ini"), "missing"));
    EXPECT_EQ(Bytes("same.ini"), "[a]\r\nk=V\r\n");
}

TEST_F(ProfileFiles, DeleteKeyAndEraseSection) {
    Put("e.ini", "[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n");
    ASSERT_TRUE(profiles().DeleteKey(File("e.ini"), "A", "X"));
    EXPECT_EQ(Bytes("e.ini"), "[a]\r\ny=2\r\n[b]\r\nz=3\r\n");
    ASSERT_TRUE(profiles().EraseSection(File("e.ini"), "B"));
    EXPECT_EQ(Bytes("e.ini"), "[a]\r\ny=2\r\n");
    // Delete and erase do not trim the names they are given.
    ASSERT_TRUE(profiles().DeleteKey(File("e.ini"), " a", "y"));
    ASSERT_TRUE(profiles().EraseSection(File("e.ini"), "a "));
    EXPECT_EQ(Bytes("e.ini"), "[a]\r\ny=2\r\n");
    // The last key gone, the header stays.
    ASSERT_TRUE(profiles().DeleteKey(File("e.ini"), "a", "y"));
    EXPECT_EQ(Bytes("e.ini"), "[a]\r\n");
    ASSERT_TRUE(profiles().EraseSection(File("e.ini"), "a"));
    EXPECT_EQ(Bytes("e.ini"), "");
    EXPECT_TRUE(Exists("e.ini"));  // an empty file, as kernel32 leaves it
}

TEST_F(ProfileFiles, WriteSectionLines) {
    Put("s.ini", "[a]\r\nold=1\r\n[b]\r\nb=2\r\n[A]\r\nalso=3\r\n");
    ASSERT_TRUE(profiles().WriteSectionLines(File("s.ini"), "a",
                                             {"x=1", " y = 2 ", "noequals", "x=dup", "=v"}));
    // Every [a] emptied, the lines added to the first one: names lose leading
    // blanks only, values leading blanks only, no "=" means ignored,
    // duplicates stay.
    EXPECT_EQ(Bytes("s.ini"), "[a]\r\nx=1\r\ny =2 \r\nx=dup\r\n=v\r\n[b]\r\nb=2\r\n[A]\r\n");
    EXPECT_EQ(profiles().ReadSectionLines(File("s.ini"), "a"), (Lines{"x=1", "y=2", "x=dup", "=v"}));

    // A missing section is created at the end; empty lines are left out and
    // a NUL ends a line (as the Win32 service hands them to kernel32).
    ASSERT_TRUE(profiles().WriteSectionLines(File("s.ini"), "new", {"k=v", "", Raw("n=1\0cut")}));
    // (The file was read again: "y =2 " is now "y=2".)
    EXPECT_EQ(Bytes("s.ini"), "[a]\r\nx=1\r\ny=2\r\nx=dup\r\n=v\r\n[b]\r\nb=2\r\n[A]\r\n[new]\r\nk=v\r\nn=1\r\n");
    // No lines: the section is emptied, its header kept.
    ASSERT_TRUE(profiles().WriteSectionLines(File("s.ini"), "b", {}));
    EXPECT_EQ(Bytes("s.ini"), "[a]\r\nx=1\r\ny=2\r\nx=dup\r\n=v\r\n[b]\r\n[A]\r\n[new]\r\nk=v\r\nn=1\r\n");
}

TEST_F(ProfileFiles, VeryLongValues) {
    std::string longValue(100000, 'x');
    longValue += "end";
    ASSERT_TRUE(Write("l.ini", "s", "k", longValue));
    EXPECT_EQ(Read("l.ini", "s", "k"), longValue);
    EXPECT_EQ(profiles().ReadSectionLines(File("l.ini"), "s"), (Lines{"k=" + longValue}));
    std::string longName(5000, 'n');
    ASSERT_TRUE(Write("l.ini", longName, longName, "v"));
    EXPECT_EQ(profiles().ReadKeys(File("l.ini"), longName), (Lines{longName}));
}

TEST_F(ProfileFiles, AnsiBytesAreKeptAsTheyAre) {
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
    ASSERT_TRUE(Write("b.ini", "s", "k", high));
    EXPECT_EQ(Read("b.ini", "s", "k"), high);
    EXPECT_EQ(Bytes("b.ini"), "[s]\r\nk=" + high + "\r\n");
}

TEST_F(ProfileFiles, NulEndsNamesAndValues) {
    Put("z.ini", Raw("[s]\r\nk=ab\0cd\r\nq\0r=1\r\n"));
    EXPECT_EQ(Read("z.ini", "s", "k"), "ab");
    EXPECT_EQ(profiles().ReadSectionLines(File("z.ini"), "s"), (Lines{"k=ab", "q=1"}));
}

TEST_F(ProfileFiles, EmptyAndBlankFiles) {
    Put("e.ini", "");
    ASSERT_TRUE(Write("e.ini", "", "k", "v"));
    EXPECT_EQ(Bytes("e.ini"), "k=v\r\n");
    Put("e2.ini", "\r\n");
    ASSERT_TRUE(Write("e2.ini", "s", "k", "v"));
    ASSERT_TRUE(Write("e2.ini", "", "k", "v"));  // the nameless section comes first
    EXPECT_EQ(Bytes("e2.ini"), "k=v\r\n[s]\r\nk=v\r\n");
    Put("e3.ini", "[a]\r\n");
    ASSERT_TRUE(Write("e3.ini", "  ", "k2", "v"));  // an all-blank name is the nameless section
    EXPECT_EQ(Bytes("e3.ini"), "k2=v\r\n[a]\r\n");
}

TEST_F(ProfileFiles, UnicodeFilesKeepTheirEncoding) {
    // UTF-8 with BOM: read through code page 1252, written back as UTF-8.
    Put("u8.ini", "\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\r\n");
    EXPECT_EQ(Read("u8.ini", "s", "k"), "caf\xE9 \x80 ?");
    ASSERT_TRUE(Write("u8.ini", "s", "k2", "\xE9\x80"));
    EXPECT_EQ(Bytes("u8.ini"),
              "\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\r\nk2=\xC3\xA9\xE2\x82\xAC\r\n");
    // UTF-16 LE with BOM.
    Put("u16.ini", Raw("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\xE9\0\xAC\x20\xE5\x65\r\0\n\0"));
    EXPECT_EQ(Read("u16.ini", "s", "k"), "\xE9\x80?");
    ASSERT_TRUE(Write("u16.ini", "s", "k2", "\xE9\x80"));
    EXPECT_EQ(Bytes("u16.ini"),
              Raw("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\xE9\0\xAC\x20\xE5\x65\r\0\n\0k\0" "2\0=\0\xE9\0\xAC\x20\r\0\n\0"));
}

// ---- The file itself ----

TEST_F(ProfileFiles, ReadOnlyFileIsNotWritten) {
    Put("ro.ini", "[s]\r\nk=1\r\n");
    ASSERT_TRUE(host.files->SetReadOnly(File("ro.ini"), true));
    EXPECT_EQ(Read("ro.ini", "s", "k"), "1");
    EXPECT_FALSE(Write("ro.ini", "s", "k", "2"));
    EXPECT_FALSE(Write("ro.ini", "s", "k", "1"));  // kernel32 fails opening for write, change or not
    EXPECT_FALSE(profiles().DeleteKey(File("ro.ini"), "s", "k"));
    EXPECT_FALSE(profiles().EraseSection(File("ro.ini"), "s"));
    EXPECT_FALSE(profiles().WriteSectionLines(File("ro.ini"), "s", {"a=1"}));
    EXPECT_EQ(Bytes("ro.ini"), "[s]\r\nk=1\r\n");
    ASSERT_TRUE(host.files->SetReadOnly(File("ro.ini"), false));
    EXPECT_TRUE(Write("ro.ini", "s", "k", "2"));
}

TEST_F(ProfileFiles, ReadOnlyFolderIsNotWritten) {
    Put("rf.ini", "[s]\r\nk=1\r\n");
    ASSERT_TRUE(host.files->SetReadOnly("c:\\cfg", true));
    EXPECT_FALSE(Write("rf.ini", "s", "k", "2"));
    EXPECT_FALSE(Write("other.ini", "s", "k", "2"));
    EXPECT_TRUE(Write("rf.ini", "s", "k", "1"));  // no change, nothing to write
    ASSERT_TRUE(host.files->SetReadOnly("c:\\cfg", false));
    EXPECT_EQ(Bytes("rf.ini"), "[s]\r\nk=1\r\n");
    EXPECT_FALSE(Exists("other.ini"));
    EXPECT_TRUE(Write("rf.ini", "s", "k", "2"));
}

TEST_F(ProfileFiles, RewriteIsAtomicAndLeavesNoTemporaryFiles) {
    const std::string a(50000, 'a'), b(50000, 'b');
    ASSERT_TRUE(Write("at.ini", "s", "k", a));
    const std::string bytesA = Bytes("at.ini");
    std::atomic<bool> done{false};
    std::atomic<int> torn{0}, reads{0};
    std::thread reader([&] {
        while (!done) {
            std::optional<std::string> bytes = host.files->ReadFile(File("at.ini"));
            ++reads;
            if (!bytes || (*bytes != bytesA && *bytes != "[s]\r\nk=" + b + "\r\n")) ++torn;
        }
    });
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(Write("at.ini", "s", "k", i % 2 ? a : b));
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(host.files->NativePath("c:\\cfg"))) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(ProfileFiles, RewriteKeepsPermissions) {
    namespace fs = std::filesystem;
    Put("p.ini", "[s]\r\n");
    fs::permissions(Native("p.ini"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(Write("p.ini", "s", "k", "v"));
    EXPECT_EQ(fs::status(Native("p.ini")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileFiles, FlushIsHarmless) {
    profiles().Flush(File("f.ini"));
    ASSERT_TRUE(Write("f.ini", "s", "k", "v"));
    profiles().Flush(File("f.ini"));
    EXPECT_EQ(Read("f.ini", "s", "k"), "v");
}
