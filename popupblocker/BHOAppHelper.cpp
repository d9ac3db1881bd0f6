#include "popupblocker/BHOAppHelper.h"

#include <memory>

#include "foundation/EIDebugger.h"
#include "foundation/SVBase.h"
#include "foundation/SVDebug.h"
#include "platform/Services.h"
#include "popupblocker/BHOPopups.h"
#include "popupblocker/EICursorManager.h"

namespace popupblocker {
namespace {

std::unique_ptr<TBHOFormlessAppHelper>& Instance() {
    static std::unique_ptr<TBHOFormlessAppHelper> helper;
    return helper;
}

}  // namespace

std::string ErrorMessage(const std::exception& error) {
    if (auto* own = dynamic_cast<const rt::Exception*>(&error)) return own->Message();
    return error.what();
}

void TSVFormlessAppHelper::ReportException(const std::string& where, const std::exception& error) noexcept {
    try {
        const std::string message = ErrorMessage(error);
        if (foundation::IsDebugMode()) foundation::DebugMessage(where + "\r\r" + message);
        foundation::BugWatcher().TraceFmt("%s: %s", {where, message});
    } catch (...) {
        // Reporting must never become the failure.
    }
}

TBHOFormlessAppHelper::TBHOFormlessAppHelper(rt::TComponent* owner) : TSVFormlessAppHelper(owner) {
    CursorTimer.SetEnabled(false);
    CursorTimer.SetInterval(BlockedCursorTime);
    CursorTimer.SetOnTimer([this](rt::TObject*) {
        CursorTimer.SetEnabled(false);
        RestoreCursors();
    });
}

TBHOFormlessAppHelper::~TBHOFormlessAppHelper() {
    try {
        foundation::BugWatcher().Log("TBHOFormlessAppHelper.Destroy");
    } catch (...) {
    }
}

TBHOFormlessAppHelper* AppHelper() { return Instance().get(); }

void ReportException(const std::string& where, const std::exception& error) noexcept {
    if (auto* helper = AppHelper()) {
        helper->ReportException(where, error);
    } else {
        // Before start-up (or after shut-down) the trace still hears of it.
        TSVFormlessAppHelper(nullptr).ReportException(where, error);
    }
}

void DoInitialize() {
    if (foundation::IsShellHost()) return;
    try {
        ResetNotifyStamp();
        Instance() = std::make_unique<TBHOFormlessAppHelper>(nullptr);
    } catch (const std::exception& error) {
        ReportException("DoInitialize", error);
    }
}

void DoFinalize() {
    if (foundation::IsShellHost()) return;
    try {
        Instance().reset();
        FreeCursorManager();
    } catch (const std::exception& error) {
        ReportException("DoFinalize", error);
    }
}

}  // namespace popupblocker
