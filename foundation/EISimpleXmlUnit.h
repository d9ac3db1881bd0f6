#pragma once
// The system's XML document: the element tree of the parser plus a
// depth-first walk with handlers before and after each element, a search for
// the first element with an attribute value, and the remembered-entry (MRU)
// block that the category menu files take in place of "<mru/>".
#include <functional>
#include <string>

#include "runtime/Classes.h"
#include "runtime/SimpleXml.h"

namespace foundation {

class TEISimpleXml;

using TXmlElementHandler = std::function<void(rt::TXmlElement& element, rt::TObject* context)>;
using TXmlElementMatcher = std::function<void(rt::TXmlElement& element, rt::TObject* context, bool& matched)>;
using TXmlWalkErrorEvent = std::function<void(TEISimpleXml& sender, const std::string& message)>;

// The criterion of FindByProperty.
class TEISimpleXmlFindRec : public rt::TObject {
    RT_CLASS_SAME_PROPS(TEISimpleXmlFindRec, rt::TObject)
public:
    std::string PropName;
    std::string PropValue;
};

class TEISimpleXml : public rt::TXmlDocument {
public:
    // Receives the message of a child's error during a walk that goes on.
    TXmlWalkErrorEvent OnWalkError;

    // Depth-first from `element`: before, the children, after. A child's error
    // (an exception) propagates unless `continueOnError`; then its message
    // goes to OnWalkError and the walk goes on. Anything that is not an
    // exception always propagates. Elements nested deeper than
    // rt::MaxXmlDepth count as a child's error.
    void Walk(rt::TXmlElement& element, const TXmlElementHandler& before, const TXmlElementHandler& after,
              rt::TObject* context, bool continueOnError);
    // The first element below `element` (never `element` itself), depth-first
    // in document order, that the matcher accepts. Errors of single elements
    // are reported and skipped.
    bool FindElement(rt::TXmlElement& element, const TXmlElementMatcher& matcher, rt::TObject* context,
                     rt::TXmlElement*& found);
    // FindElement from the root by an attribute's value, ignoring case.
    bool FindByProperty(const std::string& propName, const std::string& propValue, rt::TXmlElement*& found);

private:
    void ReportWalkError(const std::exception& error);
    // The walk and the search one level down; past rt::MaxXmlDepth they
    // raise rt::EXmlError instead of going deeper.
    void WalkAt(rt::TXmlElement& element, const TXmlElementHandler& before, const TXmlElementHandler& after,
                rt::TObject* context, bool continueOnError, int depth);
    bool FindBelow(rt::TXmlElement& element, const TXmlElementMatcher& matcher, rt::TObject* context,
                   rt::TXmlElement*& found, int depth);
};

inline constexpr const char* MruPlaceholder = "<mru/>";
inline constexpr const char* MruSeparatorItem = "<item caption=\"-\" url=\"-\" mru=\"\"/>";

// The remembered entries of a category file (ids newest first) as XML: the
// file's elements of those ids, sorted by their text ignoring case, then the
// separator item; empty when no id is found. Ids the file no longer has are
// left out. Malformed category text raises rt::EXmlError.
std::string BuildMruBlock(const std::string& categoryText, const rt::TStringList& mruIds);
// The category text with every "<mru/>" (ignoring case) replaced by `block`.
std::string InsertMruBlock(const std::string& categoryText, const std::string& block);

}  // namespace foundation
