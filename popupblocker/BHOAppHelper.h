#pragma once
// The helper module's one application object: where a caught exception is
// reported, and the timer that ends a blocked-cursor flash.
#include <cstdint>
#include <exception>
#include <string>

#include "runtime/Classes.h"
#include "runtime/ExtCtrls.h"

namespace popupblocker {

class TSVFormlessAppHelper : public rt::TComponent {
    RT_CLASS_SAME_PROPS(TSVFormlessAppHelper, rt::TComponent)
public:
    explicit TSVFormlessAppHelper(rt::TComponent* owner) : rt::TComponent(owner) {}
    // The one place a caught exception is reported; never raises.
    void ReportException(const std::string& where, const std::exception& error) noexcept;
};

class TBHOFormlessAppHelper : public TSVFormlessAppHelper {
    RT_CLASS_SAME_PROPS(TBHOFormlessAppHelper, TSVFormlessAppHelper)
public:
    static constexpr std::uint32_t BlockedCursorTime = 1300;

    explicit TBHOFormlessAppHelper(rt::TComponent* owner);
    ~TBHOFormlessAppHelper() override;

    // Ends a blocked-cursor flash: its tick disables it and restores the
    // cursors. Browser windows on several threads share it.
    rt::TTimer CursorTimer{nullptr};
};

// The module's helper; null outside DoInitialize .. DoFinalize.
TBHOFormlessAppHelper* AppHelper();
// Reports through the module's helper (when there is one); never raises.
void ReportException(const std::string& where, const std::exception& error) noexcept;
// The text of an error as reports show it.
std::string ErrorMessage(const std::exception& error);

// Module start-up and shut-down of the helper's state (outside the shell only).
void DoInitialize();
void DoFinalize();

}  // namespace popupblocker
