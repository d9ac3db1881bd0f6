#include "foundation/EIFunctionsBase.h"

#include "HostPlatformTest.h"

using namespace foundation;

namespace {

template <class E, class F>
std::string MessageOf(F raise) {
    try {
        raise();
    } catch (const E& e) {
        return e.Message();
    }
    ADD_FAILURE() << "nothing raised";
    return "";
}

std::vector<std::string> Items(const rt::TStringList& list) { return list.ToVector(); }

}  // namespace

TEST(RaiseHelpers, MessagesAreFormattedCutAndKeptWhole) {
    EXPECT_EQ(MessageOf<EIIgniteError>([] { RaiseErrorFmt("Line one\\nLine two %d", {3}); }),
              "Line one\r\nLine two 3");
    EXPECT_EQ(MessageOf<EIIgniteError>([] { RaiseErrorFmt("Upper\\Ncase", {}); }), "Upper\r\ncase");
    // A format that cannot be applied is used as it stands.
    EXPECT_EQ(MessageOf<EIIgniteError>([] { RaiseErrorFmt("100%", {}); }), "100%");
    EXPECT_EQ(MessageOf<EIIgniteError>([] { RaiseErrorFmt("%d and %d", {1}); }), "%d and %d");
    // A plain message is never interpreted.
    EXPECT_EQ(MessageOf<EIIgniteError>([] { RaiseError("50% off\\n now"); }), "50% off\\n now");

    const std::string longText(300, 'x');
    EXPECT_EQ(MessageOf<EIIgniteError>([&] { RaiseError(longText); }).size(), 254u);
    EXPECT_EQ(LastErrorMessage(), longText);
}

TEST(RaiseHelpers, ClassesAndConditions) {
    EXPECT_NO_THROW(RaiseErrorIf(false, "x"));
    EXPECT_NO_THROW(RaiseAbortIf(false, "x"));
    EXPECT_THROW(RaiseErrorIf(true, "x"), EIIgniteError);
    EXPECT_THROW(RaiseErrorFmtIf(true, "%s", {"x"}), EIException);
    EXPECT_THROW(RaiseAbort("x"), EIIgniteAbort);
    EXPECT_THROW(RaiseAbortFmt("%d", {1}), rt::EAbort);
    // Cancellations are not errors to show.
    try {
        RaiseAbort("quiet");
    } catch (const EIException&) {
        ADD_FAILURE() << "an abort must not be an EIException";
    } catch (const EIAbortE&) {
    }
}

TEST(TextHelpers, BooleansAndNumbers) {
    for (auto t : {"yes", "TRUE", "1", "Yes"}) EXPECT_TRUE(TextToBool(t)) << t;
    for (auto t : {"y", "0", "", "no", "true "}) EXPECT_FALSE(TextToBool(t)) << t;
    EXPECT_EQ(BoolToText(true), "True");
    EXPECT_EQ(BoolToText(false), "False");

    EXPECT_EQ(DigitsToIntDef("-12 px", 5), 12);
    EXPECT_EQ(DigitsToIntDef("abc", 5), 5);
    EXPECT_EQ(DigitsToIntDef("", 7), 7);
    EXPECT_EQ(DigitsToIntDef("2147483647", 0), 2147483647);
    EXPECT_THROW(DigitsToIntDef("2147483648", 0), rt::EConvertError);
    EXPECT_TRUE(IsIntegerText("-12"));
    EXPECT_TRUE(IsIntegerText("1-2"));  // only the characters count
    EXPECT_FALSE(IsIntegerText(""));
    EXPECT_FALSE(IsIntegerText("1.5"));
}

TEST(TextHelpers, CaseInsensitiveSearchAndReplace) {
    EXPECT_TRUE(TextEquals("Hello", "hELLO"));
    EXPECT_TRUE(ContainsText("C:\\WINDOWS\\EXPLORER.EXE", "explorer.exe"));
    std::string text = "a%%SEARCH%%b%%search%%c";
    ReplaceAllText(text, "%%Search%%", "x%%SEARCH%%");
    EXPECT_EQ(text, "ax%%SEARCH%%bx%%SEARCH%%c");  // replacements are not scanned again
    std::string same = "abc";
    ReplaceAllText(same, "", "z");
    EXPECT_EQ(same, "abc");
}

TEST(SplitText, TrimsSkipsEmptyAndHonoursQuotes) {
    rt::TStringList list;
    SplitText("a, b,,c,", ",", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "c"}));
    SplitText("x,\"y,z\"", ",", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"x", "\"y,z\""}));
    SplitText("a, b,,c,", ",", list, true);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "", "c"}));
    SplitText("", ",", list);
    EXPECT_EQ(list.Count(), 0);
    SplitText("one two\tthree", " \t", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"one", "two", "three"}));
    SplitText("\"open quote, never closed", ",", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"\"open quote, never closed"}));
}

TEST(SplitText, AtCharsKeepsEveryPiece) {
    rt::TStringList list;
    EXPECT_TRUE(SplitAtChars("a,,b,", ",", list));
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_FALSE(SplitAtChars("", ",", list));
    EXPECT_EQ(Items(list), (std::vector<std::string>{""}));
    SplitAtChars(" a ;b", ";", list);
    EXPECT_EQ(list[0], " a ");
}

