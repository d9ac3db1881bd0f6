#pragma once
// The IDispatch of an event sink: it only receives Invoke calls, so it has
// no type information and no names to look up.
#include "platform/win32/Win32Api.h"

#include <oaidl.h>

namespace platform::win32 {

class TEventsDispatch : public IDispatch {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) override {
        if (typeInfo) *typeInfo = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

protected:
    ~TEventsDispatch() = default;
};

}  // namespace platform::win32
