#pragma once
// Stand-ins whose every call from a module can be made to fail in turn: the
// browser (IWebBrowser2 with its IDispatch), its events (the connection
// point container and point) and the band site (window, focus, commands,
// services). A run first counts the calls a scenario makes; each later run
// fails one of them with E_FAIL, or answers it S_OK with its out-value null.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "FakeBandSite.h"
#include "FakeBrowser.h"

namespace zrtest::faults {

// One event to every sink of `events`, its arguments last-first as DISPPARAMS
// carries them; what the sink put in the exception block is freed.
inline HRESULT Fire(zrtest::FakeEvents& events, DISPID id, std::vector<VARIANT> lastFirst) {
    DISPPARAMS params{lastFirst.data(), nullptr, static_cast<UINT>(lastFirst.size()), 0};
    EXCEPINFO info{};
    UINT argError = 0;
    const HRESULT result = events.Fire(id, &params, DISPATCH_METHOD, &info, &argError);
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    return result;
}

enum class Fault { Pass, Fail, NullOut };

// The calls of one run, and the one call the run tampers with.
class FaultPlan {
public:
    struct Call {
        std::string name;
        bool hasOut;  // an out-value the caller reads: a NullOut run is possible
    };

    void Count() { Inject(kNone, Fault::Pass); }
    void Inject(std::size_t index, Fault fault) {
        target_ = index;
        fault_ = fault;
        calls_.clear();
        injected_.clear();
    }

    // Records the call; its fate in this run.
    Fault Enter(std::string name, bool hasOut) {
        const std::size_t index = calls_.size();
        calls_.push_back({std::move(name), hasOut});
        if (index != target_ || (fault_ == Fault::NullOut && !hasOut)) return Fault::Pass;
        injected_ = calls_.back().name;
        return fault_;
    }

    // The run without faults, where the scenario must work in full.
    bool Counting() const { return target_ == kNone; }
    const std::vector<Call>& Calls() const { return calls_; }
    const std::string& Injected() const { return injected_; }  // empty: the run never got that far

    // Stand-ins alive: zero once the module and the test let go of them all.
    void Born() { ++live_; }
    void Died() { --live_; }
    int Live() const { return live_; }

    std::string Trace() const {
        std::string text;
        for (std::size_t i = 0; i < calls_.size(); ++i) text += std::to_string(i) + " " + calls_[i].name + "\n";
        return text;
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<Call> calls_;
    std::size_t target_ = kNone;
    Fault fault_ = Fault::Pass;
    std::string injected_;
    int live_ = 0;
};

// The call's answer under the plan: E_FAIL (interface out-pointers nulled,
// as COM requires), S_OK with the out-value zeroed without doing anything,
// or the stand-in's own work.
template <class Out, class Work>
HRESULT Gate(FaultPlan& plan, std::string name, Out* out, Work&& work) {
    switch (plan.Enter(std::move(name), out != nullptr)) {
    case Fault::Fail:
        if constexpr (std::is_pointer_v<Out>) {
            if (out) *out = nullptr;
        }
        return E_FAIL;
    case Fault::NullOut:
        *out = Out{};
        return S_OK;
    case Fault::Pass:
        break;
    }
    return work();
}

// A call without an out-value: it fails or does its work.
template <class Work>
HRESULT Gate(FaultPlan& plan, std::string name, Work&& work) {
    return plan.Enter(std::move(name), false) == Fault::Fail ? E_FAIL : work();
}

inline std::string NameOf(REFIID iid) {
    static const struct {
        const IID* iid;
        const char* name;
    } kNames[] = {
        {&IID_IUnknown, "IUnknown"},
        {&IID_IDispatch, "IDispatch"},
        {&IID_IWebBrowser2, "IWebBrowser2"},
        {&IID_IWebBrowserApp, "IWebBrowserApp"},
        {&IID_IConnectionPointContainer, "IConnectionPointContainer"},
        {&IID_IConnectionPoint, "IConnectionPoint"},
        {&IID_IOleWindow, "IOleWindow"},
        {&IID_IInputObjectSite, "IInputObjectSite"},
        {&IID_IOleCommandTarget, "IOleCommandTarget"},
        {&IID_IServiceProvider, "IServiceProvider"},
        {&kBrowserEvents, "DWebBrowserEvents2"},
    };
    for (const auto& known : kNames)
        if (IsEqualIID(iid, *known.iid)) return known.name;
    wchar_t text[40] = {};
    ::StringFromGUID2(iid, text, 40);
    return std::string(text, text + std::char_traits<wchar_t>::length(text));
}

// ------------------------------------------------------------ the stand-ins

// Takes over the one reference a fresh stand-in starts with (mingw's
// ComPtr::Attach adds a reference of its own, which would keep it alive).
template <class T>
ComPtr<T> Own(T* fresh) {
    ComPtr<T> object;
    *object.GetAddressOf() = fresh;
    return object;
}

// The browser's events: the connection point container and its one point.
class FaultyEvents final : public FakeEvents {
public:
    explicit FaultyEvents(FaultPlan& plan) : plan_(plan) { plan_.Born(); }
    ~FaultyEvents() override { plan_.Died(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return Gate(plan_, "Events::QueryInterface(" + NameOf(iid) + ")", out,
                    [&] { return FakeEvents::QueryInterface(iid, out); });
    }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
        return Gate(plan_, "IConnectionPointContainer::EnumConnectionPoints", points,
                    [&] { return FakeEvents::EnumConnectionPoints(points); });
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        return Gate(plan_, "IConnectionPointContainer::FindConnectionPoint", point,
                    [&] { return FakeEvents::FindConnectionPoint(iid, point); });
    }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        return Gate(plan_, "IConnectionPoint::GetConnectionInterface", iid,
                    [&] { return FakeEvents::GetConnectionInterface(iid); });
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override {
        return Gate(plan_, "IConnectionPoint::GetConnectionPointContainer", container,
                    [&] { return FakeEvents::GetConnectionPointContainer(container); });
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        return Gate(plan_, "IConnectionPoint::Advise", cookie, [&] { return FakeEvents::Advise(sink, cookie); });
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        return Gate(plan_, "IConnectionPoint::Unadvise", [&] { return FakeEvents::Unadvise(cookie); });
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override {
        return Gate(plan_, "IConnectionPoint::EnumConnections", connections,
                    [&] { return FakeEvents::EnumConnections(connections); });
    }

private:
    FaultPlan& plan_;
};

// The browser: what the stand-in implements, its IDispatch, and its events.
class FaultyBrowser final : public FakeBrowser {
public:
    explicit FaultyBrowser(FaultPlan& plan) : plan_(plan) {
        plan_.Born();
        events = Own(new FaultyEvents(plan));
        locationUrl = L"http://www.example.com/news/index.html";
    }
    ~FaultyBrowser() override { plan_.Died(); }

