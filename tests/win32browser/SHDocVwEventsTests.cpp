// The toolbar's browser event sink advised at the test's own browser: events
// arrive through IDispatch::Invoke as a browser sends them, and as a faulty
// caller might.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "FakeBrowser.h"
#include "platform/win32/Win32Browser.h"
#include "toolbar/SHDocVwEvents.h"
#include "toolbar/win32/ConnectionPointSource.h"

using toolbar::TDispatch;
using toolbar::TDWebBrowserEvents2;
using toolbar::win32::EventSourceFrom;
using zrtest::ComPtr;
using zrtest::FakeBrowser;
using zrtest::FakePlugin;
using zrtest::Make;

namespace {

template <class T>
ULONG Refs(T* object) {
    object->AddRef();
    return object->Release();
}

// An object of the portable side that no event handed over.
class PortableObject : public platform::IBrowserObject {
public:
    std::shared_ptr<platform::IBrowser> AsBrowser() override { return nullptr; }
};

VARIANT Text(const wchar_t* text) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(text);
    return v;
}
VARIANT Int(LONG value) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}
VARIANT Bool(bool value) {
    VARIANT v;
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}
VARIANT Object(IDispatch* object, VARTYPE type = VT_DISPATCH) {
    VARIANT v;
    v.vt = type;
    v.punkVal = object;
    object->AddRef();  // the variant's own reference
    return v;
}
template <class T>
VARIANT Ref(VARTYPE type, T* target) {
    VARIANT v;
    v.vt = VT_BYREF | type;
    v.byref = target;
    return v;
}

// The elements of one call, cleared afterwards (by-reference ones own nothing).
struct Block {
    Block(std::vector<VARIANT> elements, std::vector<DISPID> names = {}) : elements(std::move(elements)), names(std::move(names)) {
        params = {this->elements.data(), this->names.empty() ? nullptr : this->names.data(),
                  static_cast<UINT>(this->elements.size()), static_cast<UINT>(this->names.size())};
    }
    // Arguments in declaration order, placed last-first as the browser places them.
    static Block Positional(std::vector<VARIANT> args) {
        return Block(std::vector<VARIANT>(args.rbegin(), args.rend()));
    }
    ~Block() {
        for (VARIANT& v : elements) ::VariantClear(&v);
    }
    Block(const Block&) = delete;
    Block(Block&& other) : elements(std::move(other.elements)), names(std::move(other.names)), params(other.params) {
        other.elements.clear();
    }

    std::vector<VARIANT> elements;
    std::vector<DISPID> names;
    DISPPARAMS params;
};

class SinkTest : public ::testing::Test {
protected:
    SinkTest() {
        events->SetName("BrowserEvents");
        events->Connect(EventSourceFrom(browser.Get()));
    }

    IDispatch* Sink() { return browser->events->sinks.empty() ? nullptr : browser->events->sinks.begin()->second.Get(); }
    HRESULT Call(DISPID id, DISPPARAMS* params, UINT* argError = nullptr, WORD flags = DISPATCH_METHOD,
                 EXCEPINFO* info = nullptr) {
        return Sink()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, nullptr, info, argError);
    }

    ComPtr<FakeBrowser> browser = Make<FakeBrowser>();
    std::unique_ptr<TDWebBrowserEvents2> events = std::make_unique<TDWebBrowserEvents2>(nullptr);
};

TEST_F(SinkTest, ConnectsOnceAndAnswersAsTheEventsInterface) {
    ASSERT_EQ(browser->events->sinks.size(), 1u);
    void* face = nullptr;
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &zrtest::kBrowserEvents}) {
        ASSERT_EQ(Sink()->QueryInterface(*iid, &face), S_OK);
        EXPECT_EQ(face, Sink());
        static_cast<IUnknown*>(face)->Release();
    }
    face = &face;
    EXPECT_EQ(Sink()->QueryInterface(IID_IConnectionPoint, &face), E_NOINTERFACE);
    EXPECT_EQ(face, nullptr);
    UINT count = 7;
    EXPECT_EQ(Sink()->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(count, 0u);

    events->Connect(EventSourceFrom(browser.Get()));
    EXPECT_EQ(browser->events->sinks.size(), 1u);
    EXPECT_EQ(browser->events->unadvised, std::vector<DWORD>{1});
    events.reset();
    EXPECT_TRUE(browser->events->sinks.empty());
    EXPECT_EQ(browser->events->unadvised, (std::vector<DWORD>{1, 2}));
}

