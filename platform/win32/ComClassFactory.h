#pragma once
// The class factory of one COM class of an in-process server: it makes the
// class's objects and counts the server's locks. Each module's factory names
// its class and adds its own registry entries.
#include <atomic>

#include "platform/win32/Win32Api.h"

#include <unknwn.h>

namespace platform::win32 {

class TComClassFactory : public IClassFactory {
public:
    struct TClass {
        HRESULT (*create)(REFIID iid, void** object);  // a new object of the class
        void (*lock)(bool locked);                      // the server's count of locks and objects
    };

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

protected:
    // A new factory for the class, asked for `iid`.
    static HRESULT Create(const TClass& kind, REFIID iid, void** object);
    explicit TComClassFactory(const TClass& kind) : class_(kind) {}
    virtual ~TComClassFactory() = default;

private:
    TClass class_;
    std::atomic<ULONG> refs_{1};  // references held by callers
};

}  // namespace platform::win32
