#include "toolbar/controls/AMFlatButton.h"

#include <algorithm>

#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/EIFunctionsBaseCtrls.h"
#include "foundation/EISimpleXmlUnit.h"

namespace toolbar {

std::atomic<int> MaxMRUItems{10};

std::string MenuItemXml(const std::string& caption, const std::string& url) {
    // Captions and addresses may hold quotes, "&" or "<": the item must read back unchanged.
    return rt::Format("<item caption=\"%s\" url=\"%s\" mru=\"%s\"/>",
                      {rt::TXmlDocument::EncodeValue(caption), rt::TXmlDocument::EncodeValue(url), std::string()});
}

const rt::TPropList& TFBMenuItem::ClassProperties() {
    static const rt::TPropList list(
        TAMMenuItem::ClassProperties(),
        {
            rt::props::String<TFBMenuItem>(
                "Id", [](const TFBMenuItem& m) { return m.Id; }, [](TFBMenuItem& m, const std::string& v) { m.Id = v; }),
            rt::props::String<TFBMenuItem>(
                "Url", [](const TFBMenuItem& m) { return m.Url; },
                [](TFBMenuItem& m, const std::string& v) { m.Url = v; }),
            rt::props::Boolean<TFBMenuItem>(
                "AddToMRUOnClick", [](const TFBMenuItem& m) { return m.AddToMRUOnClick; },
                [](TFBMenuItem& m, bool v) { m.AddToMRUOnClick = v; }),
        });
    return list;
}

const rt::TPropList& TAMFlatButton::ClassProperties() {
    static const rt::TPropList list(
        TFlatButton::ClassProperties(),
        {
            rt::props::String<TAMFlatButton>("Category", &TAMFlatButton::Category, &TAMFlatButton::SetCategory),
            rt::props::Object<TAMFlatButton>(
                "MRUItems", "TStrings",
                [](const TAMFlatButton& b) -> rt::TObject* { return const_cast<rt::TStringList*>(&b.MRUItems()); },
                [](TAMFlatButton& b, rt::TObject* v) {
                    if (auto* list = dynamic_cast<rt::TStringList*>(v)) b.SetMRUItems(*list);
                }),
            rt::props::Object<TAMFlatButton>(
                "DropDownMenu", "TAMPopupMenu", [](const TAMFlatButton& b) -> rt::TObject* { return b.DropDownMenu(); },
                [](TAMFlatButton& b, rt::TObject* v) { b.SetDropDownMenu(dynamic_cast<TAMPopupMenu*>(v)); }),
            rt::props::Method("OnBeforeClick"),
            rt::props::Method("OnMenuItemClick", "TAMFlatButtonMenuItemClick"),
            rt::props::Method("OnAddItemToMRU", "TAMFlatButtonOnAddItemToMRU"),
            rt::props::Method("OnAssignXml", "TAMFlatButtonOnAssignXml"),
        });
    return list;
}

TAMFlatButton::TAMFlatButton(rt::TComponent* owner) : TFlatButton(owner) {
    // No border or focus frame of its own.
    SetColorFocused(clBtnFace);
    SetColorBorder(clBtnFace);
    SetHeight(19);
    // Any change of the remembered ids (a pick, a trim, a reload of the
    // saved state) makes the built menu out of date.
    mruItems_.OnChange = [this](rt::TStringList&) { MenuDirty = true; };
}

void TAMFlatButton::SetDropDownMenu(TAMPopupMenu* menu) {
    if (menu == dropDownMenu_) return;
    if (dropDownMenu_ && dropDownMenu_->Owner() != this) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = menu;
    if (menu && menu->Owner() != this) menu->FreeNotification(this);
}

void TAMFlatButton::Notification(rt::TComponent* component, TOperation operation) {
    TFlatButton::Notification(component, operation);
    if (operation == TOperation::Remove && component == dropDownMenu_) dropDownMenu_ = nullptr;
}

void TAMFlatButton::SetDownNoEvent(bool value) {
    rt::TNotifyEvent handler = std::move(OnClick);
    OnClick = nullptr;
    try {
        SetDown(value);
    } catch (...) {
        OnClick = std::move(handler);
        throw;
    }
    OnClick = std::move(handler);
}

bool TAMFlatButton::HasXmlSource() const { return !category_.empty() || static_cast<bool>(OnAssignXml); }

void TAMFlatButton::Click() {
    if (OnBeforeClick) OnBeforeClick(this);
    if (HasXmlSource()) {
        BuildMenu(MenuDirty || foundation::CurrentShiftState().Contains(rt::TShiftKey::Shift));
        if (dropDownMenu_) ShowMenuBelow(*dropDownMenu_);
    } else if (dropDownMenu_) {
        ShowMenuBelow(*dropDownMenu_);
    } else {
        TFlatButton::Click();
    }
}

void TAMFlatButton::BuildMenu(bool rebuild) {
    if (rebuild && dropDownMenu_) {
        TAMPopupMenu* old = dropDownMenu_;
        SetDropDownMenu(nullptr);
        // A menu the form lent us is not ours to free.
        if (old->Owner() == this) delete old;
    }
    if (!dropDownMenu_) CreateMenuFromXml(category_, GetMenuXml(true));
    MenuDirty = false;
}

std::string TAMFlatButton::GetMenuXml(bool withMRU) {
    if (category_.empty()) {
        std::string xml;
        if (OnAssignXml) OnAssignXml(this, xml);
        return xml;
    }
    const std::string text = foundation::LoadTextFile(foundation::DataFilePath(category_ + ".xml"));
    if (!withMRU) return foundation::InsertMruBlock(text, "");
    const std::string block = foundation::BuildMruBlock(text, mruItems_);
    if (!block.empty()) foundation::BugWatcher().TraceFmt("category:%s, mru:%s", {category_, block});
    else foundation::BugWatcher().Log("category:%s has no mru");
    return foundation::InsertMruBlock(text, block);
}

void TAMFlatButton::CreateMenuFromXml(const std::string& category, const std::string& xml) {
    std::string name = category;
    name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
    auto* menu = new TAMPopupMenu(this);
    try {
        menu->SetName(name);
    } catch (...) {
        delete menu;
        throw;
    }
    menu->SetAutoHotkeys(false);
    SetDropDownMenu(menu);

    TFBCreatePopupMenuRec rec;
    rec.Menu = menu;
    foundation::TEISimpleXml doc;
    doc.LoadFromString(xml);
    doc.Walk(
        *doc.Root(), [this](rt::TXmlElement& e, rt::TObject* c) { AddMenuItem(e, *static_cast<TFBCreatePopupMenuRec*>(c)); },
        [this](rt::TXmlElement& e, rt::TObject* c) { CloseSubmenu(e, *static_cast<TFBCreatePopupMenuRec*>(c)); }, &rec,
        true);
}

void TAMFlatButton::AddMenuItem(rt::TXmlElement& element, TFBCreatePopupMenuRec& rec) {
    const std::string caption = element.Attribute("caption");
    if (caption.empty()) return;
    auto* item = new TFBMenuItem(this);
    try {
        item->SetCaption(caption);
        if (foundation::TextToBool(element.Attribute("default"))) item->SetDefault(true);
        TFBMenuItem* enclosing = rec.CurrentParent;
        if (element.Name() != "items") {
            item->Id = element.Attribute("id");
            item->Url = element.Attribute("url");
            item->AddToMRUOnClick = element.Attribute("mru").empty();
            item->OnClick = [this](rt::TObject* sender) { MenuItemClick(*static_cast<TFBMenuItem*>(sender)); };
        } else {
            rec.CurrentParent = item;
            rec.OpenSubmenus.push_back(&element);
        }
        // A submenu goes into the submenu that encloses it, so menus nest as
        // deep as the XML does.
        if (enclosing) enclosing->Add(item);
        else rec.Menu->Items()->Add(item);
    } catch (...) {
        if (rec.CurrentParent == item) {
            rec.CurrentParent = dynamic_cast<TFBMenuItem*>(item->Parent());
            rec.OpenSubmenus.pop_back();
        }
        delete item;
        throw;
    }
}

void TAMFlatButton::CloseSubmenu(rt::TXmlElement& element, TFBCreatePopupMenuRec& rec) {
    if (!rt::SameText(element.Name(), "items")) return;
    if (rec.OpenSubmenus.empty() || rec.OpenSubmenus.back() != &element) return;
    rec.OpenSubmenus.pop_back();
    rec.CurrentParent = rec.CurrentParent ? dynamic_cast<TFBMenuItem*>(rec.CurrentParent->Parent()) : nullptr;
}

void TAMFlatButton::MenuItemClick(TFBMenuItem& entry) {
    const std::string caption = entry.Caption(), id = entry.Id, url = entry.Url, type = "G";
    if (entry.AddToMRUOnClick) AddToMRU(caption, id);
    if (OnMenuItemClick) OnMenuItemClick(this, caption, url, type, id);
}

void TAMFlatButton::AddToMRU(const std::string& caption, const std::string& id) {
    // An entry without an id could never be found again in its file.
    if (rt::SameText(caption, "-") || id.empty() || rt::SameText(id, "none") || mruItems_.IndexOf(id) >= 0) return;
    mruItems_.Insert(0, id);
    TrimMRU();
    MenuDirty = true;
    if (OnAddItemToMRU) OnAddItemToMRU(this, caption, id);
}

void TAMFlatButton::TrimMRU() {
    // A negative capacity counts as none (it must not loop past the list).
    const int capacity = std::max(0, MaxMRUItems.load());
    bool removed = false;
    while (mruItems_.Count() > capacity) {
        mruItems_.Delete(mruItems_.Count() - 1);
        removed = true;
    }
    if (removed) MenuDirty = true;
}

void TAMFlatButton::ShowMenuAt(rt::TPopupMenu& menu, rt::TPoint point) { foundation::PopupMenuAt(*this, menu, point); }

void TAMFlatButton::ShowMenuBelow(rt::TPopupMenu& menu) { ShowMenuAt(menu, ClientToScreen(rt::TPoint{0, Height()})); }

void TAMFlatButton::ShowMenuAtCursor(rt::TPopupMenu& menu) {
    rt::TPoint point;
    if (rt::UiBackend().CursorPos(point)) ShowMenuAt(menu, point);
}

}  // namespace toolbar
