#include "toolbar/win32/TDispParamsArgs.h"

#include <cstdint>
#include <new>

#include <wrl/client.h>

#include "platform/win32/Win32Browser.h"
#include "runtime/Format.h"

using Microsoft::WRL::ComPtr;

namespace toolbar::win32 {
namespace {

// A VARIANT cleared when it goes.
struct TVariant {
    VARIANT value;
    TVariant() { ::VariantInit(&value); }
    ~TVariant() { ::VariantClear(&value); }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
};

// An event's automation object, kept as the IDispatch it came as so that a
// handler can hand it back (NewWindow2's ppDisp).
class TDispatchObject final : public platform::IBrowserObject {
public:
    explicit TDispatchObject(ComPtr<IDispatch> object) : object_(std::move(object)) {}
    std::shared_ptr<platform::IBrowser> AsBrowser() override {
        return platform::win32::BrowserObjectFrom(object_.Get())->AsBrowser();
    }
    IDispatch* Get() const { return object_.Get(); }

private:
    ComPtr<IDispatch> object_;  // the object as the event handed it over
};

[[noreturn]] void Mismatch(std::size_t element, const char* what) {
    throw EDispArgTypeError(rt::Format("Argument %d is not %s", {static_cast<int>(element), what}), element);
}

}  // namespace

HRESULT TDispParamsArgs::CheckBlock(const DISPPARAMS* params, UINT* argError) {
    if (!params) return S_OK;
    if (params->cArgs > MaxArguments || (params->cArgs > 0 && !params->rgvarg) || params->cNamedArgs > params->cArgs)
        return DISP_E_BADPARAMCOUNT;
    if (params->cNamedArgs > 0 && !params->rgdispidNamedArgs) {
        if (argError) *argError = 0;
        return DISP_E_PARAMNOTFOUND;
    }
    return S_OK;
}

TDispParamsArgs::TDispParamsArgs(DISPPARAMS* params)
    : params_(CheckBlock(params, nullptr) == S_OK ? params : nullptr), count_(params_ ? params_->cArgs : 0) {}

std::vector<int> TDispParamsArgs::NamedIds() const {
    if (!params_) return {};
    return std::vector<int>(params_->rgdispidNamedArgs, params_->rgdispidNamedArgs + params_->cNamedArgs);
}

VARIANT& TDispParamsArgs::Element(std::size_t element) const {
    if (element >= count_) Mismatch(element, "there");
    return params_->rgvarg[element];
}

const VARIANT* TDispParamsArgs::Held(std::size_t element) const {
    const VARIANT* value = &Element(element);
    if (value->vt == (VT_BYREF | VT_VARIANT)) value = value->pvarVal;
    if (!value || ((value->vt & VT_BYREF) && !value->byref)) return nullptr;
    return value;
}

TDispArgType TDispParamsArgs::Type(std::size_t element) const {
    const VARIANT* value = Held(element);
    if (!value || (value->vt & VT_ARRAY)) return TDispArgType::Other;
    switch (value->vt & ~VT_BYREF) {
    case VT_EMPTY: return TDispArgType::Empty;
    case VT_NULL: return TDispArgType::Null;
    case VT_BOOL: return TDispArgType::Bool;
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
        return TDispArgType::Integer;
    case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_DECIMAL: return TDispArgType::Float;
    case VT_BSTR: return TDispArgType::Text;
    case VT_DISPATCH: case VT_UNKNOWN: return TDispArgType::Dispatch;
    default: return TDispArgType::Other;
    }
}

bool TDispParamsArgs::IsByRef(std::size_t element) const {
    const VARIANT& value = Element(element);
    return (value.vt & VT_BYREF) && value.byref;
}

void TDispParamsArgs::Converted(std::size_t element, VARTYPE type, VARIANT& out) const {
    const VARIANT* value = Held(element);
    // A variant referring to a variant again is no value COM would pass.
    if (!value || value->vt == (VT_BYREF | VT_VARIANT)) Mismatch(element, "a value");
    TVariant copy;
    if (FAILED(::VariantCopyInd(&copy.value, const_cast<VARIANT*>(value))) ||
        FAILED(::VariantChangeType(&out, &copy.value, VARIANT_ALPHABOOL, type)))
        Mismatch(element, type == VT_BSTR ? "text" : type == VT_BOOL ? "a boolean" : type == VT_I4 ? "an integer"
                                                                   : "an automation object");
}

std::string TDispParamsArgs::Text(std::size_t element) const {
    TVariant text;
    Converted(element, VT_BSTR, text.value);
    return platform::win32::AnsiFromWide(text.value.bstrVal, ::SysStringLen(text.value.bstrVal));
}

int TDispParamsArgs::Integer(std::size_t element) const {
    TVariant number;
    Converted(element, VT_I4, number.value);
    return number.value.lVal;
}

bool TDispParamsArgs::Bool(std::size_t element) const {
    TVariant flag;
    Converted(element, VT_BOOL, flag.value);
    return flag.value.boolVal != VARIANT_FALSE;
}

rt::Variant TDispParamsArgs::Value(std::size_t element) const {
    switch (Type(element)) {
    case TDispArgType::Empty: return rt::Variant();
    case TDispArgType::Null: return rt::Variant(rt::Variant::Null{});
    case TDispArgType::Bool: return rt::Variant(Bool(element));
    case TDispArgType::Text: return rt::Variant(Text(element));
    case TDispArgType::Integer: {
        TVariant number;
        Converted(element, VT_I8, number.value);  // an unsigned beyond it fails as a mismatch
        return rt::Variant(static_cast<std::int64_t>(number.value.llVal));
    }
    case TDispArgType::Float: {
        TVariant number;
        Converted(element, VT_R8, number.value);
        return rt::Variant(number.value.dblVal);
    }
    case TDispArgType::Dispatch:
    case TDispArgType::Other: break;
    }
    return rt::Variant();
}

TDispatch TDispParamsArgs::Dispatch(std::size_t element) const {
    const TDispArgType type = Type(element);
    if (type == TDispArgType::Empty || type == TDispArgType::Null) return nullptr;
    TVariant object;
    Converted(element, VT_DISPATCH, object.value);
    if (!object.value.pdispVal) return nullptr;
    return std::make_shared<TDispatchObject>(ComPtr<IDispatch>(object.value.pdispVal));
}

void TDispParamsArgs::Store(std::size_t element, VARIANT& value) {
    VARIANT& target = Element(element);
    if (!(target.vt & VT_BYREF) || !target.byref) Mismatch(element, "a reference");
    if (target.vt == (VT_BYREF | VT_VARIANT)) {
        TVariant copy;
        if (FAILED(::VariantCopy(&copy.value, &value))) Mismatch(element, "a variant");
        ::VariantClear(target.pvarVal);  // releases what the caller's variant held
        *target.pvarVal = copy.value;
        copy.value.vt = VT_EMPTY;        // handed over
        return;
    }
    const VARTYPE type = target.vt & ~VT_BYREF;
    TVariant converted;
    if ((type & VT_ARRAY) || FAILED(::VariantChangeType(&converted.value, &value, 0, type)))
        Mismatch(element, "able to take the value");
    VARIANT& v = converted.value;
    switch (type) {
    case VT_BOOL: *target.pboolVal = v.boolVal; return;
    case VT_I1: *target.pcVal = v.cVal; return;
    case VT_UI1: *target.pbVal = v.bVal; return;
    case VT_I2: *target.piVal = v.iVal; return;
    case VT_UI2: *target.puiVal = v.uiVal; return;
    case VT_I4: *target.plVal = v.lVal; return;
    case VT_UI4: *target.pulVal = v.ulVal; return;
    case VT_I8: *target.pllVal = v.llVal; return;
    case VT_UI8: *target.pullVal = v.ullVal; return;
    case VT_INT: *target.pintVal = v.intVal; return;
    case VT_UINT: *target.puintVal = v.uintVal; return;
    case VT_R4: *target.pfltVal = v.fltVal; return;
    case VT_R8: *target.pdblVal = v.dblVal; return;
    case VT_CY: *target.pcyVal = v.cyVal; return;
    case VT_DATE: *target.pdate = v.date; return;
    case VT_ERROR: *target.pscode = v.scode; return;
    // The caller owns what the reference holds: the old value goes, the new one is handed over.
    case VT_BSTR:
        ::SysFreeString(*target.pbstrVal);
        *target.pbstrVal = v.bstrVal;
        v.vt = VT_EMPTY;
        return;
    case VT_DISPATCH:
        if (*target.ppdispVal) (*target.ppdispVal)->Release();
        *target.ppdispVal = v.pdispVal;
        v.vt = VT_EMPTY;
        return;
    case VT_UNKNOWN:
        if (*target.ppunkVal) (*target.ppunkVal)->Release();
        *target.ppunkVal = v.punkVal;
        v.vt = VT_EMPTY;
        return;
    default: Mismatch(element, "of a type that can be written");
    }
}

void TDispParamsArgs::SetBool(std::size_t element, bool value) {
    TVariant v;
    v.value.vt = VT_BOOL;
    v.value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    Store(element, v.value);
}

void TDispParamsArgs::SetInteger(std::size_t element, int value) {
    TVariant v;
    v.value.vt = VT_I4;
    v.value.lVal = value;
    Store(element, v.value);
}

void TDispParamsArgs::SetValue(std::size_t element, const rt::Variant& value) {
    TVariant v;
    const std::string type = value.TypeName();
    if (type == "Null") {
        v.value.vt = VT_NULL;
    } else if (type == "Boolean") {
        v.value.vt = VT_BOOL;
        v.value.boolVal = value.ToBool() ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (type == "Int64") {
        const std::int64_t number = value.ToInt64();
        if (number >= INT32_MIN && number <= INT32_MAX) {
            v.value.vt = VT_I4;
            v.value.lVal = static_cast<LONG>(number);
        } else {
            v.value.vt = VT_I8;
            v.value.llVal = number;
        }
    } else if (type == "Double") {
        v.value.vt = VT_R8;
        v.value.dblVal = value.ToDouble();
    } else if (type == "String") {
        const std::wstring wide = platform::win32::WideFromAnsi(value.ToString());
        v.value.bstrVal = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (!v.value.bstrVal) throw std::bad_alloc();
        v.value.vt = VT_BSTR;
    }
    Store(element, v.value);
}

void TDispParamsArgs::SetDispatch(std::size_t element, const TDispatch& value) {
    auto* object = dynamic_cast<TDispatchObject*>(value.get());
    if (value && !object) Mismatch(element, "an automation object");  // not one an event handed over
    TVariant v;
    v.value.vt = VT_DISPATCH;
    v.value.pdispVal = object ? object->Get() : nullptr;
    if (v.value.pdispVal) v.value.pdispVal->AddRef();
    Store(element, v.value);
}

}  // namespace toolbar::win32
