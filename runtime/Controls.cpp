#include "runtime/Controls.h"

#include <algorithm>
#include <mutex>

#include "platform/Services.h"
#include "runtime/Forms.h"
#include "runtime/Menus.h"

namespace rt {

// ------------------------------------------------------------- backend

namespace {
std::mutex backendMutex;
std::shared_ptr<IUiBackend>& BackendSlot() {
    static std::shared_ptr<IUiBackend> backend = std::make_shared<THeadlessBackend>();
    return backend;
}
thread_local THeadlessBackend::TMenuScript menuScript;
}  // namespace

IUiBackend& UiBackend() {
    std::lock_guard<std::mutex> lock(backendMutex);
    return *BackendSlot();
}

std::shared_ptr<IUiBackend> SetUiBackend(std::shared_ptr<IUiBackend> backend) {
    std::lock_guard<std::mutex> lock(backendMutex);
    if (!backend) backend = std::make_shared<THeadlessBackend>();
    std::swap(BackendSlot(), backend);
    return backend;
}

void THeadlessBackend::RunModal(TCustomForm& form) {
    if (modalScript_) modalScript_(form);
    if (form.ModalResult() == mrNone) form.SetModalResult(mrCancel);
}

void THeadlessBackend::SetMenuScript(TMenuScript script) { menuScript = std::move(script); }

unsigned THeadlessBackend::TrackPopupMenu(TPopupMenu& menu, TPoint screen, std::uintptr_t) {
    if (!menuScript) return 0;
    TMenuItem* picked = menuScript(menu, screen);
    return picked ? picked->Command() : 0;
}

bool THeadlessBackend::CursorPos(TPoint& point) {
    if (!cursorReadable_) return false;
    point = cursor_;
    return true;
}

TApplication& Application() {
    static TApplication application;
    return application;
}

TShiftState KeyboardShiftState() {
    auto& keyboard = platform::Keyboard();
    TShiftState state;
    if (keyboard.IsKeyDown(platform::vk::Shift)) state.Include(TShiftKey::Shift);
    if (keyboard.IsKeyDown(platform::vk::Menu)) state.Include(TShiftKey::Alt);
    if (keyboard.IsKeyDown(platform::vk::Control)) state.Include(TShiftKey::Ctrl);
    return state;
}

const std::vector<std::string>& AlignNames() {
    static const std::vector<std::string> names{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
    return names;
}

// ------------------------------------------------------------- TControl

const TPropList& TControl::ClassProperties() {
    static const TPropList list(
        TComponent::ClassProperties(),
        {
            props::Integer<TControl>("Left", &TControl::Left, &TControl::SetLeft),
            props::Integer<TControl>("Top", &TControl::Top, &TControl::SetTop),
            props::Integer<TControl>("Width", &TControl::Width, &TControl::SetWidth),
            props::Integer<TControl>("Height", &TControl::Height, &TControl::SetHeight),
            props::Enumeration<TControl, TAlign>("Align", "TAlign", AlignNames(), &TControl::Align, &TControl::SetAlign),
            props::Boolean<TControl>("Visible", &TControl::Visible, &TControl::SetVisible),
            props::Boolean<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled),
            props::String<TControl>("Hint", &TControl::Hint, &TControl::SetHint),
            props::Boolean<TControl>("ShowHint", &TControl::ShowHint, &TControl::SetShowHint),
            props::String<TControl>("Caption", &TControl::Caption, &TControl::SetCaption),
            props::Integer<TControl>("Color", &TControl::Color, &TControl::SetColor),
            props::Object<TControl>(
                "Font", "TFont", [](const TControl& c) -> TObject* { return const_cast<TFont*>(&c.Font()); },
                [](TControl& c, TObject* f) {
                    if (auto* font = dynamic_cast<TFont*>(f)) c.SetFont(*font);
                }),
            props::Boolean<TControl>("ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
            [] {
                TPropInfo p = props::Integer<TControl>("Cursor", &TControl::Cursor, &TControl::SetCursor);
                p.TypeName = "TCursor";
                return p;
            }(),
            props::Object<TControl>(
                "PopupMenu", "TPopupMenu", [](const TControl& c) -> TObject* { return c.PopupMenu(); },
                [](TControl& c, TObject* m) { c.SetPopupMenu(dynamic_cast<TPopupMenu*>(m)); }),
            props::Method("OnClick"),
            props::Method("OnDblClick"),
            props::Method("OnMouseDown", "TMouseEvent"),
            props::Method("OnMouseUp", "TMouseEvent"),
            props::Method("OnDragOver", "TDragOverEvent"),
            props::Method("OnDragDrop", "TDragDropEvent"),
            props::Method("OnEndDrag", "TEndDragEvent"),
        });
    return list;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this](TFont&) {
        if (!inheritingFont_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    UiBackend().ControlDestroyed(*this);
    if (parent_) parent_->RemoveControl(this);
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
}

void TControl::Changed(TControlChange change) { UiBackend().ControlChanged(*this, change); }

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::Remove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EComponentError("A control cannot have itself as its parent");
    TWinControl* old = parent_;
    parent_ = nullptr;
    if (old) old->DetachControl(this);
    parent_ = parent;
    if (parent_) parent_->AttachControl(this);
    Changed(TControlChange::Parent);
    ParentFontChanged();
}

void TControl::SetParentFont(bool v) {
    if (v == parentFont_) return;
    parentFont_ = v;
    ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    inheritingFont_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inheritingFont_};
    font_.Assign(parent_->Font());
}

void TControl::FontChanged() { Changed(TControlChange::Font); }

void TControl::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed(TControlChange::Color);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const TRect next{left, top, left + std::max(0, width), top + std::max(0, height)};
    if (next.Left == bounds_.Left && next.Top == bounds_.Top && next.Right == bounds_.Right &&
        next.Bottom == bounds_.Bottom)
        return;
    const bool resized = next.Width() != bounds_.Width() || next.Height() != bounds_.Height();
    bounds_ = next;
    Changed(TControlChange::Bounds);
    if (parent_ && align_ != TAlign::alNone) parent_->Realign();
    if (resized && OnResize) OnResize(this);
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(TControlChange::Visible);
    if (parent_) parent_->Realign();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(TControlChange::Enabled);
}