TEST_F(SinkTest, ConnectFailuresNameTheComponentAndTheStep) {
    auto expectFailure = [&](IUnknown* source, const std::string& inner) {
        try {
            events->Connect(EventSourceFrom(source));
            ADD_FAILURE() << inner;
        } catch (const rt::Exception& e) {
            EXPECT_EQ(e.Message(), "Unable to connect BrowserEvents.\r" + inner);
        }
        EXPECT_FALSE(events->Connected());
    };
    expectFailure(Make<FakePlugin>().Get(),
                  "QueryInterface(IConnectionPointContainer) failed with the automation error 80004002");
    browser->events->hasPoint = false;
    expectFailure(browser.Get(), "FindConnectionPoint failed with the automation error 80040200");
    browser->events->hasPoint = true;
    browser->events->failAdvise = true;
    expectFailure(browser.Get(), "Advise failed with the automation error 80040201");
    EXPECT_TRUE(browser->events->sinks.empty());
}

TEST_F(SinkTest, PositionalAndNamedArgumentsReachTheirParameters) {
    std::string text;
    events->StatusTextChange = [&](rt::TObject*, const std::string& t) { text = t; };
    Block status = Block::Positional({Text(L"Caf\u00e9 open")});
    EXPECT_EQ(browser->events->Fire(102, &status.params), S_OK);
    EXPECT_EQ(text, "Caf\xe9 open");  // in the system code page

    int progress = -1, progressMax = -1;
    events->ProgressChange = [&](rt::TObject*, int p, int max) {
        progress = p;
        progressMax = max;
    };
    Block named({Int(100), Int(40)}, {1, 0});
    EXPECT_EQ(Call(108, &named.params), S_OK);
    EXPECT_EQ(progress, 40);
    EXPECT_EQ(progressMax, 100);

    int command = -1;
    bool enable = false;
    events->CommandStateChange = [&](rt::TObject*, int c, bool e) {
        command = c;
        enable = e;
    };
    Block mixed({Int(1), Int(2)}, {1});  // Enable named in front of the positional Command
    EXPECT_EQ(Call(105, &mixed.params), S_OK);
    EXPECT_EQ(command, 2);
    EXPECT_TRUE(enable);  // a non-zero integer is true, as COM converts it
}

