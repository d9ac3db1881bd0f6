#include "runtime/Classes.h"

#include <algorithm>

#include "runtime/Format.h"

namespace rt {

// ---------------------------------------------------------------- TObject

const TPropList& TObject::ClassProperties() {
    static const TPropList list;
    return list;
}

// ------------------------------------------------------------- TPersistent

void TPersistent::Assign(const TPersistent& source) {
    throw EConvertError(Format("Cannot assign a %s to a %s", {source.ClassName(), ClassName()}));
}

// ------------------------------------------------------------- TStringList

TStringList::TStringList(std::initializer_list<std::string> items) {
    for (const std::string& s : items) items_.push_back(Item{s, nullptr});
}

// A copy takes the items and their objects, not the change handler.
TStringList::TStringList(const TStringList& other) : TPersistent(), items_(other.items_) {}

TStringList& TStringList::operator=(const TStringList& other) {
    Assign(other);
    return *this;
}

void TStringList::CheckIndex(int index, bool allowEnd) const {
    if (index < 0 || index > Count() || (index == Count() && !allowEnd))
        throw EListError(Format("List index out of bounds (%d)", {index}));
}

void TStringList::Changed() {
    if (updateCount_ > 0) {
        changedInUpdate_ = true;
    } else if (OnChange) {
        OnChange(*this);
    }
}

const std::string& TStringList::Strings(int index) const {
    CheckIndex(index);
    return items_[index].text;
}

void TStringList::SetString(int index, const std::string& value) {
    CheckIndex(index);
    items_[index].text = value;
    Changed();
}

TObject* TStringList::Objects(int index) const {
    CheckIndex(index);
    return items_[index].object;
}

void TStringList::SetObject(int index, TObject* object) {
    CheckIndex(index);
    items_[index].object = object;
    Changed();
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* object) {
    items_.push_back(Item{s, object});
    Changed();
    return Count() - 1;
}

void TStringList::AddStrings(const TStringList& other) {
    const std::vector<Item> added = other.items_;  // `other` may be this list
    if (added.empty()) return;
    items_.insert(items_.end(), added.begin(), added.end());
    Changed();
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* object) {
    CheckIndex(index, true);
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TStringList::Exchange(int a, int b) {
    CheckIndex(a);
    CheckIndex(b);
    std::swap(items_[a], items_[b]);
    Changed();
}

void TStringList::Move(int from, int to) {
    if (from == to) return;
    CheckIndex(from);
    CheckIndex(to);
    Item item = items_[from];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, item);
    Changed();
}

int TStringList::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(items_[i].text, s)) return i;
    return -1;
}

int TStringList::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[i].object == object) return i;
    return -1;
}

std::string TStringList::Names(int index) const {
    const std::string& s = Strings(index);
    std::size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int index) const {
    const std::string& s = Strings(index);
    std::size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

int TStringList::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = items_[i].text;
        std::size_t eq = s.find('=');
        if (eq != std::string::npos && SameText(s.substr(0, eq), name)) return i;
    }
    return -1;
}

std::string TStringList::Values(const std::string& name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i >= 0) {
        SetString(i, name + "=" + value);
    } else {
        Add(name + "=" + value);
    }
}

std::string TStringList::Text() const {
    std::string text;
    for (const Item& item : items_) text += item.text + "\r\n";
    return text;
}

void TStringList::SetText(const std::string& text) {
    std::vector<Item> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(Item{text.substr(start, end - start), nullptr});
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    if (lines.empty() && items_.empty()) return;
    items_ = std::move(lines);
    Changed();
}

std::string TStringList::CommaText() const {
    if (Count() == 1 && items_[0].text.empty()) return "\"\"";
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = items_[i].text;
        bool quote = std::any_of(s.begin(), s.end(), [](char c) {
            return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
        });
        if (i > 0) out += ',';
        if (!quote) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

void TStringList::Sort() {
    if (Count() < 2) return;
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return CompareText(a.text, b.text) < 0; });
    Changed();
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
    if (Count() < 2) return;
    // Binary insertion sort: `compare` sees the items at their current
    // indexes, and equal items keep their order.
    for (int i = 1; i < Count(); ++i) {
        int low = 0, high = i;
        while (low < high) {
            int mid = (low + high) / 2;
            if (compare(*this, mid, i) > 0) high = mid;
            else low = mid + 1;
        }
        if (low < i) std::rotate(items_.begin() + low, items_.begin() + i, items_.begin() + i + 1);
    }
    Changed();
}

void TStringList::BeginUpdate() {
    if (updateCount_++ == 0) changedInUpdate_ = false;
}

void TStringList::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && changedInUpdate_) {
        changedInUpdate_ = false;
        Changed();
    }
}

void TStringList::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TStringList*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    items_ = other->items_;
    Changed();
}

void TStringList::SetStrings(const std::vector<std::string>& items) {
    BeginUpdate();
    Clear();
    for (const std::string& item : items) Add(item);
    EndUpdate();
}

std::vector<std::string> TStringList::ToVector() const {
    std::vector<std::string> out;
    out.reserve(items_.size());
    for (const Item& item : items_) out.push_back(item.text);
    return out;
}

// -------------------------------------------------------------- TComponent

const TPropList& TComponent::ClassProperties() {
    static const TPropList list(TPersistent::ClassProperties(),
                                {
                                    props::String<TComponent>("Name", &TComponent::Name, &TComponent::SetName),
                                    props::Integer<TComponent>("Tag", &TComponent::Tag, &TComponent::SetTag),
                                });
    return list;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Tell the subscribers first, while this component is still whole.
    while (!freeNotifies_.empty()) {
        TComponent* subscriber = freeNotifies_.back();
        subscriber->Notification(this, TOperation::Remove);
        RemoveFreeNotification(subscriber);  // in case the handler did not
    }
    // Then free the owned components, the last one first.
    while (!components_.empty()) {
        TComponent* component = components_.back();
        RemoveComponent(component);
        delete component;
    }
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format("Component name \"%s\" is not a valid component name", {name}));
    if (owner_ && !name.empty() && !SameText(name, name_) && owner_->FindComponent(name))
        throw EComponentError(Format("A component named %s already exists", {name}));
    name_ = name;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError(Format("List index out of bounds (%d)", {index}));
    return components_[index];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component == this || component->owner_ == this) return;
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError(Format("A component named %s already exists", {component->name_}));
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
    Notification(component, TOperation::Insert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    components_.erase(std::find(components_.begin(), components_.end(), component));
    component->owner_ = nullptr;
    Notification(component, TOperation::Remove);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this || destroying_ || component->destroying_) return;
    // Components of the same owner hear of each other through the owner.
    if (owner_ && component->owner_ == owner_) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) != freeNotifies_.end()) return;
    freeNotifies_.push_back(component);
    component->FreeNotification(this);  // both ways: neither outlives the other unnoticed
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    auto drop = [](std::vector<TComponent*>& list, TComponent* c) {
        list.erase(std::remove(list.begin(), list.end(), c), list.end());
    };
    drop(freeNotifies_, component);
    drop(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::Remove && component) RemoveFreeNotification(component);
    // Pass it on to the owned components; a handler may free some of them.
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i >= ComponentCount()) {
            i = ComponentCount();
            continue;
        }
        components_[i]->Notification(component, operation);
    }
}

}  // namespace rt
