#include "runtime/SimpleXml.h"

#include <cstring>

#include "runtime/Format.h"

namespace rt {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || u >= 0x80;
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// Reads one document; every failure names the line and column it stopped at.
class Parser {
public:
    explicit Parser(const std::string& text) : s_(text) {}

    std::unique_ptr<TXmlElement> Document() {
        SkipMisc();
        if (pos_ >= s_.size() || s_[pos_] != '<') Fail("no root element");
        auto root = Element(nullptr, 1);
        SkipMisc();
        if (pos_ < s_.size()) Fail("content after the root element");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        int line = 1, column = 1;
        for (std::size_t i = 0; i < pos_ && i < s_.size(); ++i) {
            if (s_[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw EXmlError(Format("XML error at line %d, column %d: %s", {line, column, what}));
    }

    bool At(const char* text) const { return s_.compare(pos_, std::strlen(text), text) == 0; }

    void SkipBlanks() {
        while (pos_ < s_.size() && IsBlank(s_[pos_])) ++pos_;
    }

    void SkipPast(const char* end, const char* what) {
        const std::size_t found = s_.find(end, pos_);
        if (found == std::string::npos) Fail(std::string("unterminated ") + what);
        pos_ = found + std::strlen(end);
    }

    // Declarations, processing instructions, comments and document types.
    void SkipMisc() {
        for (;;) {
            SkipBlanks();
            if (At("<?")) SkipPast("?>", "processing instruction");
            else if (At("<!--")) SkipPast("-->", "comment");
            else if (At("<!")) SkipDeclaration();
            else return;
        }
    }

    void SkipDeclaration() {
        int depth = 0;
        for (; pos_ < s_.size(); ++pos_) {
            if (s_[pos_] == '[') ++depth;
            else if (s_[pos_] == ']') --depth;
            else if (s_[pos_] == '>' && depth <= 0) {
                ++pos_;
                return;
            }
        }
        Fail("unterminated declaration");
    }

    std::string Name() {
        if (pos_ >= s_.size() || !IsNameStart(s_[pos_])) Fail("a name was expected");
        const std::size_t start = pos_;
        while (pos_ < s_.size() && IsNameChar(s_[pos_])) ++pos_;
        return s_.substr(start, pos_ - start);
    }

    void Expect(char c) {
        if (pos_ >= s_.size() || s_[pos_] != c) Fail(std::string("'") + c + "' was expected");
        ++pos_;
    }

    // A reference at pos_ (just behind "&"), decoded; unknown ones stay as written.
    std::string Reference() {
        const std::size_t semicolon = s_.find(';', pos_);
        if (semicolon == std::string::npos || semicolon - pos_ > 10) return "&";
        const std::string body = s_.substr(pos_, semicolon - pos_);
        static const std::pair<const char*, char> named[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto& [entity, c] : named) {
            if (body == entity) {
                pos_ = semicolon + 1;
                return std::string(1, c);
            }
        }
        if (body.size() >= 2 && body[0] == '#') {
            const bool hex = body[1] == 'x' || body[1] == 'X';
            const std::string digits = body.substr(hex ? 2 : 1);
            if (!digits.empty() &&
                digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") == std::string::npos) {
                const unsigned long code = std::stoul(digits, nullptr, hex ? 16 : 10);
                pos_ = semicolon + 1;
                // Texts are 8-bit: a character beyond the code page cannot be kept.
                return std::string(1, code < 256 ? static_cast<char>(code) : '?');
            }
        }
        return "&";
    }

    std::string AttributeValue() {
        if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) Fail("a quoted value was expected");
        const char quote = s_[pos_++];
        std::string value;
        for (;;) {
            if (pos_ >= s_.size()) Fail("unterminated attribute value");
            const char c = s_[pos_];
            if (c == quote) {
                ++pos_;
                return value;
            }
            if (c == '<') Fail("'<' in an attribute value");
            ++pos_;
            if (c == '&') {
                value += Reference();
            } else if (c == '\r' && pos_ < s_.size() && s_[pos_] == '\n') {
                // A line break counts once; blanks inside a value read as spaces.
            } else {
                value += IsBlank(c) ? ' ' : c;
            }
        }
    }

    std::unique_ptr<TXmlElement> Element(TXmlElement* parent, int depth) {
        if (depth > MaxXmlDepth) Fail("elements nested deeper than " + std::to_string(MaxXmlDepth));
        const std::size_t begin = pos_;
        Expect('<');
        auto element = std::make_unique<TXmlElement>(Name(), parent);
        for (;;) {
            SkipBlanks();
            if (At("/>")) {
                pos_ += 2;
                element->SetSourceRange(begin, pos_);
                return element;
            }
            if (At(">")) {
                ++pos_;
                break;
            }
            const std::string name = Name();
            if (element->HasAttribute(name)) Fail("duplicate attribute " + name);
            SkipBlanks();
            Expect('=');
            SkipBlanks();
            element->SetAttribute(name, AttributeValue());
        }
        for (;;) {
            if (pos_ >= s_.size()) Fail("element " + element->Name() + " is not closed");
            if (At("</")) {
                pos_ += 2;
                if (Name() != element->Name()) Fail("end tag does not match " + element->Name());
                SkipBlanks();
                Expect('>');
                element->SetSourceRange(begin, pos_);
                return element;
            }
            if (At("<!--")) SkipPast("-->", "comment");
            else if (At("<![CDATA[")) SkipPast("]]>", "CDATA section");
            else if (At("<?")) SkipPast("?>", "processing instruction");
            else if (At("<")) element->AdoptChild(Element(element.get(), depth + 1));
            else {
                pos_ = s_.find('<', pos_);  // text content is not kept
                if (pos_ == std::string::npos) pos_ = s_.size();
            }
        }
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

}  // namespace

TXmlElement::~TXmlElement() {
    // Children are moved onto a list of our own and freed leaves first, so
    // no destructor runs inside another.
    std::vector<std::unique_ptr<TXmlElement>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<TXmlElement> last = std::move(pending.back());
        pending.pop_back();
        for (auto& child : last->children_) pending.push_back(std::move(child));
        last->children_.clear();
    }
}

std::string TXmlElement::Attribute(const std::string& name, const std::string& defaultValue) const {
    for (const auto& [n, v] : attributes_)
        if (SameText(n, name)) return v;
    return defaultValue;
}

bool TXmlElement::HasAttribute(const std::string& name) const {
    for (const auto& attribute : attributes_)
        if (SameText(attribute.first, name)) return true;
    return false;
}

void TXmlElement::SetAttribute(const std::string& name, const std::string& value) {
    for (auto& attribute : attributes_) {
        if (SameText(attribute.first, name)) {
            attribute.second = value;
            return;
        }
    }
    attributes_.emplace_back(name, value);
}

TXmlElement& TXmlElement::AddChild(const std::string& name) {
    children_.push_back(std::make_unique<TXmlElement>(name, this));
    return *children_.back();
}

void TXmlElement::AdoptChild(std::unique_ptr<TXmlElement> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
}

void TXmlDocument::LoadFromString(const std::string& text) { root_ = Parser(text).Document(); }

std::string TXmlDocument::EncodeValue(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '"': out += "&#34;"; break;
            case '&': out += "&#38;"; break;
            case '\'': out += "&#39;"; break;
            case '<': out += "&#60;"; break;
            case '>': out += "&#62;"; break;
            // Blanks inside a value read back as spaces unless written as references.
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default: out += c;
        }
    }
    return out;
}

namespace {
void WriteElement(const TXmlElement& element, int depth, std::string& text) {
    if (depth > MaxXmlDepth)
        throw EXmlError("XML elements nested deeper than " + std::to_string(MaxXmlDepth) + " cannot be written");
    text += "<" + element.Name();
    for (int i = 0; i < element.AttributeCount(); ++i)
        text += " " + element.AttributeName(i) + "=\"" + TXmlDocument::EncodeValue(element.AttributeValue(i)) + "\"";
    if (element.ChildCount() == 0) {
        text += "/>";
        return;
    }
    text += ">";
    for (int i = 0; i < element.ChildCount(); ++i) WriteElement(element.Child(i), depth + 1, text);
    text += "</" + element.Name() + ">";
}
}  // namespace

std::string TXmlDocument::ElementToString(const TXmlElement& element) {
    std::string text;
    WriteElement(element, 1, text);
    return text;
}

}  // namespace rt
