#include "toolbar/win32/TSinkDispatch.h"

#include <cstring>
#include <string>

#include "platform/win32/Win32Browser.h"
#include "toolbar/SHDocVwEvents.h"
#include "toolbar/win32/TDispParamsArgs.h"

using Microsoft::WRL::ComPtr;

namespace toolbar::win32 {
namespace {

IID ToIID(const TGUID& guid) {
    IID iid;
    iid.Data1 = guid.D1;
    iid.Data2 = guid.D2;
    iid.Data3 = guid.D3;
    std::memcpy(iid.Data4, guid.D4, sizeof iid.Data4);
    return iid;
}

BSTR AllocText(const std::string& text) {
    const std::wstring wide = platform::win32::WideFromAnsi(text);
    return ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

HRESULT Answer(const TInvokeResult& result, const std::string& source, EXCEPINFO* exceptionInfo, UINT* argError) {
    using TCode = TInvokeResult::TCode;
    switch (result.Code) {
    case TCode::Ok: return S_OK;
    case TCode::MemberNotFound: return DISP_E_MEMBERNOTFOUND;
    case TCode::BadParamCount: return DISP_E_BADPARAMCOUNT;
    case TCode::ParamNotFound:
        if (argError) *argError = static_cast<UINT>(result.ArgError);
        return DISP_E_PARAMNOTFOUND;
    case TCode::TypeMismatch:
        if (argError) *argError = static_cast<UINT>(result.ArgError);
        return DISP_E_TYPEMISMATCH;
    case TCode::Exception:
        break;
    }
    if (exceptionInfo) {
        *exceptionInfo = EXCEPINFO{};
        exceptionInfo->scode = E_FAIL;
        exceptionInfo->bstrSource = AllocText(source);
        exceptionInfo->bstrDescription = AllocText(result.Message);
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

ComPtr<TSinkDispatch> TSinkDispatch::Create(TSHDocVwEventsBaseSink& sink, TModuleLock moduleLock) {
    ComPtr<TSinkDispatch> dispatch;
    // Takes over the first reference; this ComPtr's Attach would add a second one.
    *dispatch.GetAddressOf() = new TSinkDispatch(sink, moduleLock);
    return dispatch;
}

TSinkDispatch::TSinkDispatch(TSHDocVwEventsBaseSink& sink, TModuleLock moduleLock)
    : events_(ToIID(sink.SinkIID())), sink_(&sink), moduleLock_(moduleLock) {
    if (moduleLock_) moduleLock_(true);
}

TSinkDispatch::~TSinkDispatch() {
    if (moduleLock_) moduleLock_(false);
}

// IUnknown

STDMETHODIMP TSinkDispatch::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    const IID* const kInterfaces[] = {
        &IID_IUnknown,
        &IID_IDispatch,
        &events_,  // the browser asks its sink for the events interface
    };
    for (const IID* face : kInterfaces) {
        if (IsEqualIID(iid, *face)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TSinkDispatch::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) TSinkDispatch::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

// IDispatch

STDMETHODIMP TSinkDispatch::Invoke(DISPID dispId, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exceptionInfo, UINT* argError) {
    // A handler may disconnect, which drops the browser's reference and the connection's.
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    try {
        return InvokeSink(dispId, flags, params, exceptionInfo, argError);
    } catch (...) {
        return E_UNEXPECTED;  // out of memory while reporting an error
    }
}

HRESULT TSinkDispatch::InvokeSink(DISPID dispId, WORD flags, DISPPARAMS* params, EXCEPINFO* exceptionInfo,
                                  UINT* argError) {
    TSHDocVwEventsBaseSink* const sink = sink_;
    if (!sink) return S_OK;
    // Taken now: a handler may free the component.
    const std::string source = sink->ClassName();
    TInvokeResult answer;
    try {
        if (flags & DISPATCH_METHOD) {
            const HRESULT block = TDispParamsArgs::CheckBlock(params, argError);
            if (FAILED(block)) return block;
        }
        TDispParamsArgs args(params);
        answer = sink->Invoke(dispId, flags, args);
    } catch (const std::exception& error) {
        answer = TInvokeResult::Raised(error.what());
    } catch (...) {
        answer = TInvokeResult::Raised("The event sink failed");
    }
    return Answer(answer, source, exceptionInfo, argError);
}

}  // namespace toolbar::win32
