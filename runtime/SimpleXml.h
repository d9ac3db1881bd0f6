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

class TXmlElement {
public:
    explicit TXmlElement(std::string name, TXmlElement* parent = nullptr)
        : name_(std::move(name)), parent_(parent) {}
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

    int ChildCount() const { return static_cast<int>(children_.size()); }
    TXmlElement& Child(int index) const { return *children_.at(index); }
    TXmlElement& AddChild(const std::string& name);
    void AdoptChild(std::unique_ptr<TXmlElement> child);

private:
    std::string name_;
    TXmlElement* parent_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::vector<std::unique_ptr<TXmlElement>> children_;
};

class TXmlDocument {
public:
    TXmlDocument() = default;
    virtual ~TXmlDocument() = default;

    // Builds the tree; raises EXmlError when the text is not one well-formed root element.
    void LoadFromString(const std::string& text);
    // Null before a successful load.
    TXmlElement* Root() const { return root_.get(); }
    // The element with its attributes and children as XML text.
    static std::string ElementToString(const TXmlElement& element);
    // A value with the five special characters written as decimal references.
    static std::string EncodeValue(const std::string& value);

private:
    std::unique_ptr<TXmlElement> root_;
};

}  // namespace rt
