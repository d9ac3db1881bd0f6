#include "toolbar/SHDocVwEvents.h"

#include <tuple>
#include <type_traits>
#include <utility>

#include "runtime/DispArgs.h"
#include "runtime/Format.h"

namespace toolbar {
namespace {

using TCode = TInvokeResult::TCode;

// Reading a parameter of the handler's type, and writing a var parameter back.
template <class T>
struct TArgIO;
template <>
struct TArgIO<std::string> {
    static std::string Read(const IDispArgs& args, std::size_t e) { return args.Text(e); }
};
template <>
struct TArgIO<int> {
    static int Read(const IDispArgs& args, std::size_t e) { return args.Integer(e); }
    static void Write(IDispArgs& args, std::size_t e, int value) { args.SetInteger(e, value); }
};
template <>
struct TArgIO<bool> {
    static bool Read(const IDispArgs& args, std::size_t e) { return args.Bool(e); }
    static void Write(IDispArgs& args, std::size_t e, bool value) { args.SetBool(e, value); }
};
template <>
struct TArgIO<rt::Variant> {
    static rt::Variant Read(const IDispArgs& args, std::size_t e) { return args.Value(e); }
    static void Write(IDispArgs& args, std::size_t e, const rt::Variant& value) { args.SetValue(e, value); }
};
template <>
struct TArgIO<TDispatch> {
    static TDispatch Read(const IDispArgs& args, std::size_t e) { return args.Dispatch(e); }
    static void Write(IDispArgs& args, std::size_t e, const TDispatch& value) { args.SetDispatch(e, value); }
};

template <class P>
constexpr bool kIsVar = std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;

// Only what the handler changed goes back, so an unchanged value is never
// converted into the caller's type and back.
template <class P, class T>
void WriteBack(IDispArgs& args, std::size_t element, const T& now, const T& before) {
    if constexpr (kIsVar<P>) {
        if (!(now == before) && args.IsByRef(element)) TArgIO<T>::Write(args, element, now);
    }
}

// One event's dispatcher, by the handler's type.
template <class Handler>
struct TEventCall;

template <class... P>
struct TEventCall<std::function<void(rt::TObject*, P...)>> {
    using THandler = std::function<void(rt::TObject*, P...)>;

    static TInvokeResult Fire(rt::TObject& sender, const THandler& handler, IDispArgs& args,
                              const std::vector<std::size_t>& map) {
        if (!handler) return {};
        const rt::TArgCheck check = rt::CheckArguments(sizeof...(P), args.Count(), args.NamedIds());
        if (check.Fault == rt::TArgFault::BadParamCount) return TInvokeResult::Fault(TCode::BadParamCount);
        if (check.Fault == rt::TArgFault::ParamNotFound) return TInvokeResult::Fault(TCode::ParamNotFound, check.Element);
        try {
            return Fire(sender, handler, args, map, std::index_sequence_for<P...>{});
        } catch (const EDispArgTypeError& error) {
            return TInvokeResult::Fault(TCode::TypeMismatch, error.Element());
        }
    }

