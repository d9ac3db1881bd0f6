#include "toolbar/AboutForm.h"

#include <memory>

#include "foundation/EIFunctionsBase.h"
#include "runtime/Dialogs.h"
#include "runtime/Format.h"

namespace toolbar {

namespace {

constexpr int kClientWidth = 276;
constexpr int kClientHeight = 268;
constexpr int kLabelHeight = 13;
constexpr int kLinkColumn = 104;  // where the e-mail links start, right of their titles

}  // namespace

TfmAbout::TfmAbout(rt::TComponent* owner) : TfmBase(owner) {
    SetName("fmAbout");
    SetCaption("About Zephyra");
    SetBorderStyle(rt::TFormBorderStyle::bsSingle);
    SetBorderIcons(rt::biSystemMenu);
    // The runtime's form has no frame of its own: its bounds are the client area.
    SetBounds(0, 0, kClientWidth, kClientHeight);

    imgLogo = new rt::TImage(this);
    imgLogo->SetName("imgLogo");
    imgLogo->SetBounds(10, 8, 256, 64);
    imgLogo->SetTransparent(true);
    imgLogo->SetAutoSize(true);
    imgLogo->SetPicture("ABOUTLOGO");
    imgLogo->OnDblClick = [this](rt::TObject* sender) { LogoDblClick(sender); };
    imgLogo->SetParent(this);

    lblVersion = AddLabel("lblVersion", rt::Format("Version: %s", {foundation::FileVersionText("")}), 10, 80, true);

    lblWebTitle = AddLabel("lblWebTitle", "Visit Zephyra on the Web:", 10, 102, true);
    lblWeb = AddLink("lblWeb", "http://www.zephyratoolbar.com", 10, 117);
    lblFeatureTitle = AddLabel("lblFeatureTitle", "Suggest a feature:", 10, 140);
    lblFeature = AddLink("lblFeature", "wishlist@zephyratoolbar.com", kLinkColumn, 140);
    lblBugTitle = AddLabel("lblBugTitle", "Report a bug:", 10, 157);
    lblBug = AddLink("lblBug", "bugs@zephyratoolbar.com", kLinkColumn, 157);
    lblContactTitle = AddLabel("lblContactTitle", "Contact us:", 10, 174);
    lblContact = AddLink("lblContact", "contactus@zephyratoolbar.com", kLinkColumn, 174);
    // A title ends where its link starts: a label is a window, and one over the other hides it.
    for (rt::TLabel* title : {lblFeatureTitle, lblBugTitle, lblContactTitle}) title->SetWidth(kLinkColumn - 12);

    lblLegal1 = AddLabel("lblLegal1", "Copyright (c) 2026 The Zephyra developers.", 10, 200);
    lblLegal2 = AddLabel("lblLegal2", "All rights reserved.", 10, 214);

    btnOK = new rt::TButton(this);
    btnOK->SetName("btnOK");
    btnOK->SetCaption("OK");
    btnOK->SetBounds((kClientWidth - 75) / 2, 235, 75, 25);
    btnOK->SetDefault(true);
    btnOK->SetCancel(true);
    btnOK->SetModalResult(rt::mrOk);
    btnOK->SetParent(this);
    SetActiveControl(btnOK);
}

rt::TLabel* TfmAbout::AddLabel(const char* name, const std::string& caption, int left, int top, bool bold) {
    auto* label = new rt::TLabel(this);
    label->SetName(name);
    label->SetCaption(caption);
    label->SetBounds(left, top, kClientWidth - 10 - left, kLabelHeight);
    if (bold) label->Font().SetStyle({rt::TFontStyle::fsBold});
    label->SetParent(this);
    return label;
}

rt::TLabel* TfmAbout::AddLink(const char* name, const std::string& caption, int left, int top) {
    rt::TLabel* link = AddLabel(name, caption, left, top);
    link->Font().SetColor(rt::clBlue);
    link->Font().SetStyle({rt::TFontStyle::fsUnderline});
    link->SetCursor(rt::crHandPoint);
    link->OnClick = [this](rt::TObject* sender) { LinkClick(sender); };
    return link;
}

void TfmAbout::LinkClick(rt::TObject* sender) {
    if (auto* link = dynamic_cast<rt::TLabel*>(sender)) ClickedLink = link->Caption();
    Close();
}

void TfmAbout::LogoDblClick(rt::TObject*) {
    if (!foundation::CurrentShiftState().Contains(rt::TShiftKey::Ctrl)) return;
    rt::ShowMessage("Installed at:\r\r" + foundation::ModuleFileName());
}

std::string ShowAbout() {
    auto dialog = std::make_unique<TfmAbout>(nullptr);
    dialog->ShowModal();
    return dialog->ClickedLink;
}

}  // namespace toolbar
