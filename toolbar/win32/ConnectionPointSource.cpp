#include "toolbar/win32/ConnectionPointSource.h"

#include <ocidl.h>
#include <wrl/client.h>

#include "platform/win32/Win32Browser.h"
#include "runtime/Format.h"
#include "toolbar/win32/TSinkDispatch.h"

using Microsoft::WRL::ComPtr;

namespace toolbar::win32 {
namespace {

void Check(HRESULT result, const char* call) {
    if (FAILED(result))
        throw rt::EOleException(rt::Format("%s failed with the automation error %.8x",
                                           {std::string(call), static_cast<unsigned>(result)}));
}

class TConnectionPointLink final : public IEventConnection {
public:
    TConnectionPointLink(ComPtr<IConnectionPoint> point, ComPtr<TSinkDispatch> dispatch)
        : point_(std::move(point)), dispatch_(std::move(dispatch)) {}
    // Whatever the browser still holds stops reaching the component.
    ~TConnectionPointLink() override { dispatch_->Detach(); }

    void Advise() { Check(point_->Advise(static_cast<IDispatch*>(dispatch_.Get()), &cookie_), "Advise"); }
    void Unadvise() override { Check(point_->Unadvise(cookie_), "Unadvise"); }

private:
    ComPtr<IConnectionPoint> point_;    // the source's point for the events interface
    ComPtr<TSinkDispatch> dispatch_;    // what the point was advised with
    DWORD cookie_ = 0;                  // Advise's number for the connection
};

class TConnectionPointSource final : public IEventSource {
public:
    TConnectionPointSource(ComPtr<IUnknown> source, TSinkDispatch::TModuleLock moduleLock)
        : source_(std::move(source)), moduleLock_(moduleLock) {}

    std::unique_ptr<IEventConnection> Advise(TSHDocVwEventsBaseSink& sink) override {
        ComPtr<IConnectionPointContainer> container;
        Check(source_.As(&container), "QueryInterface(IConnectionPointContainer)");
        if (!container) Check(E_NOINTERFACE, "QueryInterface(IConnectionPointContainer)");
        ComPtr<TSinkDispatch> dispatch = TSinkDispatch::Create(sink, moduleLock_);
        ComPtr<IConnectionPoint> point;
        Check(container->FindConnectionPoint(dispatch->EventsInterface(), &point), "FindConnectionPoint");
        if (!point) Check(E_POINTER, "FindConnectionPoint");
        // Made before Advise, so that a failure from here on detaches the dispatch.
        auto link = std::make_unique<TConnectionPointLink>(std::move(point), std::move(dispatch));
        link->Advise();
        return link;
    }

private:
    ComPtr<IUnknown> source_;                  // the object with the events
    TSinkDispatch::TModuleLock moduleLock_;    // counts the sink dispatches; may be null
};

}  // namespace

std::shared_ptr<IEventSource> EventSourceFrom(IUnknown* source, TSinkDispatch::TModuleLock moduleLock) {
    if (!source) return nullptr;
    return std::make_shared<TConnectionPointSource>(ComPtr<IUnknown>(source), moduleLock);
}

std::shared_ptr<IEventSource> EventSourceOf(const std::shared_ptr<platform::IBrowser>& browser) {
    return EventSourceFrom(platform::win32::AutomationOf(browser));
}

}  // namespace toolbar::win32