    template <std::size_t... I>
    static TInvokeResult Fire(rt::TObject& sender, const THandler& handler, IDispArgs& args,
                              const std::vector<std::size_t>& map, std::index_sequence<I...>) {
        // Braces read the parameters first to last: the first misfit is the one reported.
        std::tuple<std::decay_t<P>...> values{TArgIO<std::decay_t<P>>::Read(args, map[I])...};
        [[maybe_unused]] const auto before = values;
        try {
            handler(&sender, std::get<I>(values)...);
        } catch (const std::exception& error) {
            return TInvokeResult::Raised(error.what());
        } catch (...) {
            return TInvokeResult::Raised("The event handler failed");
        }
        (WriteBack<P>(args, map[I], std::get<I>(values), std::get<I>(before)), ...);
        return {};
    }
};

template <auto Member>
TInvokeResult FireMember(TDWebBrowserEvents2& sink, IDispArgs& args, const std::vector<std::size_t>& map) {
    using THandler = std::remove_cvref_t<decltype(sink.*Member)>;
    return TEventCall<THandler>::Fire(sink, sink.*Member, args, map);
}

struct TEventEntry {
    int DispId;
    const char* Name;
    TInvokeResult (*Fire)(TDWebBrowserEvents2&, IDispArgs&, const std::vector<std::size_t>&);
};

#define ZR_EVENT(dispId, name) {dispId, #name, &FireMember<&TDWebBrowserEvents2::name>}

// In the order the events are published.
constexpr TEventEntry kEvents[] = {
    ZR_EVENT(102, StatusTextChange),
    ZR_EVENT(108, ProgressChange),
    ZR_EVENT(105, CommandStateChange),
    ZR_EVENT(106, DownloadBegin),
    ZR_EVENT(104, DownloadComplete),
    ZR_EVENT(113, TitleChange),
    ZR_EVENT(112, PropertyChange),
    ZR_EVENT(250, BeforeNavigate2),
    ZR_EVENT(251, NewWindow2),
    ZR_EVENT(252, NavigateComplete2),
    ZR_EVENT(259, DocumentComplete),
    ZR_EVENT(253, OnQuit),
    ZR_EVENT(254, OnVisible),
    ZR_EVENT(255, OnToolBar),
    ZR_EVENT(256, OnMenuBar),
    ZR_EVENT(257, OnStatusBar),
    ZR_EVENT(258, OnFullScreen),
    ZR_EVENT(260, OnTheaterMode),
    ZR_EVENT(262, WindowSetResizable),
    ZR_EVENT(264, WindowSetLeft),
    ZR_EVENT(265, WindowSetTop),
    ZR_EVENT(266, WindowSetWidth),
    ZR_EVENT(267, WindowSetHeight),
    ZR_EVENT(263, WindowClosing),
    ZR_EVENT(268, ClientToHostWindow),
    ZR_EVENT(269, SetSecureLockIcon),
    ZR_EVENT(270, FileDownload),
    ZR_EVENT(271, NavigateError),
    ZR_EVENT(225, PrintTemplateInstantiation),
    ZR_EVENT(226, PrintTemplateTeardown),
    ZR_EVENT(227, UpdatePageStatus),
    ZR_EVENT(272, PrivacyImpactedStateChange),
};

#undef ZR_EVENT

rt::TPropInfo EventProperty(const TEventEntry& entry) {
    return rt::props::Method(entry.Name, std::string("TDWebBrowserEvents2") + entry.Name + "Event");
}

template <std::size_t... I>
rt::TPropList EventProperties(std::index_sequence<I...>) {
    return rt::TPropList(TSHDocVwEventsBaseSink::ClassProperties(), {EventProperty(kEvents[I])...});
}

}  // namespace

// ------------------------------------------------------------ TSHDocVwEventsBaseSink

TSHDocVwEventsBaseSink::TSHDocVwEventsBaseSink(rt::TComponent* owner) : rt::TComponent(owner) {}

TSHDocVwEventsBaseSink::~TSHDocVwEventsBaseSink() { Disconnect(); }

void TSHDocVwEventsBaseSink::Connect(std::shared_ptr<IEventSource> source) {
    Disconnect();
    try {
        if (!source) throw rt::Exception("There is no event source");
        std::unique_ptr<IEventConnection> connection = source->Advise(*this);
        if (!connection) throw rt::Exception("The event source made no connection");
        connection_ = std::move(connection);
        source_ = std::move(source);
    } catch (const std::exception& error) {
        throw rt::Exception(rt::Format("Unable to connect %s.\r%s", {Name(), std::string(error.what())}));
    }
}

void TSHDocVwEventsBaseSink::Disconnect() noexcept {
    if (connection_) {
        try {
            connection_->Unadvise();
        } catch (...) {
            // The source may be gone already; the connection is dropped all the same.
        }
    }
    connection_.reset();
    source_.reset();
}

TInvokeResult TSHDocVwEventsBaseSink::Invoke(int dispId, unsigned flags, IDispArgs& args) {
    if ((flags & rt::DispatchMethod) == 0)
        throw rt::Exception(rt::Format("%s only supports sinking of method calls!", {ClassName()}));
    return DoInvoke(dispId, args, rt::MapArguments(args.Count(), args.NamedIds()));
}

// ------------------------------------------------------------ TDWebBrowserEvents2

const rt::TPropList& TDWebBrowserEvents2::ClassProperties() {
    static const rt::TPropList list = EventProperties(std::make_index_sequence<std::size(kEvents)>{});
    return list;
}

TDWebBrowserEvents2::TDWebBrowserEvents2(rt::TComponent* owner) : TSHDocVwEventsBaseSink(owner) {
    sinkIID_ = DIID_DWebBrowserEvents2;
}

TInvokeResult TDWebBrowserEvents2::DoInvoke(int dispId, IDispArgs& args, const std::vector<std::size_t>& argMap) {
    for (const TEventEntry& entry : kEvents)
        if (entry.DispId == dispId) return entry.Fire(*this, args, argMap);
    return TInvokeResult::Fault(TCode::MemberNotFound);
}

}  // namespace toolbar
