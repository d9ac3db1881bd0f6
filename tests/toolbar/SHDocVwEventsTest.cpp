// The browser event sink over plain values: which event each dispatch
// identifier reaches with which arguments, what goes back to the caller,
// the answers to calls that do not fit, and the connection's life.
#include <gtest/gtest.h>

#include <stdexcept>

#include "EventSinkFakes.h"
#include "toolbar/SHDocVwEvents.h"

using toolbar::TDispatch;
using toolbar::TDWebBrowserEvents2;
using toolbar::TInvokeResult;
using zrtest::Opaque;
using zrtest::Ref;
using zrtest::TestArg;
using zrtest::TestArgs;
using zrtest::TestEventSource;
using zrtest::TestObject;
using TCode = TInvokeResult::TCode;

namespace {

std::string Describe(const std::string& v) { return "s:" + v; }
std::string Describe(int v) { return "i:" + std::to_string(v); }
std::string Describe(bool v) { return v ? "b:1" : "b:0"; }
std::string Describe(const rt::Variant& v) { return "v:" + v.ToString(); }
std::string Describe(const TDispatch& v) { return v ? "d:object" : "d:none"; }

// A handler for any event: notes its name, the sender and the arguments.
struct Recorder {
    std::string name;
    std::vector<std::string>* log;
    rt::TObject** sender;
    template <class... A>
    void operator()(rt::TObject* s, A&&... args) const {
        *sender = s;
        std::string line = name;
        ((line += " " + Describe(args)), ...);
        log->push_back(line);
    }
};

// The browser's events: identifier, name and parameters, in the order they
// are published. s text, i integer, b boolean, d object; capitals are var
// parameters, v a var variant.
struct EventRow {
    int dispId;
    const char* name;
    const char* params;
    void (*bind)(TDWebBrowserEvents2&, Recorder);
};

#define ROW(id, event, params) {id, #event, params, [](TDWebBrowserEvents2& s, Recorder r) { s.event = r; }}
const EventRow kEvents[] = {
    ROW(102, StatusTextChange, "s"),
    ROW(108, ProgressChange, "ii"),
    ROW(105, CommandStateChange, "ib"),
    ROW(106, DownloadBegin, ""),
    ROW(104, DownloadComplete, ""),
    ROW(113, TitleChange, "s"),
    ROW(112, PropertyChange, "s"),
    ROW(250, BeforeNavigate2, "dvvvvvB"),
    ROW(251, NewWindow2, "DB"),
    ROW(252, NavigateComplete2, "dv"),
    ROW(259, DocumentComplete, "dv"),
    ROW(253, OnQuit, ""),
    ROW(254, OnVisible, "b"),
    ROW(255, OnToolBar, "b"),
    ROW(256, OnMenuBar, "b"),
    ROW(257, OnStatusBar, "b"),
    ROW(258, OnFullScreen, "b"),
    ROW(260, OnTheaterMode, "b"),
    ROW(262, WindowSetResizable, "b"),
    ROW(264, WindowSetLeft, "i"),
    ROW(265, WindowSetTop, "i"),
    ROW(266, WindowSetWidth, "i"),
    ROW(267, WindowSetHeight, "i"),
    ROW(263, WindowClosing, "bB"),
    ROW(268, ClientToHostWindow, "II"),
    ROW(269, SetSecureLockIcon, "i"),
    ROW(270, FileDownload, "B"),
    ROW(271, NavigateError, "dvvvB"),
    ROW(225, PrintTemplateInstantiation, "d"),
    ROW(226, PrintTemplateTeardown, "d"),
    ROW(227, UpdatePageStatus, "dvv"),
    ROW(272, PrivacyImpactedStateChange, "b"),
};
#undef ROW

// Distinct arguments of the row's types, and how a recorder describes them.
std::vector<TestArg> ArgumentsFor(const std::string& params, std::vector<std::string>& described) {
    std::vector<TestArg> args;
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int n = static_cast<int>(i);
        switch (params[i]) {
        case 's': args.push_back({"text" + std::to_string(n)}); described.push_back("s:text" + std::to_string(n)); break;
        case 'i': args.push_back({100 + n}); described.push_back("i:" + std::to_string(100 + n)); break;
        case 'I': args.push_back(Ref(200 + n)); described.push_back("i:" + std::to_string(200 + n)); break;
        case 'b': args.push_back({n % 2 == 0}); described.push_back(n % 2 == 0 ? "b:1" : "b:0"); break;
        case 'B': args.push_back(Ref(n % 2 != 0)); described.push_back(n % 2 != 0 ? "b:1" : "b:0"); break;
        case 'v': args.push_back(Ref("v" + std::to_string(n))); described.push_back("v:v" + std::to_string(n)); break;
        case 'd': args.push_back({TDispatch(std::make_shared<TestObject>())}); described.push_back("d:object"); break;
        case 'D': args.push_back(Ref(std::monostate{})); described.push_back("d:none"); break;
        }
    }
    return args;
}