TEST(JoinList, FormatsSeparatesReversesAndTrims) {
    rt::TStringList list{"a", "b", "c"};
    EXPECT_EQ(JoinList(list, "%s", ", "), "a, b, c");
    EXPECT_EQ(JoinList(list, "<%s>", "", true), "<c><b><a>");
    EXPECT_EQ(JoinList(rt::TStringList{" x", "y "}, "%s", " ", false, true), "x y");
    EXPECT_EQ(JoinList(rt::TStringList{}, "%s", ","), "");
    EXPECT_TRUE(AddUnique(list, "d"));
    EXPECT_FALSE(AddUnique(list, "B"));
    EXPECT_EQ(list.Count(), 4);
}

TEST(ElapsedTimeText, PutsPartsInOrder) {
    EXPECT_EQ(ElapsedTimeText(rt::EncodeTime(1, 2, 3, 0)), "1h, 2m, 3s");
    EXPECT_EQ(ElapsedTimeText(rt::EncodeTime(0, 2, 0, 40)), "2m, 40msec");
    EXPECT_EQ(ElapsedTimeText(rt::EncodeTime(0, 0, 0, 40)), "40 msec");
    EXPECT_EQ(ElapsedTimeText(rt::EncodeTime(0, 0, 5, 40)), "5s");
    EXPECT_EQ(ElapsedTimeText(rt::EncodeTime(2, 0, 0, 0)), "2h");
    EXPECT_EQ(ElapsedTimeText(0), "0.00 sec");
}

TEST(JoinPath, ChoosesTheSeparatorOfTheBase) {
    EXPECT_EQ(JoinPath("C:\\Prog\\", "Data\\x.xml"), "C:\\Prog\\Data\\x.xml");
    EXPECT_EQ(JoinPath("C:\\Prog", "x"), "C:\\Prog\\x");
    EXPECT_EQ(JoinPath("a/b/", "c"), "a/b/c");
    EXPECT_EQ(JoinPath("a/b\\", "c"), "a/b/c");  // one trailing separator of either kind goes
    EXPECT_EQ(JoinPath("", "c"), "\\c");
}

class ModuleHelpers : public HostPlatformTest {};

TEST_F(ModuleHelpers, PathsFollowTheModule) {
    EXPECT_EQ(ModuleFileName(), InModule("Solvane.dll"));
    EXPECT_EQ(foundation::ModuleFolder(), HostPlatformTest::ModuleFolder());
    EXPECT_EQ(ModuleIniFileName(), InModule("Solvane.ini"));
    EXPECT_EQ(DataFilePath("google.xml"), InModule("Data\\google.xml"));
    EXPECT_EQ(MediaFilePath("HAND_BLOCKED.cur"), InModule("Media\\HAND_BLOCKED.cur"));
    host_.environment->Set("SystemRoot", "C:\\WINDOWS");
    EXPECT_EQ(ExpandEnvironmentText("%systemroot%\\Cursors\\a.cur %NOPE%"), "C:\\WINDOWS\\Cursors\\a.cur %NOPE%");
}

TEST_F(ModuleHelpers, QuestionsGoThroughTheMessageBox) {
    host_.dialogs->PushAnswer(platform::mb::IdYes);
    EXPECT_TRUE(Confirm("Delete it?\\nReally"));
    auto shown = host_.dialogs->ShownDialogs();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Confirmation");
    EXPECT_EQ(shown[0].text, "Delete it?\r\nReally");
    EXPECT_EQ(shown[0].flags, platform::mb::YesNo | platform::mb::IconQuestion);

    host_.dialogs->PushAnswer(platform::mb::IdNo);
    EXPECT_EQ(MessageOf<EIIgniteAbort>([] { ConfirmOrAbort("Go?"); }), "Cancelled");
    host_.dialogs->PushAnswer(platform::mb::IdNo);
    EXPECT_EQ(MessageOf<EIIgniteAbort>([] { ConfirmFmtOrAbort("Delete %d items?", {3}); }), "Operation aborted");
    EXPECT_EQ(host_.dialogs->ShownDialogs().back().text, "Delete 3 items?");
}

TEST_F(ModuleHelpers, DatesVersionsKeysAndPrograms) {
    host_.clock->SetNow({2026, 12, 8, 9, 5, 0, 0});
    EXPECT_EQ(TodayText(), "12/8/2026");

    host_.module->SetVersion("", {1, 2, 3, 4});
    EXPECT_EQ(FileVersionText(""), "1.2.3.4");
    int a, b, c, d;
    EXPECT_FALSE(FileVersionNumbers("c:\\none.dll", a, b, c, d));
    EXPECT_EQ(a + b + c + d, 0);

    host_.keyboard->SetKeyDown(platform::vk::Control, true);
    host_.keyboard->SetKeyDown(platform::vk::Menu, true);
    const rt::TShiftState state = CurrentShiftState();
    EXPECT_TRUE(state.Contains(rt::TShiftKey::Ctrl));
    EXPECT_TRUE(state.Contains(rt::TShiftKey::Alt));
    EXPECT_FALSE(state.Contains(rt::TShiftKey::Shift));

    RunProgram(InModule("Notelle.exe"), "FIRSTPOPUPBLOCKED", platform::show::Normal);
    ASSERT_EQ(host_.shell->Starts().size(), 1u);
    EXPECT_EQ(host_.shell->Starts()[0].parameters, "FIRSTPOPUPBLOCKED");
}

