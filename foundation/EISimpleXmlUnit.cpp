#include "foundation/EISimpleXmlUnit.h"

#include <algorithm>

#include "foundation/EIFunctionsBase.h"

namespace foundation {

void TEISimpleXml::ReportWalkError(const std::exception& error) {
    if (!OnWalkError) return;
    auto own = dynamic_cast<const rt::Exception*>(&error);
    OnWalkError(*this, own ? own->Message() : error.what());
}

void TEISimpleXml::Walk(rt::TXmlElement& element, const TXmlElementHandler& before, const TXmlElementHandler& after,
                        rt::TObject* context, bool continueOnError) {
    if (before) before(element, context);
    for (int i = 0; i < element.ChildCount(); ++i) {
        try {
            Walk(element.Child(i), before, after, context, continueOnError);
        } catch (const std::exception& error) {
            if (!continueOnError) throw;
            ReportWalkError(error);
        }
    }
    if (after) after(element, context);
}

bool TEISimpleXml::FindElement(rt::TXmlElement& element, const TXmlElementMatcher& matcher, rt::TObject* context,
                               rt::TXmlElement*& found) {
    for (int i = 0; i < element.ChildCount(); ++i) {
        rt::TXmlElement& child = element.Child(i);
        try {
            bool matched = false;
            matcher(child, context, matched);
            if (matched) {
                found = &child;
                return true;
            }
            if (child.ChildCount() > 0 && FindElement(child, matcher, context, found)) return true;
        } catch (const std::exception& error) {
            ReportWalkError(error);
        }
    }
    return false;
}

bool TEISimpleXml::FindByProperty(const std::string& propName, const std::string& propValue,
                                  rt::TXmlElement*& found) {
    if (!Root()) return false;
    TEISimpleXmlFindRec criterion;
    criterion.PropName = propName;
    criterion.PropValue = propValue;
    return FindElement(
        *Root(),
        [](rt::TXmlElement& element, rt::TObject* context, bool& matched) {
            auto& rec = static_cast<TEISimpleXmlFindRec&>(*context);
            matched = TextEquals(element.Attribute(rec.PropName), rec.PropValue);
        },
        &criterion, found);
}

std::string BuildMruBlock(const std::string& categoryText, const rt::TStringList& mruIds) {
    TEISimpleXml document;
    document.LoadFromString(InsertMruBlock(categoryText, ""));
    rt::TStringList entries;
    for (int i = mruIds.Count() - 1; i >= 0; --i) {
        rt::TXmlElement* element = nullptr;
        if (document.FindByProperty("id", mruIds[i], element))
            entries.Add(rt::TXmlDocument::ElementToString(*element));
    }
    if (entries.Count() == 0) return "";
    entries.Sort();
    std::string block;
    for (int i = 0; i < entries.Count(); ++i) block += entries[i] + "\r\n";
    return block + MruSeparatorItem;
}

std::string InsertMruBlock(const std::string& categoryText, const std::string& block) {
    std::string text = categoryText;
    ReplaceAllText(text, MruPlaceholder, block);
    return text;
}

}  // namespace foundation
