#include "toolbar/BaseForm.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace toolbar {

// The live dialogs in the order they took over the application's hint
// handler. A dialog freed out of that order hands its saved handler to the
// one made after it, so that the handler of a freed dialog is never put back.
struct THintChain {
    static std::mutex& Lock() {
        static std::mutex lock;
        return lock;
    }
    static std::vector<TfmBase*>& Forms() {
        static std::vector<TfmBase*> forms;
        return forms;
    }
};

TfmBase::TfmBase(rt::TComponent* owner) : rt::TForm(owner) {
    SetPosition(rt::TPosition::poScreenCenter);
    Font().SetName("MS Sans Serif");
    Font().SetSize(8);
    SetKeyPreview(true);
    OnKeyDown = [this](rt::TObject* sender, unsigned short& key, rt::TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };

    std::lock_guard<std::mutex> guard(THintChain::Lock());
    rt::TApplication& application = rt::Application();
    savedOnHint_ = std::move(application.OnHint);
    application.OnHint = [this](rt::TObject* sender) { ApplicationHint(sender); };
    THintChain::Forms().push_back(this);
}

TfmBase::~TfmBase() {
    std::lock_guard<std::mutex> guard(THintChain::Lock());
    auto& forms = THintChain::Forms();
    auto it = std::find(forms.begin(), forms.end(), this);
    if (it == forms.end()) return;
    if (it + 1 == forms.end()) rt::Application().OnHint = std::move(savedOnHint_);
    else (*(it + 1))->savedOnHint_ = std::move(savedOnHint_);
    forms.erase(it);
}

void TfmBase::FormKeyDown(rt::TObject*, unsigned short& key, rt::TShiftState) {
    if (key != rt::vk::Escape) return;
    Close();
    key = 0;
}

}  // namespace toolbar
