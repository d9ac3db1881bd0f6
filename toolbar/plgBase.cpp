#include "toolbar/plgBase.h"

namespace toolbar {

TplgBase::TplgBase(TSolvane* controller) : rt::TComponent(controller->Owner()), controller_(controller) {}

TplgBase::~TplgBase() = default;

void TplgBase::Reset() {}

void TplgBase::GotoUrl(const std::string& url) { controller_->GotoUrl(url); }

}  // namespace toolbar
