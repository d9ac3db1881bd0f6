#pragma once
// The sink's view of one Invoke's DISPPARAMS: readings convert the way COM
// converts (VariantChangeType, by-reference variants unwrapped), wide text
// arrives in the system code page, and write-backs go into the caller's own
// by-reference arguments with their reference counts kept right.
#include "platform/win32/Win32Api.h"

#include <oaidl.h>

#include "toolbar/SHDocVwEvents.h"

namespace toolbar::win32 {

class TDispParamsArgs final : public IDispArgs {
public:
    // More than this is no event's block but a malformed one.
    static constexpr UINT MaxArguments = 64;

    // S_OK when the view can read `params` (null is no arguments);
    // DISP_E_BADPARAMCOUNT for a missing or oversized block or more names
    // than arguments, DISP_E_PARAMNOTFOUND (argument 0) for missing names.
    static HRESULT CheckBlock(const DISPPARAMS* params, UINT* argError);

    // A block CheckBlock refuses reads as no arguments.
    explicit TDispParamsArgs(DISPPARAMS* params);

    std::size_t Count() const override { return count_; }
    std::vector<int> NamedIds() const override;
    TDispArgType Type(std::size_t element) const override;
    bool IsByRef(std::size_t element) const override;

    std::string Text(std::size_t element) const override;
    int Integer(std::size_t element) const override;
    bool Bool(std::size_t element) const override;
    rt::Variant Value(std::size_t element) const override;
    TDispatch Dispatch(std::size_t element) const override;

    void SetBool(std::size_t element, bool value) override;
    void SetInteger(std::size_t element, int value) override;
    void SetValue(std::size_t element, const rt::Variant& value) override;
    void SetDispatch(std::size_t element, const TDispatch& value) override;

private:
    VARIANT& Element(std::size_t element) const;
    // The value an element holds, behind at most one by-reference variant; null when a reference is null.
    const VARIANT* Held(std::size_t element) const;
    // A copy of the element's value converted to `type`; raises the type error when COM cannot convert it.
    void Converted(std::size_t element, VARTYPE type, VARIANT& out) const;
    // Writes `value` into the by-reference element, converted to its type.
    void Store(std::size_t element, VARIANT& value);

    DISPPARAMS* params_;    // the caller's block; null when there are no arguments
    std::size_t count_;     // its arguments
};

}  // namespace toolbar::win32
