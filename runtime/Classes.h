#pragma once
// Objects, persistent objects with published properties, string lists and
// components as the runtime has them.
#include <functional>
#include <string>
#include <vector>

#include "runtime/SysUtils.h"
#include "runtime/TypInfo.h"

namespace rt {

class TObject {
public:
    virtual ~TObject() = default;
    virtual const char* ClassName() const { return "TObject"; }
    static const TPropList& ClassProperties();
    // The published properties of the object's class, its bases' included.
    virtual const TPropList& Properties() const { return ClassProperties(); }
};

// Declares a class's name and its published property list. The class defines
// `static const rt::TPropList& ClassProperties()` itself.
#define RT_CLASS(Name)                                                        \
public:                                                                       \
    const char* ClassName() const override { return #Name; }                  \
    static const ::rt::TPropList& ClassProperties();                          \
    const ::rt::TPropList& Properties() const override { return ClassProperties(); }

// Declares a class's name for a class that publishes nothing new.
#define RT_CLASS_SAME_PROPS(Name, Base)                                       \
public:                                                                       \
    const char* ClassName() const override { return #Name; }                  \
    static const ::rt::TPropList& ClassProperties() { return Base::ClassProperties(); } \
    const ::rt::TPropList& Properties() const override { return ClassProperties(); }

class TPersistent : public TObject {
    RT_CLASS_SAME_PROPS(TPersistent, TObject)
public:
    // Copies the content of `source`; raises EConvertError
    // "Cannot assign a %s to a %s" when the classes do not fit.
    virtual void Assign(const TPersistent& source);
};

// Ordered texts with attached objects. Look-ups ignore case; Text joins the
// items with CR LF after each. Indexes out of range raise EListError
// "List index out of bounds (%d)".
class TStringList : public TPersistent {
    RT_CLASS_SAME_PROPS(TStringList, TPersistent)
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> items);
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    void SetString(int index, const std::string& value);
    TObject* Objects(int index) const;
    void SetObject(int index, TObject* object);

    int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* object);
    void AddStrings(const TStringList& other);
    void Insert(int index, const std::string& s);
    void InsertObject(int index, const std::string& s, TObject* object);
    void Delete(int index);
    void Clear();
    void Exchange(int a, int b);
    void Move(int from, int to);
    int IndexOf(const std::string& s) const;        // -1 when absent
    int IndexOfObject(const TObject* object) const;

    // "name=value" items.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    int IndexOfName(const std::string& name) const;
    std::string Values(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);  // empty value removes

    std::string Text() const;
    // Splits at CR LF, LF or CR; a final line break adds no empty item.
    void SetText(const std::string& text);
    // Items separated by commas; items with blanks, commas or quotes are quoted.
    std::string CommaText() const;

    // One-time sort, ignoring case (stable for equal texts).
    void Sort();
    void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    void Assign(const TPersistent& source) override;
    // Replaces the items with `items` (one change notification).
    void SetStrings(const std::vector<std::string>& items);
    std::vector<std::string> ToVector() const;

    // Raised after every change, unless inside BeginUpdate/EndUpdate (then
    // once at the last EndUpdate when something changed).
    std::function<void(TStringList&)> OnChange;

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    void Changed();
    void CheckIndex(int index, bool allowEnd = false) const;

    std::vector<Item> items_;
    int updateCount_ = 0;
    bool changedInUpdate_ = false;
};

using TStrings = TStringList;

class TComponent : public TPersistent {
    RT_CLASS(TComponent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;  // frees the components it owns
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    // Raises EComponentError "Component name \"%s\" is not a valid component
    // name" or "A component named %s already exists".
    virtual void SetName(const std::string& name);
    TComponent* Owner() const { return owner_; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    // The owned component of that name, ignoring case; null when none.
    TComponent* FindComponent(const std::string& name) const;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Asks `component` to tell this one (Notification opRemove) when it is freed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    enum class TOperation { Insert, Remove };

    // True once destruction has begun; a class whose destructor does work
    // that asks this calls BeforeDestruction first.
    bool IsDestroying() const { return destroying_; }
    void BeforeDestruction() { destroying_ = true; }

protected:
    virtual void Notification(TComponent* component, TOperation operation);

private:
    std::string name_;
    TComponent* owner_ = nullptr;
    int tag_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool destroying_ = false;
};

}  // namespace rt