class EventSinkTest : public ::testing::Test {
protected:
    EventSinkTest() { events.SetName("BrowserEvents"); }

    void BindAll() {
        for (const EventRow& row : kEvents) row.bind(events, Recorder{row.name, &log, &sender});
    }

    TDWebBrowserEvents2 events{nullptr};
    std::vector<std::string> log;
    rt::TObject* sender = nullptr;
    std::shared_ptr<TestEventSource> source = std::make_shared<TestEventSource>();
};

TEST_F(EventSinkTest, PublishesTheThirtyTwoEventsInOrder) {
    const auto& items = events.Properties().Items();
    const auto& base = toolbar::TSHDocVwEventsBaseSink::ClassProperties().Items();
    ASSERT_EQ(items.size(), base.size() + std::size(kEvents));
    for (std::size_t i = 0; i < std::size(kEvents); ++i) {
        const rt::TPropInfo& p = items[base.size() + i];
        EXPECT_EQ(p.Name, kEvents[i].name);
        EXPECT_EQ(p.Kind, rt::TTypeKind::Method) << p.Name;
        EXPECT_EQ(p.TypeName, std::string("TDWebBrowserEvents2") + kEvents[i].name + "Event");
    }
    EXPECT_EQ(rt::PropInfoOf(events, "documentcomplete").TypeName, "TDWebBrowserEvents2DocumentCompleteEvent");
    EXPECT_STREQ(events.ClassName(), "TDWebBrowserEvents2");
    EXPECT_EQ(events.SinkIID(), toolbar::DIID_DWebBrowserEvents2);
}

TEST_F(EventSinkTest, EachIdentifierReachesItsEventWithItsArgumentsInOrder) {
    BindAll();
    for (const EventRow& row : kEvents) {
        std::vector<std::string> described;
        TestArgs args = TestArgs::Positional(ArgumentsFor(row.params, described));
        log.clear();
        sender = nullptr;
        EXPECT_EQ(events.Invoke(row.dispId, rt::DispatchMethod, args).Code, TCode::Ok) << row.name;
        std::string expected = row.name;
        for (const std::string& d : described) expected += " " + d;
        EXPECT_EQ(log, std::vector<std::string>{expected});
        EXPECT_EQ(sender, &events) << row.name;
        EXPECT_EQ(args.writes, 0) << row.name << ": unchanged var parameters are not written";

        if (!args.block.empty()) {
            args.block.erase(args.block.begin());  // the last parameter missing
            log.clear();
            EXPECT_EQ(events.Invoke(row.dispId, rt::DispatchMethod, args).Code, TCode::BadParamCount) << row.name;
            EXPECT_TRUE(log.empty()) << row.name;
        }
    }
}

