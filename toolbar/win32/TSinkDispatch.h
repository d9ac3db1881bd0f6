#pragma once
// The COM object a browser holds for an event sink component: IDispatch,
// answering also for the sink's events interface. It forwards Invoke to the
// component while attached; once the component lets it go it answers S_OK
// doing nothing, so a browser that still holds it calls nothing freed.
#include <atomic>

#include "platform/win32/EventsDispatch.h"
#include "platform/win32/Win32Api.h"

#include <oaidl.h>
#include <wrl/client.h>

namespace toolbar {
class TSHDocVwEventsBaseSink;
}

namespace toolbar::win32 {

class TSinkDispatch final : public platform::win32::TEventsDispatch {
public:
    // The module's count of live objects: a browser may hold the object after
    // the component let it go (an Unadvise that failed), and the module must
    // stay loaded until the browser releases it.
    using TModuleLock = void (*)(bool locked);

    // A new object forwarding to `sink`, with one reference owned by the
    // result; counted by `moduleLock` while it lives, when one is given.
    static Microsoft::WRL::ComPtr<TSinkDispatch> Create(TSHDocVwEventsBaseSink& sink, TModuleLock moduleLock = nullptr);

    // The sink's events interface.
    const IID& EventsInterface() const { return events_; }
    // Stops forwarding: the component is letting go of its connection.
    void Detach() { sink_ = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch
    STDMETHODIMP Invoke(DISPID dispId, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exceptionInfo, UINT* argError) override;

protected:
    TSinkDispatch(TSHDocVwEventsBaseSink& sink, TModuleLock moduleLock);
    ~TSinkDispatch();

private:
    HRESULT InvokeSink(DISPID dispId, WORD flags, DISPPARAMS* params, EXCEPINFO* exceptionInfo, UINT* argError);

    std::atomic<ULONG> refs_{1};      // references held by the browser and the connection
    IID events_;                      // the sink's events interface, answered like IDispatch
    TSHDocVwEventsBaseSink* sink_;    // the component; null once detached
    TModuleLock moduleLock_;          // counts this object in the module's; may be null
};

}  // namespace toolbar::win32