void TControl::SetText(const std::string& text) {
    if (AssignText(text)) Changed(TControlChange::Text);
}

bool TControl::AssignText(const std::string& text) {
    if (text == text_) return false;
    text_ = text;
    return true;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (menu == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (popupMenu_) popupMenu_->FreeNotification(this);
}

TPoint TControl::ClientToScreen(TPoint point) const {
    if (UiBackend().ClientToScreen(*this, point)) return point;
    TPoint result{point.X + Left(), point.Y + Top()};
    // A form's own bounds are already screen coordinates.
    if (dynamic_cast<const TCustomForm*>(this)) return result;
    return parent_ ? parent_->ClientToScreen(result) : result;
}

TCustomForm* TControl::ParentForm() const {
    for (TWinControl* p = parent_; p; p = p->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(p)) return form;
    return nullptr;
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick(TShiftState shift) {
    clickShift_ = shift;
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

bool TControl::DragOver(TObject* source, int x, int y) {
    // Without a handler nothing is accepted, as in the runtime.
    bool accept = static_cast<bool>(OnDragOver);
    if (OnDragOver) OnDragOver(this, source, x, y, accept);
    return accept;
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::EndDrag(TObject* target, int x, int y) {
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}

// ------------------------------------------------------------- TWinControl

const TPropList& TWinControl::ClassProperties() {
    static const TPropList list(TControl::ClassProperties(),
                                {props::Method("OnKeyDown", "TKeyEvent"), props::Method("OnEnter"),
                                 props::Method("OnExit")});
    return list;
}

TWinControl::~TWinControl() {
    // The native window goes before the children are detached, so no
    // message reaches a control that is half gone.
    UiBackend().ControlDestroyed(*this);
    // Children owned elsewhere outlive their parent: detach them.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    // No events for a control that is going away.
    OnEnter = nullptr;
    OnExit = nullptr;
    if (TCustomForm* form = ParentForm())
        if (form->ActiveControl() == this) form->SetActiveControl(nullptr);
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) throw EListError(Format("List index out of bounds (%d)", {index}));
    return controls_[index];
}

void TWinControl::InsertControl(TControl* control) {
    if (control) control->SetParent(this);
}

void TWinControl::RemoveControl(TControl* control) {
    if (control && control->Parent() == this) control->SetParent(nullptr);
}

void TWinControl::AttachControl(TControl* control) {
    controls_.push_back(control);
    Realign();
}

void TWinControl::DetachControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it != controls_.end()) controls_.erase(it);
    Realign();
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    // By index: a child's handler may change the children.
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->ParentFontChanged();
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    TControl::SetBounds(left, top, width, height);
    if (resized) Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ > 0 || aligning_) return;
    aligning_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{aligning_};
    TRect rest = ClientRect();
    auto ordered = [&](TAlign align) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Visible() && c->Align() == align) list.push_back(c);
        // Nearest to its edge first, as placed before the layout.
        std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
            switch (align) {
                case TAlign::alTop: return a->Top() < b->Top();
                case TAlign::alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
                case TAlign::alLeft: return a->Left() < b->Left();
                case TAlign::alRight: return a->Left() + a->Width() > b->Left() + b->Width();
                default: return false;
            }
        });
        return list;
    };
    for (TControl* c : ordered(TAlign::alTop)) {
        c->SetBounds(rest.Left, rest.Top, rest.Width(), c->Height());
        rest.Top += c->Height();
    }
    for (TControl* c : ordered(TAlign::alBottom)) {
        c->SetBounds(rest.Left, rest.Bottom - c->Height(), rest.Width(), c->Height());
        rest.Bottom -= c->Height();
    }
    for (TControl* c : ordered(TAlign::alLeft)) {
        c->SetBounds(rest.Left, rest.Top, c->Width(), std::max(0, rest.Height()));
        rest.Left += c->Width();
    }
    for (TControl* c : ordered(TAlign::alRight)) {
        c->SetBounds(rest.Right - c->Width(), rest.Top, c->Width(), std::max(0, rest.Height()));
        rest.Right -= c->Width();
    }
    for (TControl* c : ordered(TAlign::alClient))
        c->SetBounds(rest.Left, rest.Top, std::max(0, rest.Width()), std::max(0, rest.Height()));
}

bool TWinControl::Focused() const {
    const TCustomForm* form = dynamic_cast<const TCustomForm*>(this) ? nullptr : ParentForm();
    return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = ParentForm()) form->SetActiveControl(this);
}

}  // namespace rt
