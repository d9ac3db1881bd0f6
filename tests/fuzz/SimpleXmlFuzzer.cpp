// The XML parser on any bytes: a text it accepts writes back as XML that
// parses to the same tree and writes back identically; the element ranges it
// reports lie inside the text; the system's document walks, searches and
// fills the remembered-entry block of any tree it accepts.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "foundation/EISimpleXmlUnit.h"
#include "runtime/SimpleXml.h"

namespace {

using rt::TXmlDocument;
using rt::TXmlElement;

// Names, attributes (in order) and children alike. Depth is bounded by the parser.
bool SameTree(const TXmlElement& a, const TXmlElement& b) {
    if (a.Name() != b.Name() || a.AttributeCount() != b.AttributeCount() || a.ChildCount() != b.ChildCount())
        return false;
    for (int i = 0; i < a.AttributeCount(); ++i)
        if (a.AttributeName(i) != b.AttributeName(i) || a.AttributeValue(i) != b.AttributeValue(i)) return false;
    for (int i = 0; i < a.ChildCount(); ++i)
        if (!SameTree(a.Child(i), b.Child(i))) return false;
    return true;
}

// Every element, depth-first in document order.
void Collect(TXmlElement& element, std::vector<TXmlElement*>& all) {
    all.push_back(&element);
    for (int i = 0; i < element.ChildCount(); ++i) Collect(element.Child(i), all);
}

int ElementCount(const std::string& text) {
    TXmlDocument document;
    document.LoadFromString(text);
    std::vector<TXmlElement*> all;
    Collect(*document.Root(), all);
    return static_cast<int>(all.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    foundation::TEISimpleXml document;
    try {
        document.LoadFromString(text);
    } catch (const rt::EXmlError&) {
        return 0;  // refusing malformed text is the parser's job
    }
    ZR_CHECK(document.Root() != nullptr, zrfuzz::Show(text));
    TXmlElement& root = *document.Root();

    std::vector<TXmlElement*> all;
    Collect(root, all);
    for (const TXmlElement* element : all) {
        const std::size_t begin = element->SourceBegin(), end = element->SourceEnd();
        ZR_CHECK(begin < end && end <= text.size() && text[begin] == '<' && text[end - 1] == '>',
                 zrfuzz::Show(text));
        if (element->Parent()) {
            ZR_CHECK(element->Parent()->SourceBegin() < begin && end < element->Parent()->SourceEnd(),
                     zrfuzz::Show(text));
        }
    }

    // Writing back: what the parser accepted is never too deep to write, and
    // the written text is a fixed point. Text content, comments and the like
    // are not kept, so only the tree (not the input's bytes) can come back.
    const std::string written = TXmlDocument::ElementToString(root);
    TXmlDocument again;
    again.LoadFromString(written);
    ZR_CHECK(SameTree(root, *again.Root()), zrfuzz::Show(text) + "\nwritten: " + zrfuzz::Show(written));
    ZR_CHECK(TXmlDocument::ElementToString(*again.Root()) == written, zrfuzz::Show(written));

    // The walk visits every element once, before and after.
    int before = 0, after = 0;
    document.Walk(root, [&](TXmlElement&, rt::TObject*) { ++before; }, [&](TXmlElement&, rt::TObject*) { ++after; },
                  nullptr, false);
    ZR_CHECK(before == static_cast<int>(all.size()) && after == before, zrfuzz::Show(text));

    // The search by attribute finds the first element below the root that has it.
    std::vector<std::string> ids;
    for (std::size_t i = 1; i < all.size(); ++i) {
        const std::string id = all[i]->Attribute("id");
        if (!id.empty() && ids.size() < 4) ids.push_back(id);
    }
    for (const std::string& id : ids) {
        TXmlElement* found = nullptr;
        ZR_CHECK(document.FindByProperty("id", id, found) && found, zrfuzz::Show(text));
        for (std::size_t i = 1; all[i] != found; ++i)
            ZR_CHECK(!rt::SameText(all[i]->Attribute("id"), id), zrfuzz::Show(text));
    }

    // The remembered-entry block of this text is XML items; filling the
    // placeholders keeps the text well-formed, with the block's elements in
    // place of each placeholder (the root itself is never one in a category file).
    rt::TStringList mruIds;
    for (const std::string& id : ids) mruIds.Add(id);
    const std::string block = foundation::BuildMruBlock(text, mruIds);
    if (!block.empty()) ElementCount("<items>" + block + "</items>");
    int placeholders = 0;
    for (const TXmlElement* element : all) {
        const std::string source = text.substr(element->SourceBegin(), element->SourceEnd() - element->SourceBegin());
        if (element->ChildCount() == 0 && rt::SameText(source, foundation::MruPlaceholder)) ++placeholders;
    }
    if (!rt::SameText(text.substr(root.SourceBegin(), root.SourceEnd() - root.SourceBegin()),
                      foundation::MruPlaceholder)) {
        const int count = static_cast<int>(all.size());
        const std::string emptied = foundation::InsertMruBlock(text, "");
        ZR_CHECK(ElementCount(emptied) == count - placeholders, zrfuzz::Show(emptied));
        const std::string filled = foundation::InsertMruBlock(text, foundation::MruSeparatorItem);
        ZR_CHECK(ElementCount(filled) == count, zrfuzz::Show(filled));
    }
    return 0;
}