    static ComPtr<FaultyBrowser> Make(FaultPlan& plan) { return Own(new FaultyBrowser(plan)); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return Gate(plan_, "Browser::QueryInterface(" + NameOf(iid) + ")", out,
                    [&] { return FakeBrowser::QueryInterface(iid, out); });
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return Gate(plan_, "IDispatch::GetTypeInfoCount", count, [&] { return FakeBrowser::GetTypeInfoCount(count); });
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return Gate(plan_, "IDispatch::GetTypeInfo", info, [&] { return FakeBrowser::GetTypeInfo(index, locale, info); });
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        return Gate(plan_, "IDispatch::GetIDsOfNames", ids,
                    [&] { return FakeBrowser::GetIDsOfNames(iid, names, count, locale, ids); });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT* argError) override {
        return Gate(plan_, "IDispatch::Invoke", result,
                    [&] { return FakeBrowser::Invoke(id, iid, locale, flags, params, result, info, argError); });
    }

    // IWebBrowser2
    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) override {
        return Gate(plan_, "IWebBrowser2::Navigate", [&] { return FakeBrowser::Navigate(url, flags, target, post, headers); });
    }
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) override {
        return Gate(plan_, "IWebBrowser2::Navigate2", [&] { return FakeBrowser::Navigate2(url, flags, target, post, headers); });
    }
    HRESULT STDMETHODCALLTYPE Stop() override {
        return Gate(plan_, "IWebBrowser2::Stop", [&] { return FakeBrowser::Stop(); });
    }
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT* level) override {
        return Gate(plan_, "IWebBrowser2::Refresh2", [&] { return FakeBrowser::Refresh2(level); });
    }
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override {
        return Gate(plan_, "IWebBrowser2::get_LocationURL", url, [&] { return FakeBrowser::get_LocationURL(url); });
    }
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override {
        return Gate(plan_, "IWebBrowser2::get_LocationName", name, [&] { return FakeBrowser::get_LocationName(name); });
    }
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* value) override {
        return Gate(plan_, "IWebBrowser2::get_Busy", value, [&] { return FakeBrowser::get_Busy(value); });
    }
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* state) override {
        return Gate(plan_, "IWebBrowser2::get_ReadyState", state, [&] { return FakeBrowser::get_ReadyState(state); });
    }
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override {
        return Gate(plan_, "IWebBrowser2::get_Document", document, [&] { return FakeBrowser::get_Document(document); });
    }
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* handle) override {
        return Gate(plan_, "IWebBrowser2::get_HWND", handle, [&] { return FakeBrowser::get_HWND(handle); });
    }
    HRESULT STDMETHODCALLTYPE put_Left(LONG value) override {
        return Gate(plan_, "IWebBrowser2::put_Left", [&] { return FakeBrowser::put_Left(value); });
    }
    HRESULT STDMETHODCALLTYPE put_Top(LONG value) override {
        return Gate(plan_, "IWebBrowser2::put_Top", [&] { return FakeBrowser::put_Top(value); });
    }
    HRESULT STDMETHODCALLTYPE put_Width(LONG value) override {
        return Gate(plan_, "IWebBrowser2::put_Width", [&] { return FakeBrowser::put_Width(value); });
    }
    HRESULT STDMETHODCALLTYPE put_Height(LONG value) override {
        return Gate(plan_, "IWebBrowser2::put_Height", [&] { return FakeBrowser::put_Height(value); });
    }
    HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT* clsid, VARIANT* show, VARIANT* size) override {
        return Gate(plan_, "IWebBrowser2::ShowBrowserBar", [&] { return FakeBrowser::ShowBrowserBar(clsid, show, size); });
    }

    FakeEvents& Events() { return *events.Get(); }

