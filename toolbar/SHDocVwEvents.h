#pragma once
// SHDocVwEvents: the browser's outgoing automation events (the dispatch
// interface DWebBrowserEvents2) as ordinary component events. The base sink
// connects to an event source and routes calls by dispatch identifier;
// TDWebBrowserEvents2 knows the identifiers and parameters of the events.
//
// No COM here: a call's arguments arrive through IDispArgs and the
// connection goes through IEventSource. toolbar/win32 implements both over
// DISPPARAMS and connection points; the tests bring their own.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Browser.h"
#include "runtime/Classes.h"
#include "runtime/Variants.h"

namespace toolbar {

struct TGUID {
    std::uint32_t D1;
    std::uint16_t D2, D3;
    std::uint8_t D4[8];
    bool operator==(const TGUID&) const = default;
};

// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr TGUID DIID_DWebBrowserEvents2 = {
    0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

// An automation object an event hands over (pDisp, ppDisp); null for none.
using TDispatch = std::shared_ptr<platform::IBrowserObject>;

// ------------------------------------------------------------ arguments

// An argument's type, behind a reference when it is one.
enum class TDispArgType { Empty, Null, Bool, Integer, Float, Text, Dispatch, Other };

// An argument has no reading of the asked type, or cannot take the value
// written back (COM's DISP_E_TYPEMISMATCH).
class EDispArgTypeError : public rt::Exception {
public:
    EDispArgTypeError(std::string message, std::size_t element)
        : rt::Exception(std::move(message)), element_(element) {}
    std::size_t Element() const { return element_; }

private:
    std::size_t element_;
};

// The arguments of one call as IDispatch::Invoke receives them: elements of
// the caller's block, the named ones first, then the positional ones from
// the last parameter to the first (rt::MapArguments finds a parameter's
// element). Readings convert as COM converts; one that does not fit raises
// EDispArgTypeError.
class IDispArgs {
public:
    virtual ~IDispArgs() = default;
    virtual std::size_t Count() const = 0;
    // The parameter number of each named element, in element order.
    virtual std::vector<int> NamedIds() const = 0;
    virtual TDispArgType Type(std::size_t element) const = 0;
    virtual bool IsByRef(std::size_t element) const = 0;

    virtual std::string Text(std::size_t element) const = 0;
    virtual int Integer(std::size_t element) const = 0;
    virtual bool Bool(std::size_t element) const = 0;
    // What the runtime's variant cannot hold (arrays, objects) reads as empty.
    virtual rt::Variant Value(std::size_t element) const = 0;
    // Empty and null read as no object.
    virtual TDispatch Dispatch(std::size_t element) const = 0;

    // Into a by-reference element, converted to the type it refers to.
    virtual void SetBool(std::size_t element, bool value) = 0;
    virtual void SetInteger(std::size_t element, int value) = 0;
    virtual void SetValue(std::size_t element, const rt::Variant& value) = 0;
    virtual void SetDispatch(std::size_t element, const TDispatch& value) = 0;
};

// What Invoke answers.
struct TInvokeResult {
    enum class TCode { Ok, MemberNotFound, BadParamCount, ParamNotFound, TypeMismatch, Exception };
    TCode Code = TCode::Ok;
    std::size_t ArgError = 0;  // ParamNotFound, TypeMismatch: the element at fault
    std::string Message;       // Exception: what the handler raised

    static TInvokeResult Fault(TCode code, std::size_t argError = 0) {
        TInvokeResult r;
        r.Code = code;
        r.ArgError = argError;
        return r;
    }
    static TInvokeResult Raised(std::string message) {
        TInvokeResult r;
        r.Code = TCode::Exception;
        r.Message = std::move(message);
        return r;
    }
};

// ------------------------------------------------------------ connection

class TSHDocVwEventsBaseSink;

// One advised connection; letting go of it stops the events reaching the
// sink, whether or not Unadvise succeeded.
class IEventConnection {
public:
    virtual ~IEventConnection() = default;
    // Unadvise with the connection's cookie; raises when it fails.
    virtual void Unadvise() = 0;
};

// An object with outgoing events (the browser, as a connection point container).
class IEventSource {
public:
    virtual ~IEventSource() = default;
    // Finds the connection point for the sink's interface and advises the
    // sink there; raises when any step fails.
    virtual std::unique_ptr<IEventConnection> Advise(TSHDocVwEventsBaseSink& sink) = 0;
};

// ------------------------------------------------------------ sinks

class TSHDocVwEventsBaseSink : public rt::TComponent {
    RT_CLASS_SAME_PROPS(TSHDocVwEventsBaseSink, rt::TComponent)
public:
    explicit TSHDocVwEventsBaseSink(rt::TComponent* owner);
    ~TSHDocVwEventsBaseSink() override;  // disconnects