TEST_F(SinkTest, VarParametersAreWrittenIntoTheCallersValues) {
    events->BeforeNavigate2 = [](rt::TObject*, const TDispatch& pDisp, rt::Variant& url, rt::Variant& flags,
                                 rt::Variant&, rt::Variant& postData, rt::Variant&, bool& cancel) {
        EXPECT_EQ(flags.ToInt64(), 64);
        EXPECT_TRUE(postData.IsEmpty());  // a byte array the runtime's variant cannot hold
        cancel = url.ToString() == "http://ads.example/";
        url = "http://elsewhere.example/";
    };
    SAFEARRAY* bytes = ::SafeArrayCreateVector(VT_UI1, 0, 3);
    VARIANT url = Text(L"http://ads.example/"), flags = Int(64), frame = Text(L""), post, headers = Text(L"");
    post.vt = VT_ARRAY | VT_UI1;
    post.parray = bytes;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    Block nav = Block::Positional({Object(browser.Get()), Ref(VT_VARIANT, &url), Ref(VT_VARIANT, &flags),
                                   Ref(VT_VARIANT, &frame), Ref(VT_VARIANT, &post), Ref(VT_VARIANT, &headers),
                                   Ref(VT_BOOL, &cancel)});
    EXPECT_EQ(Call(250, &nav.params), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    ASSERT_EQ(url.vt, VT_BSTR);
    EXPECT_STREQ(url.bstrVal, L"http://elsewhere.example/");
    EXPECT_EQ(post.vt, VT_ARRAY | VT_UI1);  // unchanged, so untouched
    EXPECT_EQ(post.parray, bytes);

    // And back to false, into a variant holding the flag.
    VARIANT heldCancel = Bool(true);
    ::VariantClear(&url);
    url = Text(L"http://fine.example/");
    nav.elements[0] = Ref(VT_VARIANT, &heldCancel);
    EXPECT_EQ(Call(250, &nav.params), S_OK);
    EXPECT_EQ(heldCancel.vt, VT_BOOL);
    EXPECT_EQ(heldCancel.boolVal, VARIANT_FALSE);
    for (VARIANT* v : {&url, &flags, &frame, &post, &headers}) ::VariantClear(v);

    events->ClientToHostWindow = [](rt::TObject*, int& cx, int& cy) {
        cx = 640;
        cy = 480;
    };
    LONG cx = 1;
    SHORT cy = 2;  // written back in the caller's own type
    Block size = Block::Positional({Ref(VT_I4, &cx), Ref(VT_I2, &cy)});
    EXPECT_EQ(Call(268, &size.params), S_OK);
    EXPECT_EQ(cx, 640);
    EXPECT_EQ(cy, 480);
}

TEST_F(SinkTest, NewWindowHandsBackTheObjectWithItsReferencesRight) {
    ComPtr<FakeBrowser> popup = Make<FakeBrowser>(), opener = Make<FakeBrowser>();
    TDispatch kept;
    events->PrintTemplateInstantiation = [&](rt::TObject*, const TDispatch& pDisp) { kept = pDisp; };
    Block print = Block::Positional({Object(popup.Get())});
    EXPECT_EQ(Call(225, &print.params), S_OK);
    ASSERT_NE(kept, nullptr);

    const ULONG popupRefs = Refs(popup.Get()), openerRefs = Refs(opener.Get());
    TDispatch leave;  // what the handler puts in ppDisp
    events->NewWindow2 = [&](rt::TObject*, TDispatch& ppDisp, bool& cancel) { ppDisp = leave; };
    auto newWindow = [&](IDispatch*& slot) {
        VARIANT_BOOL cancel = VARIANT_TRUE;
        Block args = Block::Positional({Ref(VT_DISPATCH, &slot), Ref(VT_BOOL, &cancel)});
        const HRESULT result = Call(251, &args.params);
        EXPECT_EQ(cancel, VARIANT_TRUE);
        return result;
    };

    // Into an empty slot: the caller gets one reference of its own.
    IDispatch* slot = nullptr;
    leave = kept;
    EXPECT_EQ(newWindow(slot), S_OK);
    EXPECT_EQ(slot, static_cast<IDispatch*>(popup.Get()));
    EXPECT_EQ(Refs(popup.Get()), popupRefs + 1);

    // Over another object: that one is released.
    slot = opener.Get();
    opener->AddRef();
    EXPECT_EQ(newWindow(slot), S_OK);
    EXPECT_EQ(slot, static_cast<IDispatch*>(popup.Get()));
    EXPECT_EQ(Refs(opener.Get()), openerRefs);
    EXPECT_EQ(Refs(popup.Get()), popupRefs + 2);

    // Left as it came: nothing changes hands.
    events->NewWindow2 = [](rt::TObject*, TDispatch&, bool&) {};
    EXPECT_EQ(newWindow(slot), S_OK);
    EXPECT_EQ(Refs(popup.Get()), popupRefs + 2);

    // Cleared: the slot's reference goes.
    events->NewWindow2 = [](rt::TObject*, TDispatch& ppDisp, bool&) { ppDisp = nullptr; };
    EXPECT_EQ(newWindow(slot), S_OK);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(Refs(popup.Get()), popupRefs + 1);

    // An object that never was an automation object cannot be handed to the browser.
    events->NewWindow2 = [](rt::TObject*, TDispatch& ppDisp, bool&) { ppDisp = std::make_shared<PortableObject>(); };
    slot = opener.Get();
    opener->AddRef();
    EXPECT_EQ(newWindow(slot), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(slot, static_cast<IDispatch*>(opener.Get()));
    slot->Release();

    popup->Release();  // the reference the first call handed over
    kept.reset();
    leave.reset();
    EXPECT_EQ(Refs(popup.Get()), popupRefs - 1);
}

TEST_F(SinkTest, ADocumentsObjectIsTheBrowserItCameFrom) {
    bool top = false;
    const std::shared_ptr<platform::IBrowser> ie = platform::win32::BrowserFrom(browser.Get());
    events->DocumentComplete = [&](rt::TObject*, const TDispatch& pDisp, rt::Variant& url) {
        auto frame = pDisp ? pDisp->AsBrowser() : nullptr;
        top = frame && frame->Identity() == ie->Identity() && url.ToString() == "http://www.example.com/";
    };
    VARIANT url = Text(L"http://www.example.com/");
    Block complete = Block::Positional({Object(browser.Get(), VT_UNKNOWN), Ref(VT_VARIANT, &url)});
    EXPECT_EQ(browser->events->Fire(259, &complete.params), S_OK);
    EXPECT_TRUE(top);
    ::VariantClear(&url);
}

TEST_F(SinkTest, UnknownMembersPropertyCallsAndRaisingHandlers) {
    events->OnQuit = [](rt::TObject*) { throw rt::Exception("Caf\xe9 closed"); };
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(Call(261, &none), DISP_E_MEMBERNOTFOUND);

    EXCEPINFO info;
    std::memset(&info, 0xcc, sizeof info);
    EXPECT_EQ(Call(253, &none, nullptr, DISPATCH_METHOD, &info), DISP_E_EXCEPTION);
    EXPECT_STREQ(info.bstrDescription, L"Caf\u00e9 closed");
    EXPECT_STREQ(info.bstrSource, L"TDWebBrowserEvents2");
    EXPECT_NE(info.scode, S_OK);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrSource);
    EXPECT_EQ(Call(253, &none), DISP_E_EXCEPTION);  // with nowhere to describe it

    std::memset(&info, 0xcc, sizeof info);
    EXPECT_EQ(Call(253, &none, nullptr, DISPATCH_PROPERTYGET, &info), DISP_E_EXCEPTION);
    EXPECT_STREQ(info.bstrDescription, L"TDWebBrowserEvents2 only supports sinking of method calls!");
    EXPECT_STREQ(info.bstrSource, L"TDWebBrowserEvents2");
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrSource);
    EXPECT_EQ(Call(253, nullptr, nullptr, DISPATCH_PROPERTYPUT), DISP_E_EXCEPTION);
}

