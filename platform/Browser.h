#pragma once
// Port: the web browser window that hosts the toolbar band, its documents and
// the objects embedded in them. One object per browser reference (not a
// process-wide service): the controller is handed the browser it works on.
//
// Every call that fails raises BrowserError carrying the automation result.
// Strings are 8-bit text in the system code page.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Desktop.h"

namespace platform {

// A failed automation call; `code` is the HRESULT.
class BrowserError : public std::runtime_error {
public:
    BrowserError(const std::string& message, std::int32_t code) : std::runtime_error(message), code_(code) {}
    std::int32_t Code() const { return code_; }

private:
    std::int32_t code_;
};

class IBrowser;
class IDocument;

// An automation object the browser hands out: the pDisp of a browser event,
// an object embedded in a document.
class IBrowserObject {
public:
    virtual ~IBrowserObject() = default;
    // The object as a browser (QueryInterface for IWebBrowser2); null when it is none.
    virtual std::shared_ptr<IBrowser> AsBrowser() = 0;
};

// IEnumUnknown over the embedded objects of a document.
class IObjectEnumerator {
public:
    virtual ~IObjectEnumerator() = default;
    // Up to `count` further objects in the container's order; fewer at the end.
    virtual std::vector<std::shared_ptr<IBrowserObject>> Next(unsigned count) = 0;
};

// READYSTATE values.
namespace readystate {
constexpr int Uninitialized = 0;
constexpr int Loading = 1;
constexpr int Loaded = 2;
constexpr int Interactive = 3;
constexpr int Complete = 4;
}  // namespace readystate

// A page's document (IHTMLDocument2 with its container and persistence).
class IDocument {
public:
    virtual ~IDocument() = default;
    // IOleContainer::EnumObjects(OLECONTF_EMBEDDINGS); null when the document
    // is no container or the call does not answer S_OK.
    virtual std::unique_ptr<IObjectEnumerator> EmbeddedObjects() = 0;
    // parentWindow.execScript(code, language), its result dropped. Raises when
    // the document has no window or the script fails.
    virtual void ExecScript(const std::string& code, const std::string& language) = 0;
    // The document's HTML as IPersistStreamInit::Save writes it; nullopt when
    // the document cannot save itself (no persistence, or the save fails).
    virtual std::optional<std::string> SaveSource() = 0;
    // IHTMLDocument2::write with one string, and close.
    virtual void Write(const std::string& html) = 0;
    virtual void Close() = 0;
};

// IWebBrowser2.
class IBrowser : public IBrowserObject {
public:
    // Same underlying object (COM identity) means the same value.
    virtual const void* Identity() = 0;

    // Navigate(url, 0, 0, 0, 0): every optional argument the integer 0.
    virtual void Navigate(const std::string& url) = 0;
    // Navigate2(url, empty, empty, body, headers). A body goes out as a byte
    // array of exactly these bytes under the plain array type tag; headers as
    // a string. Missing ones stay empty variants.
    virtual void Navigate2(const std::string& url, const std::optional<std::string>& postBody,
                           const std::optional<std::string>& headers) = 0;
    virtual void Stop() = 0;
    virtual void Refresh2(int level) = 0;

    virtual std::string LocationURL() = 0;
    virtual std::string LocationName() = 0;
    virtual bool Busy() = 0;
    virtual int ReadyState() = 0;
    // The loaded document; null when there is none.
    virtual std::shared_ptr<IDocument> Document() = 0;

    // The browser's top-level window and its placement.
    virtual WindowHandle HWND() = 0;
    virtual bool WindowMaximized() = 0;
    virtual void ShowWindowNormal() = 0;  // out of the maximised state
    virtual void SetLeft(int value) = 0;
    virtual void SetTop(int value) = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;

    // ShowBrowserBar(clsid text, show, size).
    virtual void ShowBrowserBar(const std::string& clsid, bool show, int size) = 0;

    // The "FileVersion" text of the shell's browser library ("shdocvw.dll" in
    // the system folder); empty when it cannot be read.
    virtual std::string VersionText() = 0;
};

}  // namespace platform
