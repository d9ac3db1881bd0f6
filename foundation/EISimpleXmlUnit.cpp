#include "foundation/EISimpleXmlUnit.h"

#include <algorithm>
#include <vector>

#include "foundation/EIFunctionsBase.h"

namespace foundation {

void TEISimpleXml::ReportWalkError(const std::exception& error) {
    if (!OnWalkError) return;
    auto own = dynamic_cast<const rt::Exception*>(&error);
    OnWalkError(*this, own ? own->Message() : error.what());
}

namespace {
void CheckDepth(int depth) {
    if (depth > rt::MaxXmlDepth)
        throw rt::EXmlError("XML elements nested deeper than " + std::to_string(rt::MaxXmlDepth));
}
}  // namespace

void TEISimpleXml::Walk(rt::TXmlElement& element, const TXmlElementHandler& before, const TXmlElementHandler& after,
                        rt::TObject* context, bool continueOnError) {
    WalkAt(element, before, after, context, continueOnError, 1);
}

void TEISimpleXml::WalkAt(rt::TXmlElement& element, const TXmlElementHandler& before,
                          const TXmlElementHandler& after, rt::TObject* context, bool continueOnError, int depth) {
    CheckDepth(depth);
    if (before) before(element, context);
    for (int i = 0; i < element.ChildCount(); ++i) {
        try {
            WalkAt(element.Child(i), before, after, context, continueOnError, depth + 1);
        } catch (const std::exception& error) {
            if (!continueOnError) throw;
            ReportWalkError(error);
        }
    }
    if (after) after(element, context);
}

bool TEISimpleXml::FindElement(rt::TXmlElement& element, const TXmlElementMatcher& matcher, rt::TObject* context,
                               rt::TXmlElement*& found) {
    return FindBelow(element, matcher, context, found, 2);
}

bool TEISimpleXml::FindBelow(rt::TXmlElement& element, const TXmlElementMatcher& matcher, rt::TObject* context,
                             rt::TXmlElement*& found, int depth) {
    for (int i = 0; i < element.ChildCount(); ++i) {
        rt::TXmlElement& child = element.Child(i);
        try {
            CheckDepth(depth);
            bool matched = false;
            matcher(child, context, matched);
            if (matched) {
                found = &child;
                return true;
            }
            if (child.ChildCount() > 0 && FindBelow(child, matcher, context, found, depth + 1)) return true;
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
    // The placeholder element has no id, so the file can be searched as it stands.
    TEISimpleXml document;
    document.LoadFromString(categoryText);
    rt::TStringList entries;
    for (int i = mruIds.Count() - 1; i >= 0; --i) {
        rt::TXmlElement* element = nullptr;
        // An empty id would find the first element without one (a separator).
        if (!mruIds[i].empty() && document.FindByProperty("id", mruIds[i], element))
            entries.Add(rt::TXmlDocument::ElementToString(*element));
    }
    if (entries.Count() == 0) return "";
    entries.Sort();
    std::string block;
    for (int i = 0; i < entries.Count(); ++i) block += entries[i] + "\r\n";
    return block + MruSeparatorItem;
}

std::string InsertMruBlock(const std::string& categoryText, const std::string& block) {
    // Only the placeholder element is replaced: the same text inside an
    // attribute value, a comment or a declaration stays as it is.
    TEISimpleXml document;
    document.LoadFromString(categoryText);
    std::vector<const rt::TXmlElement*> placeholders;
    std::vector<const rt::TXmlElement*> pending{document.Root()};
    while (!pending.empty()) {
        const rt::TXmlElement* element = pending.back();
        pending.pop_back();
        const std::size_t begin = element->SourceBegin(), end = element->SourceEnd();
        if (element->ChildCount() == 0 && TextEquals(categoryText.substr(begin, end - begin), MruPlaceholder))
            placeholders.push_back(element);
        for (int i = element->ChildCount() - 1; i >= 0; --i) pending.push_back(&element->Child(i));
    }
    std::string text;
    std::size_t from = 0;
    for (const rt::TXmlElement* placeholder : placeholders) {  // in document order
        text.append(categoryText, from, placeholder->SourceBegin() - from).append(block);
        from = placeholder->SourceEnd();
    }
    return text.append(categoryText, from, std::string::npos);
}

}  // namespace foundation
