#pragma once
// Published properties by name. Each class lists its properties once (name,
// kind, getter, setter) on top of its base's list; the form storage, the
// options dialog's bindings and CopyPropertyValue reach them through here.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "runtime/Variants.h"

namespace rt {

class TObject;

enum class TTypeKind { Integer, Int64, Char, Enumeration, Set, Float, String, Variant, Class, Method };

// The runtime's name of a kind ("tkInteger", ...).
const char* TypeKindName(TTypeKind kind);

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::Integer;
    std::string TypeName;  // "Integer", "Boolean", "TAlign", "TStrings", ...
    // Names of the values of an enumeration, in ordinal order.
    std::vector<std::string> EnumNames;

    // Only the pair that fits Kind is set: ordinal kinds (Integer, Char,
    // Enumeration, Set) and Int64 use the ordinal pair, Class the object pair.
    // A missing setter makes the property read-only.
    std::function<std::int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, std::int64_t)> SetOrd;
    std::function<double(const TObject&)> GetFloat;
    std::function<void(TObject&, double)> SetFloat;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<Variant(const TObject&)> GetVariant;
    std::function<void(TObject&, const Variant&)> SetVariant;
    std::function<TObject*(const TObject&)> GetObject;
    std::function<void(TObject&, TObject*)> SetObject;

    bool IsWritable() const;
};

class TPropList {
public:
    TPropList() = default;
    TPropList(std::initializer_list<TPropInfo> props) : props_(props) {}
    // The base's properties followed by `props`; a property of the same name
    // replaces the base's.
    TPropList(const TPropList& base, std::initializer_list<TPropInfo> props);

    // Ignoring case; null when absent.
    const TPropInfo* Find(const std::string& name) const;
    const std::vector<TPropInfo>& Items() const { return props_; }

private:
    std::vector<TPropInfo> props_;
};

// Look-ups by name. An unknown name raises EPropertyError
// "Unknown property: \"%s\""; a kind that does not fit raises EPropertyError
// "Invalid property type: %s".
const TPropInfo* GetPropInfo(const TObject& object, const std::string& name);  // null when absent
const TPropInfo& PropInfoOf(const TObject& object, const std::string& name);
std::int64_t GetOrdProp(const TObject& object, const std::string& name);
void SetOrdProp(TObject& object, const std::string& name, std::int64_t value);
double GetFloatProp(const TObject& object, const std::string& name);
void SetFloatProp(TObject& object, const std::string& name, double value);
std::string GetStrProp(const TObject& object, const std::string& name);
void SetStrProp(TObject& object, const std::string& name, const std::string& value);
Variant GetVariantProp(const TObject& object, const std::string& name);
void SetVariantProp(TObject& object, const std::string& name, const Variant& value);
TObject* GetObjectProp(const TObject& object, const std::string& name);
void SetObjectProp(TObject& object, const std::string& name, TObject* value);

// A property's value as text and back, as the form storage writes it:
// integers in decimal, enumerations (booleans too) by value name, chars as
// the character, floats with FloatToStr, texts as they are. Setting an
// enumeration accepts its value name (ignoring case) or its ordinal.
std::string GetPropText(const TObject& object, const std::string& name);
void SetPropText(TObject& object, const std::string& name, const std::string& text);

// Builders for property lists. `get` and `set` are member function pointers
// or callables taking the class by (const) reference.
namespace props {

template <class C, class G>
static auto Call(G get, const TObject& o) { return std::invoke(get, static_cast<const C&>(o)); }

// A property with only its description set (no accessors yet).
inline TPropInfo Make(std::string name, TTypeKind kind, std::string typeName,
                      std::vector<std::string> enumNames = {}) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.TypeName = std::move(typeName);
    p.EnumNames = std::move(enumNames);
    return p;
}

template <class C, class G, class S>
TPropInfo Integer(std::string name, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Integer, "Integer");
    p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>(Call<C>(get, o)); };
    p.SetOrd = [set](TObject& o, std::int64_t v) { std::invoke(set, static_cast<C&>(o), static_cast<int>(v)); };
    return p;
}
template <class C, class G, class S>
TPropInfo Int64(std::string name, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Int64, "Int64");
    p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>(Call<C>(get, o)); };
    p.SetOrd = [set](TObject& o, std::int64_t v) { std::invoke(set, static_cast<C&>(o), v); };
    return p;
}
template <class C, class G, class S>
TPropInfo Char(std::string name, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Char, "Char");
    p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>(static_cast<unsigned char>(Call<C>(get, o))); };
    p.SetOrd = [set](TObject& o, std::int64_t v) { std::invoke(set, static_cast<C&>(o), static_cast<char>(v)); };
    return p;
}
template <class C, class G, class S>
TPropInfo Boolean(std::string name, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Enumeration, "Boolean", {"False", "True"});
    p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>(Call<C>(get, o) ? 1 : 0); };
    p.SetOrd = [set](TObject& o, std::int64_t v) { std::invoke(set, static_cast<C&>(o), v != 0); };
    return p;
}
template <class C, class E, class G, class S>
TPropInfo Enumeration(std::string name, std::string typeName, std::vector<std::string> valueNames, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Enumeration, std::move(typeName), std::move(valueNames));
    p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>(Call<C>(get, o)); };
    p.SetOrd = [set](TObject& o, std::int64_t v) { std::invoke(set, static_cast<C&>(o), static_cast<E>(v)); };
    return p;
}
// A set stored as a bit mask of its element ordinals.
template <class C, class G, class S>
TPropInfo Set(std::string name, std::string typeName, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Set, std::move(typeName));
    p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>(Call<C>(get, o)); };
    p.SetOrd = [set](TObject& o, std::int64_t v) { std::invoke(set, static_cast<C&>(o), static_cast<std::uint32_t>(v)); };
    return p;
}
template <class C, class G, class S>
TPropInfo Float(std::string name, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Float, "Double");
    p.GetFloat = [get](const TObject& o) { return static_cast<double>(Call<C>(get, o)); };
    p.SetFloat = [set](TObject& o, double v) { std::invoke(set, static_cast<C&>(o), v); };
    return p;
}
template <class C, class G, class S>
TPropInfo String(std::string name, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::String, "String");
    p.GetStr = [get](const TObject& o) { return std::string(Call<C>(get, o)); };
    p.SetStr = [set](TObject& o, const std::string& v) { std::invoke(set, static_cast<C&>(o), v); };
    return p;
}
template <class C, class G, class S>
TPropInfo VariantProp(std::string name, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Variant, "Variant");
    p.GetVariant = [get](const TObject& o) { return Variant(Call<C>(get, o)); };
    p.SetVariant = [set](TObject& o, const Variant& v) { std::invoke(set, static_cast<C&>(o), v); };
    return p;
}
// An object reference; `typeName` is the class of the referenced object.
template <class C, class G, class S>
TPropInfo Object(std::string name, std::string typeName, G get, S set) {
    TPropInfo p = Make(std::move(name), TTypeKind::Class, std::move(typeName));
    p.GetObject = [get](const TObject& o) -> TObject* { return Call<C>(get, o); };
    p.SetObject = [set](TObject& o, TObject* v) { std::invoke(set, static_cast<C&>(o), v); };
    return p;
}
// An event: listed by name, never read or written through the list.
inline TPropInfo Method(std::string name, std::string typeName = "TNotifyEvent") {
    return Make(std::move(name), TTypeKind::Method, std::move(typeName));
}

}  // namespace props
}  // namespace rt