TEST_F(SinkTest, AnEventAfterTheComponentIsFreedDoesNothing) {
    int quits = 0;
    events->OnQuit = [&](rt::TObject*) { ++quits; };
    browser->events->failUnadvise = true;  // the browser keeps its sink
    ComPtr<IDispatch> sink = Sink();
    events.reset();
    ASSERT_EQ(browser->events->sinks.size(), 1u);

    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(browser->events->Fire(253, &none), S_OK);
    EXPECT_EQ(sink->Invoke(253, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(quits, 0);
    browser->events->sinks.clear();
    EXPECT_EQ(Refs(sink.Get()), 1u) << "only the test holds it now";
}

TEST_F(SinkTest, MalformedBlocksAreRefusedWithoutReadingThem) {
    int calls = 0;
    events->StatusTextChange = [&](rt::TObject*, const std::string&) { ++calls; };
    events->DownloadComplete = [&](rt::TObject*) { ++calls; };
    events->ProgressChange = [&](rt::TObject*, int, int) { ++calls; };
    EXPECT_EQ(Call(102, nullptr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(104, nullptr), S_OK);  // no block is no arguments
    EXPECT_EQ(calls, 1);

    DISPID names[] = {0, 1};
    VARIANT one[1] = {Int(5)};
    DISPPARAMS noElements{nullptr, nullptr, 1, 0}, huge{one, nullptr, 0x7fffffff, 0},
        moreNames{one, names, 1, 2}, noNames{one, nullptr, 1, 1}, tooFew{one, nullptr, 1, 0};
    UINT argError = 99;
    EXPECT_EQ(Call(102, &noElements), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(108, &huge), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(108, &moreNames), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(108, &noNames, &argError), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(argError, 0u);
    EXPECT_EQ(Call(108, &tooFew), DISP_E_BADPARAMCOUNT);

    for (const std::vector<DISPID>& outside : {std::vector<DISPID>{0, 5}, {DISPID_PROPERTYPUT, 1}, {1, 1}}) {
        Block named({Int(1), Int(2)}, outside);
        argError = 99;
        EXPECT_EQ(Call(108, &named.params, &argError), DISP_E_PARAMNOTFOUND);
        EXPECT_EQ(argError, outside[0] == 0 || outside[0] == 1 ? 1u : 0u);
    }
    EXPECT_EQ(calls, 1);
}

TEST_F(SinkTest, ArgumentsAreConvertedWhereComConvertsThem) {
    std::vector<int> lefts;
    events->WindowSetLeft = [&](rt::TObject*, int left) { lefts.push_back(left); };
    VARIANT held = Text(L"34");
    Block number = Block::Positional({Text(L"12")}), inVariant = Block::Positional({Ref(VT_VARIANT, &held)});
    EXPECT_EQ(Call(264, &number.params), S_OK);
    EXPECT_EQ(Call(264, &inVariant.params), S_OK);
    EXPECT_EQ(lefts, (std::vector<int>{12, 34}));
    ::VariantClear(&held);

    UINT argError = 99;
    Block letters = Block::Positional({Text(L"x")});
    EXPECT_EQ(Call(264, &letters.params, &argError), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u);
    VARIANT null;
    null.vt = VT_NULL;
    for (VARIANT bad : {null, Ref<LONG>(VT_I4, nullptr), Ref<VARIANT>(VT_VARIANT, nullptr)}) {
        argError = 99;
        DISPPARAMS params{&bad, nullptr, 1, 0};
        EXPECT_EQ(Call(264, &params, &argError), DISP_E_TYPEMISMATCH) << bad.vt;
        EXPECT_EQ(argError, 0u);
    }
    EXPECT_EQ(lefts.size(), 2u);

    // The first misfit in parameter order: pDisp, which the browser put last.
    events->NavigateComplete2 = [](rt::TObject*, const TDispatch&, rt::Variant&) {};
    VARIANT url = Text(L"u");
    Block wrong = Block::Positional({Text(L"not an object"), Ref(VT_VARIANT, &url)});
    EXPECT_EQ(Call(252, &wrong.params, &argError), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1u);
    ::VariantClear(&url);
}

}  // namespace
