#pragma once
// A small XML element-tree parser: one root element, elements with ordered
// attributes and children. Text content, comments, processing instructions
// and document type declarations are skipped. Attribute values may be in
// double or single quotes; numeric character references (decimal and hex)
// and the five predefined entities are decoded, and the five special
// characters are written back as decimal references.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/SysUtils.h"

namespace rt {

// Malformed XML: "XML error at line %d, column %d: %s".
class EXmlError : public Exception { using Exception::Exception; };

// How deep elements may nest. Menu files are a few levels deep; the limit
// keeps a damaged file from exhausting the small stack of a browser thread
// in anything that follows the tree (parse, write, walk).
inline constexpr int MaxXmlDepth = 128;

class TXmlElement {
public:
    explicit TXmlElement(std::string name, TXmlElement* parent = nullptr)
        : name_(std::move(name)), parent_(parent) {}
    // Frees the subtree without recursion, however deep it was built.
    ~TXmlElement();
    TXmlElement(const TXmlElement&) = delete;
    TXmlElement& operator=(const TXmlElement&) = delete;

    const std::string& Name() const { return name_; }
    TXmlElement* Parent() const { return parent_; }

    int AttributeCount() const { return static_cast<int>(attributes_.size()); }
    const std::string& AttributeName(int index) const { return attributes_.at(index).first; }
    const std::string& AttributeValue(int index) const { return attributes_.at(index).second; }
    // The value of the attribute of that name (ignoring case), or `defaultValue`.
    std::string Attribute(const std::string& name, const std::string& defaultValue = "") const;
    bool HasAttribute(const std::string& name) const;
    // Sets an attribute, replacing one of the same name.
    void SetAttribute(const std::string& name, const std::string& value);

    // Where a parsed element stood in the loaded text: from its "<" to just
    // behind its closing ">" (both 0 for an element built in code).
    std::size_t SourceBegin() const { return sourceBegin_; }
    std::size_t SourceEnd() const { return sourceEnd_; }
    void SetSourceRange(std::size_t begin, std::size_t end) {
        sourceBegin_ = begin;
        sourceEnd_ = end;
    }

    int ChildCount() const { return static_cast<int>(children_.size()); }
    TXmlElement& Child(int index) const { return *children_.at(index); }
    TXmlElement& AddChild(const std::string& name);
    void AdoptChild(std::unique_ptr<TXmlElement> child);

private:
    std::string name_;
    TXmlElement* parent_;
    std::size_t sourceBegin_ = 0, sourceEnd_ = 0;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::vector<std::unique_ptr<TXmlElement>> children_;
};

class TXmlDocument {
public:
    TXmlDocument() = default;
    virtual ~TXmlDocument() = default;

    // Builds the tree; raises EXmlError when the text is not one well-formed
    // root element or nests deeper than MaxXmlDepth.
    void LoadFromString(const std::string& text);
    // Null before a successful load.
    TXmlElement* Root() const { return root_.get(); }
    // The element with its attributes and children as XML text; EXmlError
    // when the element nests deeper than MaxXmlDepth.
    static std::string ElementToString(const TXmlElement& element);
    // A value with the five special characters, tab, CR and LF written as
    // decimal references, so that it reads back unchanged.
    static std::string EncodeValue(const std::string& value);

private:
    std::unique_ptr<TXmlElement> root_;
};

}  // namespace rt
