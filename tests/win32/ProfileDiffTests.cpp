// The host profile engine against kernel32: the same operations on two copies
// of the same file must give the same results and leave the same bytes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Win32TestSupport.h"
#include "platform/host/HostPlatform.h"
#include "platform/win32/Win32Platform.h"

namespace {

struct Op {
    enum Kind { Read, Keys, Sections, Lines, Write, Delete, Erase, WriteSection } kind;
    std::string section, key, value;
    std::vector<std::string> lines;
};

Op Read(std::string s, std::string k, std::string d = "<default>") { return {Op::Read, s, k, d, {}}; }
Op Keys(std::string s) { return {Op::Keys, s, "", "", {}}; }
Op Sections() { return {Op::Sections, "", "", "", {}}; }
Op Lines(std::string s) { return {Op::Lines, s, "", "", {}}; }
Op Write(std::string s, std::string k, std::string v) { return {Op::Write, s, k, v, {}}; }
Op Delete(std::string s, std::string k) { return {Op::Delete, s, k, "", {}}; }
Op Erase(std::string s) { return {Op::Erase, s, "", "", {}}; }
Op WriteSection(std::string s, std::vector<std::string> l) { return {Op::WriteSection, s, "", "", std::move(l)}; }

struct Scenario {
    std::string name;
    std::optional<std::string> initial;  // nullopt: no file
    std::vector<Op> ops;
    enum Place { Normal, ReadOnly, NoFolder } place = Normal;
};

// Lines joined with CR LF, the last one too.
std::string File(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::string Shown(const std::string& text) { return std::string(1, '"').append(zrtest::Visible(text)).append(1, '"'); }

std::string Shown(const std::vector<std::string>& items) {
    std::string text = "{";
    for (std::size_t i = 0; i < items.size(); ++i) text += (i ? ", " : "") + Shown(items[i]);
    return text + "}";
}

std::string Describe(const Op& op) {
    switch (op.kind) {
        case Op::Read: return "ReadString(" + Shown(op.section) + ", " + Shown(op.key) + ", " + Shown(op.value) + ")";
        case Op::Keys: return "ReadKeys(" + Shown(op.section) + ")";
        case Op::Sections: return "ReadSectionNames()";
        case Op::Lines: return "ReadSectionLines(" + Shown(op.section) + ")";
        case Op::Write: return "WriteString(" + Shown(op.section) + ", " + Shown(op.key) + ", " + Shown(op.value) + ")";
        case Op::Delete: return "DeleteKey(" + Shown(op.section) + ", " + Shown(op.key) + ")";
        case Op::Erase: return "EraseSection(" + Shown(op.section) + ")";
        case Op::WriteSection: return "WriteSectionLines(" + Shown(op.section) + ", " + Shown(op.lines) + ")";
    }
    return "?";
}

std::string Apply(platform::IProfileFiles& profiles, const std::string& file, const Op& op) {
    switch (op.kind) {
        case Op::Read: return Shown(profiles.ReadString(file, op.section, op.key, op.value));
        case Op::Keys: return Shown(profiles.ReadKeys(file, op.section));
        case Op::Sections: return Shown(profiles.ReadSectionNames(file));
        case Op::Lines: return Shown(profiles.ReadSectionLines(file, op.section));
        case Op::Write: return profiles.WriteString(file, op.section, op.key, op.value) ? "true" : "false";
        case Op::Delete: return profiles.DeleteKey(file, op.section, op.key) ? "true" : "false";
        case Op::Erase: return profiles.EraseSection(file, op.section) ? "true" : "false";
        case Op::WriteSection: return profiles.WriteSectionLines(file, op.section, op.lines) ? "true" : "false";
    }
    return "";
}

// Windows refuses to open a read-only file for writing; wine run by root
// does not, so kernel32 cannot be the reference for read-only files there.
bool ReadOnlyIsEnforced(const std::string& folder) {
    const std::string probe = folder + "\\readonly.probe";
    zrtest::WriteBytes(probe, "x");
    ::SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE file = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool enforced = file == INVALID_HANDLE_VALUE;
    if (!enforced) ::CloseHandle(file);
    ::SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(probe.c_str());
    return enforced;
}

// Parameters are named in the test names; their bytes say nothing.
void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

class ProfileDiff : public ::testing::TestWithParam<Scenario> {};

TEST_P(ProfileDiff, HostEngineMatchesKernel32) {
    const Scenario& scenario = GetParam();
    zrtest::TempDir dir;
    if (scenario.place == Scenario::ReadOnly && !ReadOnlyIsEnforced(dir.Path()))
        GTEST_SKIP() << "this system writes read-only files (wine run as root)";
    const std::string folder = scenario.place == Scenario::NoFolder ? "missing\\" : "";
    const std::string windowsFile = dir / (folder + "kernel32.ini"), hostFile = dir / (folder + "host.ini");
    if (scenario.initial) {
        zrtest::WriteBytes(windowsFile, *scenario.initial);
        zrtest::WriteBytes(hostFile, *scenario.initial);
    }
    if (scenario.place == Scenario::ReadOnly) {
        ::SetFileAttributesA(windowsFile.c_str(), FILE_ATTRIBUTE_READONLY);
        ::SetFileAttributesA(hostFile.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    platform::win32::Win32ProfileFiles windows;
    platform::host::HostProfileFiles host([](const std::string& path) { return path; });

    for (std::size_t i = 0; i < scenario.ops.size(); ++i) {
        const Op& op = scenario.ops[i];
        std::string expected = Apply(windows, windowsFile, op);
        std::string actual = Apply(host, hostFile, op);
        EXPECT_EQ(expected, actual) << "operation " << i + 1 << ": " << Describe(op) << "\n  kernel32: " << expected
                                    << "\n  host:     " << actual;
    }
    windows.Flush(windowsFile);
    std::string expectedBytes = zrtest::ReadBytes(windowsFile), actualBytes = zrtest::ReadBytes(hostFile);
    EXPECT_TRUE(expectedBytes == actualBytes) << "final file\n  kernel32 (" << expectedBytes.size() << " bytes):\n"
                                              << zrtest::Visible(expectedBytes) << "\n  host (" << actualBytes.size()
                                              << " bytes):\n"
                                              << zrtest::Visible(actualBytes);
}

const std::string kLong5000(5000, 'L');
const std::string kLong40000 = std::string(39999, 'M') + "!";

std::vector<Scenario> Scenarios() {
    return {
        {"BlankLinesAndComments",
         File({"; leading comment", "", "[Main]", "A=1", "", "; inner comment", "  B = 2  ", "", "", "[Other]",
               "C=3", ""}),
         {Read("Main", "A"), Read("Main", "B"), Read("main", "; inner comment"), Keys("Main"), Lines("Main"),
          Sections(), Write("Main", "D", "4"), Write("Other", "E", "5"), Read("Main", "D")}},

        {"MissingBrackets",
         File({"[Broken", "A=1", "[Good]", "B=2", "Open]", "C=3", "[Two]]", "D=4", "[ Spaced ]", "E=5"}),
         {Sections(), Keys("Good"), Read("Good", "Open]"), Read("Good", "[Broken"), Read("Two]", "D"),
          Read("Two", "D"), Read("Spaced", "E"), Read(" Spaced ", "E"), Lines("Good"), Write("Broken", "X", "y")}},

        {"DuplicateSectionsAndKeys",
         File({"[S]", "A=1", "A=2", "[T]", "X=1", "[s]", "A=3", "B=4"}),
         {Read("S", "A"), Read("S", "B"), Keys("S"), Lines("S"), Sections(), Write("S", "B", "five"),
          Write("s", "A", "six"), Delete("S", "A"), Read("S", "A"), Erase("S"), Sections(), Keys("S")}},

        {"QuotedValues",
         File({"[Q]", "D=\"double\"", "S='single'", "U=\"unbalanced", "M='mixed\"", "P=\" padded \"",
               "E=\"\"", "I=a\"b\"c", "T=  \"trim\"  ", "N=\"'nested'\""}),
         {Read("Q", "D"), Read("Q", "S"), Read("Q", "U"), Read("Q", "M"), Read("Q", "P"), Read("Q", "E"),
          Read("Q", "I"), Read("Q", "T"), Read("Q", "N"), Lines("Q"), Write("Q", "W", "\"written\""),
          Read("Q", "W"), Write("Q", "V", " spaced value ")}},

        {"SpacesAroundEquals",
         File({"[S]", " A = 1 ", "B= 2", "C =3", "Key Name = with spaces ", "\tTab\t=\tx\t", "=novalue",
               "Empty="}),
         {Read("S", "A"), Read("S", " A "), Read("S", "Key Name"), Read("S", "Tab"), Read("S", "Empty"),
          Read("S", ""), Keys("S"), Lines("S"), Write("S", " A ", "changed"), Delete("S", "C"),
          Delete("S", " B ")}},

        {"VeryLongValues",
         File({"[Long]", "Five=" + kLong5000, "Forty=\"" + kLong40000 + "\"", "Short=s"}),
         {Read("Long", "Five"), Read("Long", "Forty"), Lines("Long"), Write("Long", "Six", std::string(6000, 'x')),
          Read("Long", "Six"), Write("Long", "Short", kLong5000 + "tail"), Read("Long", "Short"),
          Read("Long", "Missing", kLong5000)}},

        {"KeysDifferingOnlyInCase",
         File({"[Case]", "Key=1", "KEY=2", "key=3", "[CASE]", "kEy=4"}),
         {Read("case", "kEy"), Keys("Case"), Write("CASE", "KEY", "x"), Read("Case", "key"), Delete("Case", "key"),
          Keys("Case"), Delete("case", "KEY"), Delete("case", "KEY"), Keys("CASE"), Write("Case", "NEW", "n"),
          Write("Case", "new", "m")}},

        {"LinesWithoutEquals",
         File({"[S]", "NoEquals", "A=1", "  just words  ", "B=2", "[T]", "lonely"}),
         {Keys("S"), Lines("S"), Read("S", "NoEquals"), Read("S", "just words"), Keys("T"), Lines("T"),
          Write("S", "NoEquals", "now"), Read("S", "NoEquals"), Delete("S", "just words")}},

        {"MissingFile",
         std::nullopt,
         {Read("S", "K", "fallback"), Read("S", "K", " padded default "), Keys("S"), Sections(), Lines("S"),
          Delete("S", "K"), Erase("S"), Write("S", "K", "v"), Read("S", "K"), Write("T", "K2", "v2")}},

        {"MissingFileSectionWrite",
         std::nullopt,
         {WriteSection("New", {"a=1", "b=2"}), Lines("New"), Keys("New")}},

        {"AddReplaceDelete",
         File({"[A]", "one=1", "two=2", "", "[B]", "three=3", ""}),
         {Write("A", "two", "22"), Write("A", "four", "4"), Write("C", "five", "5"), Delete("B", "three"),
          Keys("B"), Sections(), Delete("A", "missing"), Delete("Z", "k"), Write("A", "one", ""), Read("A", "one"),
          Lines("A")}},

        {"EraseSections",
         File({"top=1", "[A]", "a=1", "[B]", "b=1", "[A]", "a=2", "[C]"}),
         {Sections(), Erase("a"), Sections(), Read("A", "a"), Erase("A"), Erase("C"), Erase("Missing"), Sections(),
          Read("", "top"), Keys("")}},

        {"WriteSectionLinesReplacesContent",
         File({"[S]", "old=1", "gone=2", "[T]", "t=1", "[S]", "dup=3"}),
         {WriteSection("S", {"new=1", "other = 2", "noequals", "x=\"q\""}), Lines("S"), Read("S", "other"),
          Read("S", "x"), Read("S", "dup"), WriteSection("T", {}), Lines("T"), Sections(),
          WriteSection("U", {"u=1"}), Sections()}},

        {"LfOnlyAndNoFinalNewline",
         std::string("[S]\nA=1\nB=2\n\n[T]\rC=3\r\n[U]\nD=4"),
         {Read("S", "B"), Read("T", "C"), Read("U", "D"), Sections(), Write("U", "E", "5")}},

        {"OrphanKeysBeforeAnySection",
         File({"orphan=1", "; note", "[S]", "A=1"}),
         {Read("", "orphan"), Keys(""), Sections(), Write("S", "B", "2"), Write("", "orphan", "x")}},

        {"ValuesWithSpecialCharacters",
         File({"[S]", "Eq=a=b=c", "Semi=1 ; not a comment", "Hash=# not either", "Path=C:\\Program Files\\x.exe",
               "High=Gr\xF6\xDF" "e", "[\xC4rger]", "k=v"}),
         {Read("S", "Eq"), Read("S", "Semi"), Read("S", "Hash"), Read("S", "Path"), Read("S", "High"),
          Read("\xE4rger", "k"), Read("\xC4RGER", "k"), Write("S", "Tab", "a\tb"), Write("S", "New\xE9", "\xE9t\xE9")}},

        {"EmptyFile",
         std::string(),
         {Sections(), Keys("S"), Write("S", "k", "v"), Erase("S"), Sections()}},

        {"WhitespaceOnlyFile",
         std::string("   \r\n\r\n\t\r\n"),
         {Sections(), Keys(""), Write("S", "k", "v")}},

        {"HeadersWithTrailingText",
         File({"[S] ; note", "a=1", "[T]x", "b=2", "[notsection=1", "[U]]]", "c=3", "[]", "e=5"}),
         {Sections(), Read("S", "a"), Read("T", "b"), Read("T", "[notsection"), Read("U]]", "c"), Read("", "e"),
          Keys(""), Write("T", "z", "26")}},

        {"OddNamesWritten",
         File({"[S]", "a=1"}),
         {Write("S", "k=ey", "v"), Read("S", "k"), Keys("S"), Write("Sec]tion", "k", "v"), Sections(),
          Write("", "blank", "section"), Write("S", "", "blankkey"), Read("S", ""), Write("S", "  ", "spaces"),
          Keys("S"), Write("S", "nl", "line1\r\nline2"), Read("S", "nl"), Read("S", "line2"), Keys("S")}},

        {"CommentsAndDuplicateEmptyKeys",
         File({"[S]", "; a=b", "# hash=c", "=x", "=y", "k=v", "=z", "w=1"}),
         {Read("S", "; a"), Read("S", "# hash"), Keys("S"), Lines("S"), Delete("S", "; a"), Delete("S", ""),
          Lines("S"), Write("S", "k", "v2")}},

        {"SectionLinesWritten",
         File({"[S]", "a=1"}),
         {WriteSection("S", {" spaced = value ", "quoted=\"q\"", "dup=1", "DUP=2", "=noname", "tail="}),
          Lines("S"), Keys("S"), Read("S", "spaced"), Read("S", "dup"), WriteSection("Empty", {}), Sections(),
          Lines("Empty"), WriteSection("s", {"only=1"}), Lines("S")}},

        {"BufferBoundaries",
         File({"[S]", "v1023=" + std::string(1023, 'a'), "v1024=" + std::string(1024, 'b'),
               "v2047=" + std::string(2047, 'c')}),
         {Read("S", "v1023"), Read("S", "v1024"), Read("S", "v2047"), Lines("S"),
          Read("S", "none", std::string(40000, 'd')), Write("S", "w", std::string(40000, 'w')), Read("S", "w")}},

        {"ManyKeysAndSections",
         [] {
             std::string text;
             for (int s = 0; s < 40; ++s) {
                 text += "[Section" + std::to_string(s) + "]\r\n";
                 for (int k = 0; k < 40; ++k) text += "key" + std::to_string(k) + "=" + std::to_string(s * k) + "\r\n";
             }
             return text;
         }(),
         {Sections(), Keys("Section39"), Lines("Section0"), Delete("Section20", "key20"), Erase("Section10"),
          Read("Section39", "key39")}},

        {"Utf8Bom",
         std::string("\xEF\xBB\xBF[S]\r\nA=caf\xC3\xA9\r\n[\xC3\x84]\r\nk=v\r\n"),
         {Read("S", "A"), Sections(), Write("S", "B", "na\xEFve"), Read("S", "B"), Write("S", "C", "plain")}},

        {"Utf16Bom",
         std::string("\xFF\xFE[\0S\0]\0\r\0\n\0A\0=\0\xE9\0\r\0\n\0", 22),
         {Read("S", "A"), Keys("S"), Write("S", "B", "\xFC"), Read("S", "B")}},

        {"NulAndControlBytes",
         std::string("[S]\r\nA=before\0after\r\nB=x\x1Ay\r\nC=\x1A\r\n\x1A\r\n[T]\r\nD=1\r\n", 46),
         {Read("S", "A"), Read("S", "B"), Read("S", "C"), Keys("S"), Sections(), Write("T", "E", "2")}},

        {"CarriageReturnsOnly",
         std::string("[S]\rA=1\rB=2\r\r[T]\rC=3"),
         {Keys("S"), Read("T", "C"), Delete("S", "A")}},

        {"ReadOnlyFile",
         File({"[S]", "a=1"}),
         {Write("S", "b", "2"), Delete("S", "a"), Erase("S"), WriteSection("S", {"x=1"}), Read("S", "a"),
          Write("S", "a", "1")},
         Scenario::ReadOnly},

        {"MissingFolder",
         std::nullopt,
         {Write("S", "k", "v"), WriteSection("S", {"x=1"}), Delete("S", "k"), Erase("S"), Read("S", "k")},
         Scenario::NoFolder},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, ProfileDiff, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return info.param.name; });

}  // namespace
