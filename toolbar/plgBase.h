#pragma once
// TplgBase: a plug-in, a component of the toolbar form that acts on the
// browser through the form's controller.
#include <string>

#include "runtime/Classes.h"
#include "toolbar/plgSolvane.h"

namespace toolbar {

class TplgBase : public rt::TComponent {
    RT_CLASS_SAME_PROPS(TplgBase, rt::TComponent)
public:
    // Owned by the controller's owner (the toolbar form), like the controller.
    explicit TplgBase(TSolvane* controller);
    ~TplgBase() override;

    virtual void Reset();
    virtual void GotoUrl(const std::string& url);

    TSolvane* Controller() const { return controller_; }

private:
    TSolvane* controller_;  // not owned
};

}  // namespace toolbar
