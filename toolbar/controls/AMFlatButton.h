#pragma once
// The toolbar's flat button: a plain button, or a drop-down menu built from
// an XML item list that remembers the picked entries (MRU) and reports each
// pick.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/SimpleXml.h"
#include "toolbar/controls/FlatButton.h"
#include "toolbar/controls/ammenus.h"

namespace toolbar {

class TAMFlatButton;

using TAMFlatButtonMenuItemClick = std::function<void(TAMFlatButton* aSender, const std::string& aCaption,
                                                      const std::string& aUrl, const std::string& aType,
                                                      const std::string& aId)>;
using TAMFlatButtonOnAddItemToMRU =
    std::function<void(TAMFlatButton* aSender, const std::string& aCaption, const std::string& aId)>;
using TAMFlatButtonOnAssignXml = std::function<void(TAMFlatButton* aSender, std::string& aXml)>;

// The capacity of every button's MRUItems (10 at load); written by the
// toolbar form only.
extern std::atomic<int> MaxMRUItems;

// One generated item of an XML item list, its values encoded for XML.
std::string MenuItemXml(const std::string& caption, const std::string& url);

class TFBMenuItem : public TAMMenuItem {
    RT_CLASS(TFBMenuItem)
public:
    using TAMMenuItem::TAMMenuItem;
    std::string Id;
    std::string Url;
    bool AddToMRUOnClick = false;
};

// The state of one menu build.
class TFBCreatePopupMenuRec : public rt::TObject {
    RT_CLASS_SAME_PROPS(TFBCreatePopupMenuRec, rt::TObject)
public:
    TAMPopupMenu* Menu = nullptr;
    TFBMenuItem* CurrentParent = nullptr;  // the submenu that receives new entries
    // The elements that opened the submenus down to CurrentParent, so that
    // only the element that opened a submenu closes it.
    std::vector<const rt::TXmlElement*> OpenSubmenus;
};

class TAMFlatButton : public TFlatButton {
    RT_CLASS(TAMFlatButton)
public:
    explicit TAMFlatButton(rt::TComponent* owner);

    const std::string& Category() const { return category_; }
    void SetCategory(const std::string& v) { category_ = v; }
    rt::TStringList& MRUItems() { return mruItems_; }
    const rt::TStringList& MRUItems() const { return mruItems_; }
    void SetMRUItems(const rt::TStringList& items) { mruItems_.Assign(items); }
    TAMPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TAMPopupMenu* menu);

    // Sets the pressed state without running the click handler.
    void SetDownNoEvent(bool value);

    // The built menu is out of date and is rebuilt at the next opening.
    bool MenuDirty = true;

    void Click() override;
    bool HasXmlSource() const;
    void BuildMenu(bool rebuild);
    std::string GetMenuXml(bool withMRU);
    void AddToMRU(const std::string& caption, const std::string& id);
    void TrimMRU();
    void ShowMenuAt(rt::TPopupMenu& menu, rt::TPoint point);
    void ShowMenuBelow(rt::TPopupMenu& menu);
    void ShowMenuAtCursor(rt::TPopupMenu& menu);

    rt::TNotifyEvent OnBeforeClick;
    TAMFlatButtonMenuItemClick OnMenuItemClick;
    TAMFlatButtonOnAddItemToMRU OnAddItemToMRU;
    TAMFlatButtonOnAssignXml OnAssignXml;

protected:
    void Notification(rt::TComponent* component, TOperation operation) override;

private:
    void CreateMenuFromXml(const std::string& category, const std::string& xml);
    void AddMenuItem(rt::TXmlElement& element, TFBCreatePopupMenuRec& rec);
    void CloseSubmenu(rt::TXmlElement& element, TFBCreatePopupMenuRec& rec);
    void MenuItemClick(TFBMenuItem& entry);

    std::string category_;
    rt::TStringList mruItems_;
    TAMPopupMenu* dropDownMenu_ = nullptr;
};

}  // namespace toolbar
