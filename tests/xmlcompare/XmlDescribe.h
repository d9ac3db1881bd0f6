#pragma once
// One text for an element tree as our parser and as the reference parser
// see it: names, attributes in order with their values, child elements.
#include <pugixml.hpp>

#include <string>

#include "runtime/SimpleXml.h"

namespace zrtest {

inline std::string Describe(const rt::TXmlElement& e) {
    std::string text = "<" + e.Name();
    for (int i = 0; i < e.AttributeCount(); ++i) text += " " + e.AttributeName(i) + "=[" + e.AttributeValue(i) + "]";
    text += ">";
    for (int i = 0; i < e.ChildCount(); ++i) text += Describe(e.Child(i));
    return text + "</>";
}

inline std::string Describe(const pugi::xml_node& e) {
    std::string text = std::string("<") + e.name();
    for (const auto& a : e.attributes()) text += std::string(" ") + a.name() + "=[" + a.value() + "]";
    text += ">";
    for (const auto& child : e.children())
        if (child.type() == pugi::node_element) text += Describe(child);
    return text + "</>";
}

}  // namespace zrtest