TEST_F(ModuleHelpers, LoadTextFileEndsEveryLineWithCrLf) {
    WriteBytes(InModule("a.txt"), "one\ntwo\r\nthree");
    EXPECT_EQ(LoadTextFile(InModule("a.txt")), "one\r\ntwo\r\nthree\r\n");
    EXPECT_THROW(LoadTextFile(InModule("missing.txt")), rt::Exception);
}

TEST_F(ModuleHelpers, CopyFileChecked) {
    const std::string source = InModule("settings.ini"), target = InModule("user_1.ini");
    EXPECT_EQ(MessageOf<EIIgniteError>([&] { CopyFileChecked(source, target, false); }),
              "InputFile " + source + " doesn't exist, and can't be copied !!!");

    WriteBytes(source, "[A]\r\nx=1\r\n");
    WriteBytes(target, "mine");
    CopyFileChecked(source, target, false);
    EXPECT_EQ(FileBytes(target), "mine");
    CopyFileChecked(source, target, true);
    EXPECT_EQ(FileBytes(target), "[A]\r\nx=1\r\n");

    const std::string fresh = InModule("fresh.ini");
    CopyFileChecked(source, fresh, false);
    EXPECT_EQ(FileBytes(fresh), FileBytes(source));
}

namespace {

class TSample : public rt::TComponent {
    RT_CLASS(TSample)
public:
    using rt::TComponent::TComponent;
    int number = 0;
    double ratio = 0;
    std::string text;
    bool flag = false;
    std::int64_t big = 0;
    rt::Variant any;
    rt::TObject* link = nullptr;
};

const rt::TPropList& TSample::ClassProperties() {
    using namespace rt::props;
    static const rt::TPropList list(
        rt::TComponent::ClassProperties(),
        {Integer<TSample>("Number", [](const TSample& s) { return s.number; }, [](TSample& s, int v) { s.number = v; }),
         Float<TSample>("Ratio", [](const TSample& s) { return s.ratio; }, [](TSample& s, double v) { s.ratio = v; }),
         String<TSample>("Text", [](const TSample& s) { return s.text; },
                         [](TSample& s, const std::string& v) { s.text = v; }),
         Boolean<TSample>("Flag", [](const TSample& s) { return s.flag; }, [](TSample& s, bool v) { s.flag = v; }),
         Int64<TSample>("Big", [](const TSample& s) { return s.big; }, [](TSample& s, std::int64_t v) { s.big = v; }),
         VariantProp<TSample>("Any", [](const TSample& s) { return s.any; },
                              [](TSample& s, const rt::Variant& v) { s.any = v; }),
         Object<TSample>("Link", "TObject", [](const TSample& s) { return s.link; },
                         [](TSample& s, rt::TObject* v) { s.link = v; }),
         Method("OnClick")});
    return list;
}

}  // namespace

TEST(CopyPropertyValue, MovesEveryKindByName) {
    TSample a(nullptr), b(nullptr);
    a.number = 42;
    a.ratio = 2.5;
    a.text = "hello";
    a.flag = true;
    a.big = 1LL << 40;
    a.any = rt::Variant("v");
    a.link = &b;
    for (auto name : {"Number", "Ratio", "Text", "Flag", "Big", "Any", "link"}) CopyPropertyValue(&a, name, &b, name);
    EXPECT_EQ(b.number, 42);
    EXPECT_EQ(b.ratio, 2.5);
    EXPECT_EQ(b.text, "hello");
    EXPECT_TRUE(b.flag);
    EXPECT_EQ(b.big, 1LL << 40);
    EXPECT_EQ(b.any.ToString(), "v");
    EXPECT_EQ(b.link, &b);

    CopyPropertyValue(&a, "Number", &b, "Tag");  // different names, same kind
    EXPECT_EQ(b.Tag(), 42);
    EXPECT_THROW(CopyPropertyValue(&a, "OnClick", &b, "OnClick"), rt::EPropertyError);
    EXPECT_THROW(CopyPropertyValue(&a, "Missing", &b, "Number"), rt::EPropertyError);

    b.number = 0;
    CopyPropertyValue(&a, "Number", &a, "Number");
    CopyPropertyValue(nullptr, "Number", &b, "Number");
    CopyPropertyValue(&a, "Number", nullptr, "Number");
    EXPECT_EQ(b.number, 0);
}

TEST(ComponentDisplayName, NameOrClassName) {
    TSample named(nullptr), unnamed(nullptr);
    named.SetName("btnGoogle");
    EXPECT_EQ(ComponentDisplayName(&named), "btnGoogle");
    EXPECT_EQ(ComponentDisplayName(&unnamed), "TSample");
}