private:
    FaultPlan& plan_;
};

// The band site: every interface present, each call gated, then recorded by
// the plain band site (which hands out the browser through its QueryService).
class FaultyBandSite final : public IOleWindow,
                             public IInputObjectSite,
                             public IOleCommandTarget,
                             public IServiceProvider,
                             public RefCounted {
public:
    FaultyBandSite(FaultPlan& plan, HWND window, ComPtr<FakeBrowser> browser)
        : plan_(plan), recorder_(window, std::move(browser)) {
        plan_.Born();
    }
    ~FaultyBandSite() override { plan_.Died(); }

    static ComPtr<FaultyBandSite> Make(FaultPlan& plan, HWND window, ComPtr<FakeBrowser> browser) {
        return Own(new FaultyBandSite(plan, window, std::move(browser)));
    }

    ZR_REFCOUNT
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        return Gate(plan_, "Site::QueryInterface(" + NameOf(iid) + ")", object, [&] {
            *object = nullptr;
            if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow))
                *object = static_cast<IOleWindow*>(this);
            else if (IsEqualIID(iid, IID_IInputObjectSite))
                *object = static_cast<IInputObjectSite*>(this);
            else if (IsEqualIID(iid, IID_IOleCommandTarget))
                *object = static_cast<IOleCommandTarget*>(this);
            else if (IsEqualIID(iid, IID_IServiceProvider))
                *object = static_cast<IServiceProvider*>(this);
            if (!*object) return E_NOINTERFACE;
            AddRef();
            return S_OK;
        });
    }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override {
        return Gate(plan_, "IOleWindow::GetWindow", window, [&] { return recorder_.GetWindow(window); });
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override {
        return Gate(plan_, "IOleWindow::ContextSensitiveHelp", [&] { return recorder_.ContextSensitiveHelp(enter); });
    }
    // IInputObjectSite
    STDMETHODIMP OnFocusChangeIS(IUnknown* from, BOOL gained) override {
        return Gate(plan_, "IInputObjectSite::OnFocusChangeIS", [&] { return recorder_.OnFocusChangeIS(from, gained); });
    }
    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD commands[], OLECMDTEXT* text) override {
        return Gate(plan_, "IOleCommandTarget::QueryStatus",
                    [&] { return recorder_.QueryStatus(group, count, commands, text); });
    }
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD options, VARIANT* in, VARIANT* out) override {
        return Gate(plan_, "IOleCommandTarget::Exec", out, [&] { return recorder_.Exec(group, id, options, in, out); });
    }
    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override {
        return Gate(plan_, "IServiceProvider::QueryService(" + NameOf(iid) + ")", object,
                    [&] { return recorder_.QueryService(service, iid, object); });
    }

    IUnknown* Unknown() { return static_cast<IOleWindow*>(this); }
    const FakeBandSite& Recorded() const { return recorder_; }

private:
    FaultPlan& plan_;
    FakeBandSite recorder_;
};

// ------------------------------------------------------------ the campaign

