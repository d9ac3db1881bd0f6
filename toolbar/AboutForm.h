#pragma once
// The About dialog: the toolbar's version and four links. It opens none of
// them itself: ShowAbout answers the text of the clicked link, and the
// toolbar hands it to TSolvane::GotoSpecialUrl, which tells the links apart
// by the words in them ("wishlist", "bug", "contactus"; the web-site
// address holds none of its words).
#include <string>

#include "runtime/Images.h"
#include "runtime/StdCtrls.h"
#include "toolbar/BaseForm.h"

namespace toolbar {

class TfmAbout : public TfmBase {
    RT_CLASS_SAME_PROPS(TfmAbout, TfmBase)
public:
    explicit TfmAbout(rt::TComponent* owner);

    // The caption of the clicked link; empty until one is clicked.
    std::string ClickedLink;

    rt::TImage* imgLogo;
    rt::TLabel* lblVersion;
    rt::TLabel* lblWebTitle;
    rt::TLabel* lblWeb;
    rt::TLabel* lblFeatureTitle;
    rt::TLabel* lblFeature;
    rt::TLabel* lblBugTitle;
    rt::TLabel* lblBug;
    rt::TLabel* lblContactTitle;
    rt::TLabel* lblContact;
    rt::TLabel* lblLegal1;
    rt::TLabel* lblLegal2;
    rt::TButton* btnOK;

private:
    rt::TLabel* AddLabel(const char* name, const std::string& caption, int left, int top, bool bold = false);
    // A label in blue, underlined, with the hand cursor; a click picks it.
    rt::TLabel* AddLink(const char* name, const std::string& caption, int left, int top);
    void LinkClick(rt::TObject* sender);
    // With Ctrl held, tells where the toolbar module is installed.
    void LogoDblClick(rt::TObject* sender);
};

// Shows the dialog modally; answers the clicked link's text, empty when it
// was closed otherwise.
std::string ShowAbout();

}  // namespace toolbar
