#include "runtime/TypInfo.h"

#include <algorithm>
#include <cstdint>

#include "runtime/Classes.h"
#include "runtime/Format.h"
#include "runtime/Internal.h"

namespace rt {
namespace {

bool IsOrdinal(TTypeKind kind) {
    return kind == TTypeKind::Integer || kind == TTypeKind::Int64 || kind == TTypeKind::Char ||
           kind == TTypeKind::Enumeration || kind == TTypeKind::Set;
}

[[noreturn]] void InvalidType(const TPropInfo& p) {
    throw EPropertyError(Format("Invalid property type: %s", {p.TypeName}));
}

}  // namespace

const char* TypeKindName(TTypeKind kind) {
    switch (kind) {
    case TTypeKind::Integer: return "tkInteger";
    case TTypeKind::Int64: return "tkInt64";
    case TTypeKind::Char: return "tkChar";
    case TTypeKind::Enumeration: return "tkEnumeration";
    case TTypeKind::Set: return "tkSet";
    case TTypeKind::Float: return "tkFloat";
    case TTypeKind::String: return "tkString";
    case TTypeKind::Variant: return "tkVariant";
    case TTypeKind::Class: return "tkClass";
    case TTypeKind::Method: return "tkMethod";
    }
    return "tkUnknown";
}

bool TPropInfo::IsWritable() const {
    switch (Kind) {
    case TTypeKind::Float: return static_cast<bool>(SetFloat);
    case TTypeKind::String: return static_cast<bool>(SetStr);
    case TTypeKind::Variant: return static_cast<bool>(SetVariant);
    case TTypeKind::Class: return static_cast<bool>(SetObject);
    case TTypeKind::Method: return false;
    default: return IsOrdinal(Kind) && static_cast<bool>(SetOrd);
    }
}

TPropList::TPropList(const TPropList& base, std::initializer_list<TPropInfo> props) : props_(base.props_) {
    for (const TPropInfo& p : props) {
        auto same = std::find_if(props_.begin(), props_.end(),
                                 [&](const TPropInfo& q) { return SameText(q.Name, p.Name); });
        if (same != props_.end()) *same = p;  // keeps the base's place
        else props_.push_back(p);
    }
}

const TPropInfo* TPropList::Find(const std::string& name) const {
    for (const TPropInfo& p : props_)
        if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TPropInfo* GetPropInfo(const TObject& object, const std::string& name) {
    return object.Properties().Find(name);
}

const TPropInfo& PropInfoOf(const TObject& object, const std::string& name) {
    const TPropInfo* p = GetPropInfo(object, name);
    if (!p) throw EPropertyError(Format("Unknown property: \"%s\"", {name}));
    return *p;
}

std::int64_t GetOrdProp(const TObject& object, const std::string& name) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (IsOrdinal(p.Kind) && p.GetOrd) return p.GetOrd(object);
    if (p.Kind == TTypeKind::Class && p.GetObject)
        return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(p.GetObject(object)));
    InvalidType(p);
}

void SetOrdProp(TObject& object, const std::string& name, std::int64_t value) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (IsOrdinal(p.Kind) && p.SetOrd) return p.SetOrd(object, value);
    if (p.Kind == TTypeKind::Class && p.SetObject)
        return p.SetObject(object, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(value)));
    InvalidType(p);
}

double GetFloatProp(const TObject& object, const std::string& name) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (p.Kind != TTypeKind::Float || !p.GetFloat) InvalidType(p);
    return p.GetFloat(object);
}

void SetFloatProp(TObject& object, const std::string& name, double value) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (p.Kind != TTypeKind::Float || !p.SetFloat) InvalidType(p);
    p.SetFloat(object, value);
}

std::string GetStrProp(const TObject& object, const std::string& name) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (p.Kind != TTypeKind::String || !p.GetStr) InvalidType(p);
    return p.GetStr(object);
}

void SetStrProp(TObject& object, const std::string& name, const std::string& value) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (p.Kind != TTypeKind::String || !p.SetStr) InvalidType(p);
    p.SetStr(object, value);
}

Variant GetVariantProp(const TObject& object, const std::string& name) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (p.Kind != TTypeKind::Variant || !p.GetVariant) InvalidType(p);
    return p.GetVariant(object);
}

void SetVariantProp(TObject& object, const std::string& name, const Variant& value) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (p.Kind != TTypeKind::Variant || !p.SetVariant) InvalidType(p);
    p.SetVariant(object, value);
}

TObject* GetObjectProp(const TObject& object, const std::string& name) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (p.Kind != TTypeKind::Class || !p.GetObject) InvalidType(p);
    return p.GetObject(object);
}

void SetObjectProp(TObject& object, const std::string& name, TObject* value) {
    const TPropInfo& p = PropInfoOf(object, name);
    if (p.Kind != TTypeKind::Class || !p.SetObject) InvalidType(p);
    p.SetObject(object, value);
}

std::string GetPropText(const TObject& object, const std::string& name) {
    const TPropInfo& p = PropInfoOf(object, name);
    switch (p.Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Int64:
    case TTypeKind::Set: return IntToStr(GetOrdProp(object, name));
    case TTypeKind::Char: {
        const char c = static_cast<char>(GetOrdProp(object, name));
        return c == '\0' ? std::string() : std::string(1, c);  // as SetPropText reads it
    }
    case TTypeKind::Enumeration: {
        const std::int64_t value = GetOrdProp(object, name);
        if (value >= 0 && value < static_cast<std::int64_t>(p.EnumNames.size())) return p.EnumNames[value];
        return IntToStr(value);
    }
    case TTypeKind::Float: return FloatToStr(GetFloatProp(object, name));
    case TTypeKind::String: return GetStrProp(object, name);
    case TTypeKind::Variant: return GetVariantProp(object, name).ToString();
    default: InvalidType(p);
    }
}

void SetPropText(TObject& object, const std::string& name, const std::string& text) {
    const TPropInfo& p = PropInfoOf(object, name);
    switch (p.Kind) {
    case TTypeKind::Integer: return SetOrdProp(object, name, StrToInt(text));
    case TTypeKind::Int64:
    case TTypeKind::Set: return SetOrdProp(object, name, StrToInt64(text));
    case TTypeKind::Char:
        if (text.size() > 1) throw EConvertError(Format("'%s' is not a valid character value", {text}));
        return SetOrdProp(object, name, text.empty() ? 0 : static_cast<unsigned char>(text[0]));
    case TTypeKind::Enumeration: {
        const auto& names = p.EnumNames;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (SameText(names[i], text)) return SetOrdProp(object, name, static_cast<std::int64_t>(i));
        std::int64_t ordinal = 0;
        if (!detail::TextToInt64(text, ordinal) || ordinal < 0 ||
            (!names.empty() && ordinal >= static_cast<std::int64_t>(names.size())))
            throw EConvertError(Format("Invalid property element: %s", {text}));
        return SetOrdProp(object, name, ordinal);
    }
    case TTypeKind::Float: {
        double value = 0;
        if (!detail::TextToFloat(text, value))
            throw EConvertError(Format("'%s' is not a valid floating point value", {text}));
        return SetFloatProp(object, name, value);
    }
    case TTypeKind::String: return SetStrProp(object, name, text);
    case TTypeKind::Variant: return SetVariantProp(object, name, Variant(text));
    default: InvalidType(p);
    }
}

}  // namespace rt