// Names the run in progress when the process meets a fault it cannot survive:
// the proof of no crash is the test process finishing; this says where it did not.
class RunLabel {
public:
    RunLabel() {
        handler_ = ::AddVectoredExceptionHandler(1, &OnException);
        previous_ = std::set_terminate(&OnTerminate);
    }
    ~RunLabel() {
        ::RemoveVectoredExceptionHandler(handler_);
        std::set_terminate(previous_);
        Set("");
    }
    static void Set(const std::string& label) { std::snprintf(label_, sizeof label_, "%s", label.c_str()); }

private:
    static LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
        const DWORD code = info->ExceptionRecord->ExceptionCode;
        if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_ILLEGAL_INSTRUCTION ||
            code == EXCEPTION_STACK_OVERFLOW || code == EXCEPTION_INT_DIVIDE_BY_ZERO) {
            std::fprintf(stderr, "fault %08lx during %s\n", static_cast<unsigned long>(code), label_);
            std::fflush(stderr);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    [[noreturn]] static void OnTerminate() {
        std::fprintf(stderr, "an exception escaped during %s\n", label_);
        std::fflush(stderr);
        std::abort();
    }
    static inline char label_[160] = {};
    void* handler_ = nullptr;
    std::terminate_handler previous_ = nullptr;
};

struct Figures {
    std::vector<FaultPlan::Call> calls;  // of the run without faults, in order
    std::size_t callsCounted = 0;  // in the run without faults
    std::size_t runs = 0;          // counting run included
    std::size_t failed = 0;        // runs whose call answered E_FAIL
    std::size_t nulled = 0;        // runs whose call answered S_OK with a null out-value
    std::size_t unloadable = 0;    // runs after which DllCanUnloadNow said S_OK
};

// The scenario builds its stand-ins on `plan`, drives the module and lets go
// of everything. Each run must leave no stand-in alive, no exception out of
// the module, and the module ready to unload.
inline Figures RunCampaign(FaultPlan& plan, Fault mode, const std::function<void()>& scenario,
                           HRESULT(__stdcall* canUnloadNow)()) {
    Figures figures;
    RunLabel label;
    auto run = [&](const std::string& name) {
        RunLabel::Set(name);
        SCOPED_TRACE(name);
        try {
            scenario();
        } catch (...) {
            ADD_FAILURE() << "an exception left the module";
        }
        ++figures.runs;
        EXPECT_EQ(plan.Live(), 0) << "stand-ins still referenced\n" << plan.Trace();
        const HRESULT unload = canUnloadNow();
        EXPECT_EQ(unload, S_OK) << plan.Trace();
        if (unload == S_OK) ++figures.unloadable;
    };

    plan.Count();
    run("the counting run");
    const std::vector<FaultPlan::Call> counted = plan.Calls();
    figures.calls = counted;
    figures.callsCounted = counted.size();
    EXPECT_GT(counted.size(), 0u);
    for (std::size_t i = 0; i < counted.size(); ++i) {
        if (mode == Fault::NullOut && !counted[i].hasOut) continue;
        const std::string name = std::string(mode == Fault::Fail ? "failing" : "nulling the out-value of") +
                                 " call " + std::to_string(i) + " " + counted[i].name;
        plan.Inject(i, mode);
        run(name);
        // The calls before the tampered one are the counting run's: the same call is hit.
        EXPECT_EQ(plan.Injected(), counted[i].name) << name << "\n" << plan.Trace();
        if (plan.Injected().empty()) continue;
        ++(mode == Fault::Fail ? figures.failed : figures.nulled);
    }
    return figures;
}

// The figures in the test's XML properties (named after `key`) and on its output.
inline void Report(const char* module, const char* scenario, const std::string& key, Fault mode,
                   const Figures& figures) {
    const char* what = mode == Fault::Fail ? "failed with E_FAIL" : "answered S_OK with a null out-value";
    auto record = [&key](const char* name, std::size_t value) {
        ::testing::Test::RecordProperty(key + "_" + name, static_cast<int>(value));
    };
    record("calls_counted", figures.callsCounted);
    record("runs", figures.runs);
    record(mode == Fault::Fail ? "calls_failed" : "calls_nulled", mode == Fault::Fail ? figures.failed : figures.nulled);
    record("runs_unloadable", figures.unloadable);
    auto n = [](std::size_t value) { return static_cast<unsigned long>(value); };
    std::printf("%s, %s: %lu calls counted; %lu runs; %lu calls %s; DllCanUnloadNow S_OK after %lu of %lu runs\n",
                module, scenario, n(figures.callsCounted), n(figures.runs),
                n(mode == Fault::Fail ? figures.failed : figures.nulled), what, n(figures.unloadable), n(figures.runs));
    for (std::size_t i = 0; i < figures.calls.size(); ++i)
        std::printf("  %2lu %s%s\n", n(i), figures.calls[i].name.c_str(), figures.calls[i].hasOut ? " (out-value)" : "");
    std::fflush(stdout);
}

}  // namespace zrtest::faults
