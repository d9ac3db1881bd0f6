// TSolvane: the page. Documents, the frame walk, scripts, page sources,
// titles, writing HTML and the search-word highlighting.
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "platform/Services.h"
#include "toolbar/plgSolvane.h"

namespace toolbar {
namespace {

// A frameset page has at most this many embedded objects worth counting.
constexpr unsigned kMaxFrames = 100;
constexpr std::size_t kShortTitleLength = 60;

const char* const kHighlightColors[] = {"yellow", "violet", "lime", "cyan"};
constexpr const char* kHighlightTextColor = "black";

// Paints every occurrence of the word with the page's own text-range search.
constexpr const char* kHighlightScript =
    "FD983r={x:function(){var r,i,s=\"%s\";if(s){r=document.body.createTextRange();for(i=0;r.findText(s);i++)"
    "{r.execCommand(\"BackColor\",\"false\",\"%s\");r.execCommand(\"ForeColor\",\"false\",\"%s\");"
    "r.collapse(false)}}}};FD983r.x()";

}  // namespace

std::shared_ptr<platform::IDocument> TSolvane::Document() {
    return OleCall([&] { return Browser().Document(); });
}

int TSolvane::FrameCount() {
    auto doc = Document();
    if (!doc) return 0;
    try {
        auto objects = doc->EmbeddedObjects();
        if (!objects) return 0;
        const std::size_t count = objects->Next(kMaxFrames).size();
        return static_cast<int>(std::min<std::size_t>(count, kMaxFrames));
    } catch (const platform::BrowserError&) {
        return 0;
    }
}

bool TSolvane::forEachFrame(bool continueOnError, void* data, const TFrameCallback& callback) {
    EnsureInReadyState();
    auto doc = Document();
    if (!doc) return false;
    std::unique_ptr<platform::IObjectEnumerator> objects;
    try {
        objects = doc->EmbeddedObjects();
    } catch (...) {
        return false;
    }
    if (!objects) return true;  // nothing embedded to visit, nothing failed

    bool result = true;
    for (;;) {
        std::vector<std::shared_ptr<platform::IBrowserObject>> next;
        try {
            next = objects->Next(1);
        } catch (...) {
            return false;
        }
        if (next.empty() || !next.front()) break;
        bool succeeded = false;
        try {
            auto frame = next.front()->AsBrowser();
            if (frame) {  // a plug-in control is no frame: a failed step
                callback(*frame, data);
                succeeded = true;
            }
        } catch (...) {
        }
        if (!succeeded && !continueOnError) return false;
        result = result && succeeded;
    }
    return result;
}

bool TSolvane::ExecScriptInDocument(platform::IDocument* doc, const std::string& script) {
    if (!doc) return false;
    try {
        doc->ExecScript(script, "javascript");
        return true;
    } catch (...) {
        return false;
    }
}

bool TSolvane::execScript(const std::string& script) {
    lastScript_ = script;
    if (FrameCount() < 1) return ExecScriptInDocument(Document().get(), script);
    return execScriptInFrames(script);
}

bool TSolvane::execScriptInFrames(const std::string& script) {
    return forEachFrame(true, const_cast<std::string*>(&script), [](platform::IBrowser& frame, void* data) {
        auto doc = OleCall([&] { return frame.Document(); });
        ExecScriptInDocument(doc.get(), *static_cast<const std::string*>(data));
    });
}

bool TSolvane::SaveDocumentToLines(platform::IDocument* doc, rt::TStringList& lines) {
    try {
        auto bytes = doc->SaveSource();
        if (!bytes) return true;
        lines.SetText(*bytes);
        return false;
    } catch (...) {
        return true;
    }
}

std::string TSolvane::GetDocumentSource(platform::IDocument* doc) {
    try {
        rt::TStringList lines;
        const bool failed = doc ? SaveDocumentToLines(doc, lines) : true;
        if (failed) foundation::RaiseError("Couldn't save source");
        return lines.Text();
    } catch (...) {
        foundation::RaisePageStillLoading();
    }
}

rt::TStringList& TSolvane::sGetSource(bool refresh) {
    if (!refresh) return pageSources_;
    pageSources_.Clear();
    try {
        auto doc = Document();
        pageSources_.Add(rt::Trim(GetDocumentSource(doc.get())));
    } catch (...) {
    }
    forEachFrame(true, &pageSources_, [](platform::IBrowser& frame, void* data) {
        auto doc = OleCall([&] { return frame.Document(); });
        static_cast<rt::TStringList*>(data)->Add(rt::Trim(GetDocumentSource(doc.get())));
    });
    return pageSources_;
}

int TSolvane::GetPageSize() {
    const rt::TStringList& sources = sGetSource(true);
    int size = 0;
    for (int i = 0; i < sources.Count(); ++i) size += static_cast<int>(sources[i].size());
    return size;
}

bool TSolvane::PageCouldntBeDisplayed() {
    try {
        const rt::TStringList& sources = sGetSource(true);
        return sources.Count() > 0 && foundation::ContainsText(sources[0], "The page cannot");
    } catch (...) {
        return true;
    }
}

std::string TSolvane::CurrentPageTitle() {
    try {
        return Browser().LocationName();
    } catch (...) {
        RaisePageNotLoaded();
    }
}

std::string TSolvane::CurrentShortPageTitle() {
    std::string title = CurrentPageTitle();
    if (title.size() > kShortTitleLength) title = title.substr(0, kShortTitleLength) + "...";
    return title;
}

std::string TSolvane::CurrentPageUrl() {
    try {
        return Browser().LocationURL();
    } catch (...) {
        RaisePageNotLoaded();
    }
}

void TSolvane::PostHtml(const std::string& html) {
    auto doc = Document();
    if (!doc) throw rt::EOleException("There is no document to write to");
    OleCall([&] {
        doc->Write(html);
        doc->Close();
    });
}

std::string TSolvane::ScriptStringText(const std::string& text) {
    // Escaped after the conversion to UTF-16, never byte by byte: in a
    // double-byte code page a trail byte can read as "\" and swallow an
    // escape. The result is plain ASCII, the same in every code page.
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char16_t unit : platform::CodePage().ToUtf16(text)) {
        switch (unit) {
            case u'\\': out += "\\\\"; break;
            case u'"': out += "\\\""; break;
            case u'\'': out += "\\'"; break;
            case u'\n': out += "\\n"; break;
            case u'\r': out += "\\r"; break;
            default:
                // Controls, "<" and ">" (no "</script>" in a page) and every
                // non-ASCII unit (line separators included) as \uXXXX.
                if (unit < 0x20 || unit >= 0x7F || unit == u'<' || unit == u'>') {
                    out += "\\u";
                    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
                } else {
                    out += static_cast<char>(unit);
                }
        }
    }
    return out;
}

std::string TSolvane::HighlightScript(const std::string& word, const std::string& backColor) {
    // The word is escaped so that the page searches for exactly it and a quote
    // or backslash in it cannot end the string or change the script.
    return rt::Format(kHighlightScript, {ScriptStringText(word), backColor, kHighlightTextColor});
}

void TSolvane::ShowOccurrencesOfWords(const rt::TStringList& words, bool show) {
    if (show) {
        for (int i = 0; i < words.Count(); ++i) execScript(HighlightScript(words[i], kHighlightColors[i % 4]));
    } else if (words.Count() > 0) {
        RefreshFromCache();  // reloads the page without the paint
    }
}

}  // namespace toolbar