    // Disconnects, then advises this sink at `source` and keeps it. Any
    // failure raises rt::Exception "Unable to connect %s.\r%s" (the name,
    // the error's message) and leaves the sink disconnected.
    void Connect(std::shared_ptr<IEventSource> source);
    // Unadvises and lets go of the source; silent when that fails.
    void Disconnect() noexcept;
    bool Connected() const { return connection_ != nullptr; }
    const TGUID& SinkIID() const { return sinkIID_; }

    // A method call (rt::DispatchMethod in `flags`) goes to DoInvoke with its
    // argument map; any other raises "%s only supports sinking of method calls!".
    TInvokeResult Invoke(int dispId, unsigned flags, IDispArgs& args);

protected:
    // The event router. `argMap` gives each parameter's element in `args`.
    virtual TInvokeResult DoInvoke(int dispId, IDispArgs& args, const std::vector<std::size_t>& argMap) = 0;

    TGUID sinkIID_{};  // the events interface served; set by the derived class

private:
    std::shared_ptr<IEventSource> source_;          // the connected source; null when disconnected
    std::unique_ptr<IEventConnection> connection_;  // its advised connection; null when disconnected
};

// The event types. Var parameters are the caller's own values: what a
// handler changes goes back to by-reference arguments (a by-value argument
// keeps the caller's value, as a copy would).
using TDWebBrowserEvents2StatusTextChangeEvent = std::function<void(rt::TObject* Sender, const std::string& Text)>;
using TDWebBrowserEvents2ProgressChangeEvent = std::function<void(rt::TObject* Sender, int Progress, int ProgressMax)>;
using TDWebBrowserEvents2CommandStateChangeEvent = std::function<void(rt::TObject* Sender, int Command, bool Enable)>;
using TDWebBrowserEvents2DownloadBeginEvent = std::function<void(rt::TObject* Sender)>;
using TDWebBrowserEvents2DownloadCompleteEvent = std::function<void(rt::TObject* Sender)>;
using TDWebBrowserEvents2TitleChangeEvent = std::function<void(rt::TObject* Sender, const std::string& Text)>;
using TDWebBrowserEvents2PropertyChangeEvent = std::function<void(rt::TObject* Sender, const std::string& szProperty)>;
using TDWebBrowserEvents2BeforeNavigate2Event =
    std::function<void(rt::TObject* Sender, const TDispatch& pDisp, rt::Variant& URL, rt::Variant& Flags,
                       rt::Variant& TargetFrameName, rt::Variant& PostData, rt::Variant& Headers, bool& Cancel)>;
using TDWebBrowserEvents2NewWindow2Event = std::function<void(rt::TObject* Sender, TDispatch& ppDisp, bool& Cancel)>;
using TDWebBrowserEvents2NavigateComplete2Event =
    std::function<void(rt::TObject* Sender, const TDispatch& pDisp, rt::Variant& URL)>;
using TDWebBrowserEvents2DocumentCompleteEvent =
    std::function<void(rt::TObject* Sender, const TDispatch& pDisp, rt::Variant& URL)>;
using TDWebBrowserEvents2OnQuitEvent = std::function<void(rt::TObject* Sender)>;
using TDWebBrowserEvents2OnVisibleEvent = std::function<void(rt::TObject* Sender, bool Visible)>;
using TDWebBrowserEvents2OnToolBarEvent = std::function<void(rt::TObject* Sender, bool ToolBar)>;
using TDWebBrowserEvents2OnMenuBarEvent = std::function<void(rt::TObject* Sender, bool MenuBar)>;
using TDWebBrowserEvents2OnStatusBarEvent = std::function<void(rt::TObject* Sender, bool StatusBar)>;
using TDWebBrowserEvents2OnFullScreenEvent = std::function<void(rt::TObject* Sender, bool FullScreen)>;
using TDWebBrowserEvents2OnTheaterModeEvent = std::function<void(rt::TObject* Sender, bool TheaterMode)>;
using TDWebBrowserEvents2WindowSetResizableEvent = std::function<void(rt::TObject* Sender, bool Resizable)>;
using TDWebBrowserEvents2WindowSetLeftEvent = std::function<void(rt::TObject* Sender, int Left)>;
using TDWebBrowserEvents2WindowSetTopEvent = std::function<void(rt::TObject* Sender, int Top)>;
using TDWebBrowserEvents2WindowSetWidthEvent = std::function<void(rt::TObject* Sender, int Width)>;
using TDWebBrowserEvents2WindowSetHeightEvent = std::function<void(rt::TObject* Sender, int Height)>;
using TDWebBrowserEvents2WindowClosingEvent =
    std::function<void(rt::TObject* Sender, bool IsChildWindow, bool& Cancel)>;
using TDWebBrowserEvents2ClientToHostWindowEvent = std::function<void(rt::TObject* Sender, int& CX, int& CY)>;
using TDWebBrowserEvents2SetSecureLockIconEvent = std::function<void(rt::TObject* Sender, int SecureLockIcon)>;
using TDWebBrowserEvents2FileDownloadEvent = std::function<void(rt::TObject* Sender, bool& Cancel)>;
using TDWebBrowserEvents2NavigateErrorEvent =
    std::function<void(rt::TObject* Sender, const TDispatch& pDisp, rt::Variant& URL, rt::Variant& Frame,
                       rt::Variant& StatusCode, bool& Cancel)>;
using TDWebBrowserEvents2PrintTemplateInstantiationEvent =
    std::function<void(rt::TObject* Sender, const TDispatch& pDisp)>;
using TDWebBrowserEvents2PrintTemplateTeardownEvent = std::function<void(rt::TObject* Sender, const TDispatch& pDisp)>;
using TDWebBrowserEvents2UpdatePageStatusEvent =
    std::function<void(rt::TObject* Sender, const TDispatch& pDisp, rt::Variant& nPage, rt::Variant& fDone)>;
using TDWebBrowserEvents2PrivacyImpactedStateChangeEvent = std::function<void(rt::TObject* Sender, bool bImpacted)>;

// The browser's events. A call whose handler is not assigned answers Ok
// without reading its arguments; a handler's exception becomes an Exception
// result carrying its message.
class TDWebBrowserEvents2 : public TSHDocVwEventsBaseSink {
    RT_CLASS(TDWebBrowserEvents2)
public:
    explicit TDWebBrowserEvents2(rt::TComponent* owner);