TEST_F(EventSinkTest, IdentifiersOutsideTheTableAreNoMembers) {
    BindAll();
    TestArgs none({});
    for (int id : {261, 0, -1, 101, 103, 273}) {
        EXPECT_EQ(events.Invoke(id, rt::DispatchMethod, none).Code, TCode::MemberNotFound) << id;
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(EventSinkTest, NamedArgumentsReachTheirParameters) {
    int progress = 0, progressMax = 0;
    events.ProgressChange = [&](rt::TObject*, int p, int max) {
        progress = p;
        progressMax = max;
    };
    TestArgs allNamed({{10}, {3}}, {1, 0});  // ProgressMax, then Progress
    EXPECT_EQ(events.Invoke(108, rt::DispatchMethod, allNamed).Code, TCode::Ok);
    EXPECT_EQ(progress, 3);
    EXPECT_EQ(progressMax, 10);

    // Cancel named in front of the positional rest; the handler's change lands on its element.
    events.BeforeNavigate2 = [](rt::TObject*, const TDispatch&, rt::Variant& url, rt::Variant&, rt::Variant&,
                                rt::Variant&, rt::Variant&, bool& cancel) { cancel = url.ToString() == "http://ads/"; };
    std::vector<TestArg> block{Ref(false), Ref("h"), Ref(Opaque{}), Ref("t"), Ref(5), Ref("http://ads/"),
                               {std::monostate{}}};
    TestArgs mixed(block, {6});
    EXPECT_EQ(events.Invoke(250, rt::DispatchMethod, mixed).Code, TCode::Ok);
    EXPECT_EQ(mixed.block[0].value, zrtest::TestValue(true));
    EXPECT_EQ(mixed.writes, 1);
}

TEST_F(EventSinkTest, NamesThatFitNoParameterAreRefused) {
    BindAll();
    for (const std::vector<int>& named : {std::vector<int>{-3}, {2}, {0}}) {
        TestArgs args({{1}, {2}}, named);
        const TInvokeResult r = events.Invoke(108, rt::DispatchMethod, args);
        EXPECT_EQ(r.Code, TCode::ParamNotFound) << named[0];
        EXPECT_EQ(r.ArgError, 0u);
    }
    TestArgs twice({{1}, {2}}, {1, 1});
    EXPECT_EQ(events.Invoke(108, rt::DispatchMethod, twice).ArgError, 1u);
    EXPECT_TRUE(log.empty());
}

TEST_F(EventSinkTest, VarParametersGoBackToTheCaller) {
    events.BeforeNavigate2 = [](rt::TObject*, const TDispatch&, rt::Variant& url, rt::Variant&, rt::Variant&,
                                rt::Variant&, rt::Variant&, bool& cancel) {
        url = "http://elsewhere/";
        cancel = true;
    };
    TestArgs nav = TestArgs::Positional(
        {{std::monostate{}}, Ref("http://a/"), Ref(Opaque{}), Ref("_top"), Ref(Opaque{}), Ref(""), Ref(false)});
    EXPECT_EQ(events.Invoke(250, rt::DispatchMethod, nav).Code, TCode::Ok);
    EXPECT_EQ(nav.Param(1), zrtest::TestValue(std::string("http://elsewhere/")));
    EXPECT_EQ(nav.Param(6), zrtest::TestValue(true));
    // What the sink cannot read (post data) it leaves as the caller made it.
    EXPECT_EQ(nav.Param(2), zrtest::TestValue(Opaque{}));
    EXPECT_EQ(nav.writes, 2);

    // A by-value argument keeps the caller's value.
    events.FileDownload = [](rt::TObject*, bool& cancel) { cancel = true; };
    TestArgs byValue = TestArgs::Positional({{false}});
    EXPECT_EQ(events.Invoke(270, rt::DispatchMethod, byValue).Code, TCode::Ok);
    EXPECT_EQ(byValue.Param(0), zrtest::TestValue(false));

    events.ClientToHostWindow = [](rt::TObject*, int& cx, int& cy) {
        cx += 10;
        cy = cy * 2;
    };
    TestArgs size = TestArgs::Positional({Ref(300), Ref(200)});
    EXPECT_EQ(events.Invoke(268, rt::DispatchMethod, size).Code, TCode::Ok);
    EXPECT_EQ(size.Param(0), zrtest::TestValue(310));
    EXPECT_EQ(size.Param(1), zrtest::TestValue(400));
}

TEST_F(EventSinkTest, NewWindowHandsBackTheObjectTheHandlerLeaves) {
    const TDispatch window = std::make_shared<TestObject>();
    events.NewWindow2 = [&](rt::TObject*, TDispatch& ppDisp, bool& cancel) {
        EXPECT_EQ(ppDisp, nullptr);
        ppDisp = window;
    };
    TestArgs args = TestArgs::Positional({Ref(std::monostate{}), Ref(false)});
    EXPECT_EQ(events.Invoke(251, rt::DispatchMethod, args).Code, TCode::Ok);
    EXPECT_EQ(args.Param(0), zrtest::TestValue(window));
    EXPECT_EQ(args.Param(1), zrtest::TestValue(false));
    EXPECT_EQ(args.writes, 1);
}

TEST_F(EventSinkTest, ArgumentsOfTheWrongTypeAreReportedWhereTheyAre) {
    BindAll();
    TestArgs text = TestArgs::Positional({{std::string("12")}});
    TInvokeResult r = events.Invoke(264, rt::DispatchMethod, text);
    EXPECT_EQ(r.Code, TCode::TypeMismatch);
    EXPECT_EQ(r.ArgError, 0u);
    // The first misfit in parameter order: Command, which the caller put last.
    TestArgs both = TestArgs::Positional({{std::string("x")}, {std::string("y")}});
    r = events.Invoke(105, rt::DispatchMethod, both);
    EXPECT_EQ(r.Code, TCode::TypeMismatch);
    EXPECT_EQ(r.ArgError, 1u);
    EXPECT_TRUE(log.empty());
}

TEST_F(EventSinkTest, UnassignedEventsAnswerOkWithoutReadingAnything) {
    TestArgs wrong = TestArgs::Positional({{std::string("not a window")}});
    for (const EventRow& row : kEvents)
        EXPECT_EQ(events.Invoke(row.dispId, rt::DispatchMethod, wrong).Code, TCode::Ok) << row.name;
    EXPECT_EQ(wrong.writes, 0);
}

TEST_F(EventSinkTest, PropertyCallsAreRefused) {
    BindAll();
    TestArgs none({});
    for (unsigned flags : {rt::DispatchPropertyGet, rt::DispatchPropertyPut, rt::DispatchPropertyPutRef, 0u}) {
        try {
            events.Invoke(253, flags, none);
            ADD_FAILURE() << flags;
        } catch (const rt::Exception& e) {
            EXPECT_EQ(e.Message(), "TDWebBrowserEvents2 only supports sinking of method calls!");
        }
    }
    EXPECT_TRUE(log.empty());
    // A method flag beside a property flag is a method call.
    EXPECT_EQ(events.Invoke(253, rt::DispatchMethod | rt::DispatchPropertyGet, none).Code, TCode::Ok);
    EXPECT_EQ(log, std::vector<std::string>{"OnQuit"});
}

TEST_F(EventSinkTest, AHandlerThatRaisesBecomesAnErrorResult) {
    events.WindowClosing = [](rt::TObject*, bool, bool& cancel) {
        cancel = true;
        throw rt::Exception("The form is gone");
    };
    TestArgs closing = TestArgs::Positional({{false}, Ref(false)});
    TInvokeResult r;
    ASSERT_NO_THROW(r = events.Invoke(263, rt::DispatchMethod, closing));
    EXPECT_EQ(r.Code, TCode::Exception);
    EXPECT_EQ(r.Message, "The form is gone");
    EXPECT_EQ(closing.Param(1), zrtest::TestValue(false)) << "a handler that raised changes nothing";

    events.OnQuit = [](rt::TObject*) { throw std::runtime_error("plain"); };
    TestArgs none({});
    EXPECT_EQ(events.Invoke(253, rt::DispatchMethod, none).Message, "plain");
    events.OnQuit = [](rt::TObject*) { throw 42; };
    r = events.Invoke(253, rt::DispatchMethod, none);
    EXPECT_EQ(r.Code, TCode::Exception);
    EXPECT_FALSE(r.Message.empty());
}

TEST_F(EventSinkTest, ConnectingAdvisesOnceAndFailuresNameTheComponent) {
    BindAll();
    events.Connect(source);
    EXPECT_TRUE(events.Connected());
    EXPECT_EQ(source->iids, std::vector<toolbar::TGUID>{toolbar::DIID_DWebBrowserEvents2});
    events.Connect(source);  // again: the first connection goes first
    EXPECT_EQ(source->advises, 2);
    EXPECT_EQ(source->unadvises, 1);
    EXPECT_EQ(source->Held(), 1u);
    TestArgs none({});
    source->Fire(253, none);
    EXPECT_EQ(log, std::vector<std::string>{"OnQuit"});

    auto failing = std::make_shared<TestEventSource>();
    failing->failure = "No such interface supported";
    try {
        events.Connect(failing);
        ADD_FAILURE();
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to connect BrowserEvents.\rNo such interface supported");
    }
    EXPECT_FALSE(events.Connected());
    EXPECT_EQ(source->Held(), 0u) << "the old connection ended before the new one was tried";
    EXPECT_THROW(events.Connect(nullptr), rt::Exception);
    EXPECT_FALSE(events.Connected());
}

TEST_F(EventSinkTest, DisconnectIsSilentAndEndsTheEvents) {
    BindAll();
    EXPECT_NO_THROW(events.Disconnect());  // never connected
    EXPECT_EQ(source->unadvises, 0);

    events.Connect(source);
    source->failUnadvise = true;
    EXPECT_NO_THROW(events.Disconnect());
    EXPECT_FALSE(events.Connected());
    EXPECT_EQ(source->Held(), 1u);  // the source kept the sink ...
    TestArgs none({});
    source->Fire(253, none);
    EXPECT_TRUE(log.empty());  // ... but it no longer reaches the component

    auto other = std::make_shared<TestEventSource>();
    {
        TDWebBrowserEvents2 owned{nullptr};
        owned.Connect(other);
    }
    EXPECT_EQ(other->unadvises, 1);
    EXPECT_EQ(other->Held(), 0u);
}

}  // namespace
