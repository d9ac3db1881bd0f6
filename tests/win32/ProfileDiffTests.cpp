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
};

// Lines joined with CR LF, the last one too.
std::string File(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::string Shown(const std::string& text) { return "\"" + zrtest::Visible(text) + "\""; }

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

std::string Run(platform::IProfileFiles& profiles, const std::string& file, const Op& op) {
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

class ProfileDiff : public ::testing::TestWithParam<Scenario> {};

TEST_P(ProfileDiff, HostEngineMatchesKernel32) {
    const Scenario& scenario = GetParam();
    zrtest::TempDir dir;
    const std::string windowsFile = dir / "kernel32.ini", hostFile = dir / "host.ini";
    if (scenario.initial) {
        zrtest::WriteBytes(windowsFile, *scenario.initial);
        zrtest::WriteBytes(hostFile, *scenario.initial);
    }
    platform::win32::Win32ProfileFiles windows;
    platform::host::HostProfileFiles host([](const std::string& path) { return path; });

    for (std::size_t i = 0; i < scenario.ops.size(); ++i) {
        const Op& op = scenario.ops[i];
        std::string expected = Run(windows, windowsFile, op);
        std::string actual = Run(host, hostFile, op);
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
               "High=Gr\xF6\xDFe", "[\xC4rger]", "k=v"}),
         {Read("S", "Eq"), Read("S", "Semi"), Read("S", "Hash"), Read("S", "Path"), Read("S", "High"),
          Read("\xE4rger", "k"), Read("\xC4RGER", "k"), Write("S", "Tab", "a\tb"), Write("S", "New\xE9", "\xE9t\xE9")}},

        {"EmptyFile",
         std::string(),
         {Sections(), Keys("S"), Write("S", "k", "v"), Erase("S"), Sections()}},

        {"WhitespaceOnlyFile",
         std::string("   \r\n\r\n\t\r\n"),
         {Sections(), Keys(""), Write("S", "k", "v")}},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, ProfileDiff, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return info.param.name; });

}  // namespace