    TDWebBrowserEvents2StatusTextChangeEvent StatusTextChange;
    TDWebBrowserEvents2ProgressChangeEvent ProgressChange;
    TDWebBrowserEvents2CommandStateChangeEvent CommandStateChange;
    TDWebBrowserEvents2DownloadBeginEvent DownloadBegin;
    TDWebBrowserEvents2DownloadCompleteEvent DownloadComplete;
    TDWebBrowserEvents2TitleChangeEvent TitleChange;
    TDWebBrowserEvents2PropertyChangeEvent PropertyChange;
    TDWebBrowserEvents2BeforeNavigate2Event BeforeNavigate2;
    TDWebBrowserEvents2NewWindow2Event NewWindow2;
    TDWebBrowserEvents2NavigateComplete2Event NavigateComplete2;
    TDWebBrowserEvents2DocumentCompleteEvent DocumentComplete;
    TDWebBrowserEvents2OnQuitEvent OnQuit;
    TDWebBrowserEvents2OnVisibleEvent OnVisible;
    TDWebBrowserEvents2OnToolBarEvent OnToolBar;
    TDWebBrowserEvents2OnMenuBarEvent OnMenuBar;
    TDWebBrowserEvents2OnStatusBarEvent OnStatusBar;
    TDWebBrowserEvents2OnFullScreenEvent OnFullScreen;
    TDWebBrowserEvents2OnTheaterModeEvent OnTheaterMode;
    TDWebBrowserEvents2WindowSetResizableEvent WindowSetResizable;
    TDWebBrowserEvents2WindowSetLeftEvent WindowSetLeft;
    TDWebBrowserEvents2WindowSetTopEvent WindowSetTop;
    TDWebBrowserEvents2WindowSetWidthEvent WindowSetWidth;
    TDWebBrowserEvents2WindowSetHeightEvent WindowSetHeight;
    TDWebBrowserEvents2WindowClosingEvent WindowClosing;
    TDWebBrowserEvents2ClientToHostWindowEvent ClientToHostWindow;
    TDWebBrowserEvents2SetSecureLockIconEvent SetSecureLockIcon;
    TDWebBrowserEvents2FileDownloadEvent FileDownload;
    TDWebBrowserEvents2NavigateErrorEvent NavigateError;
    TDWebBrowserEvents2PrintTemplateInstantiationEvent PrintTemplateInstantiation;
    TDWebBrowserEvents2PrintTemplateTeardownEvent PrintTemplateTeardown;
    TDWebBrowserEvents2UpdatePageStatusEvent UpdatePageStatus;
    TDWebBrowserEvents2PrivacyImpactedStateChangeEvent PrivacyImpactedStateChange;

protected:
    TInvokeResult DoInvoke(int dispId, IDispArgs& args, const std::vector<std::size_t>& argMap) override;
};

}  // namespace toolbar
