#pragma once
// A simulated browser for the tests: pages with documents, frames and
// embedded objects that are not browsers, ready and busy states set by the
// test, and a record of every navigation, post and script. Any call can be
// made to fail by its name ("Navigate", "ReadyState", "ExecScript", ...).
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Browser.h"

namespace platform::host {

// The names of the calls and a switch to make them fail, shared by the
// simulated browser and its documents.
class HostCalls {
public:
    // Later calls of that name raise BrowserError (E_FAIL).
    void Fail(const std::string& call, bool fails = true);
    // Runs before every call, with the call's name (a test changes state here).
    std::function<void(const std::string& call)> OnCall;
    // How often a call of that name was made.
    int Count(const std::string& call) const;

protected:
    void Enter(const std::string& call);

private:
    std::set<std::string> failing_;
    std::map<std::string, int> counts_;
};

// An object embedded in a page that is not a browser (a plug-in control).
class HostPlugin : public IBrowserObject {
public:
    std::shared_ptr<IBrowser> AsBrowser() override { return nullptr; }
};

// Its enumerators count and fail their calls under the name "Next"; they
// must not outlive the document.
class HostDocument : public IDocument, public HostCalls {
public:
    struct Script {
        std::string code, language;
        bool operator==(const Script&) const = default;
    };

    std::unique_ptr<IObjectEnumerator> EmbeddedObjects() override;
    void ExecScript(const std::string& code, const std::string& language) override;
    std::optional<std::string> SaveSource() override;
    void Write(const std::string& html) override;
    void Close() override;

    std::string source;                                   // what the document saves
    bool canSave = true;                                  // false: IPersistStreamInit::Save fails
    bool isContainer = true;                              // false: no enumerator of embedded objects
    bool hasWindow = true;                                // false: no parentWindow
    bool scriptsFail = false;                             // every script raises in the page
    std::vector<std::shared_ptr<IBrowserObject>> embedded;  // frames and plug-ins, in order

    std::vector<Script> scripts;   // scripts run in this document (failed ones excluded)
    std::vector<std::string> written;
    int closes = 0;
};

class HostBrowser : public IBrowser, public HostCalls, public std::enable_shared_from_this<HostBrowser> {
public:
    struct Navigation {
        bool navigate2 = false;                // Navigate2 rather than Navigate
        std::string url;
        std::optional<std::string> postBody;   // exact bytes
        std::optional<std::string> headers;
        bool operator==(const Navigation&) const = default;
    };
    struct BarRequest {
        std::string clsid;
        bool show = false;
        int size = 0;
        bool operator==(const BarRequest&) const = default;
    };
    struct Page {
        std::string title;
        std::shared_ptr<HostDocument> document;
    };

    std::shared_ptr<IBrowser> AsBrowser() override { return shared_from_this(); }
    const void* Identity() override { return this; }

    void Navigate(const std::string& url) override;
    void Navigate2(const std::string& url, const std::optional<std::string>& postBody,
                   const std::optional<std::string>& headers) override;
    void Stop() override;
    void Refresh2(int level) override;
    std::string LocationURL() override;
    std::string LocationName() override;
    bool Busy() override;
    int ReadyState() override;
    std::shared_ptr<IDocument> Document() override;
    WindowHandle HWND() override;
    bool WindowMaximized() override;
    void ShowWindowNormal() override;
    void SetLeft(int value) override;
    void SetTop(int value) override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    void ShowBrowserBar(const std::string& clsid, bool show, int size) override;
    std::string VersionText() override;

    // Shows `url` as loaded (complete, not busy) with that title and document.
    void Show(const std::string& url, const std::string& title, std::shared_ptr<HostDocument> document);
    // A page a navigation to `url` loads; other addresses load an empty page.
    void AddPage(const std::string& url, const std::string& title, std::shared_ptr<HostDocument> document);
    // Navigations leave the page loading (ready state 1, busy) instead of complete.
    bool navigationsComplete = true;

    std::string locationUrl, locationName;
    bool busy = false;
    int readyState = readystate::Uninitialized;
    std::shared_ptr<HostDocument> document;
    WindowHandle hwnd = 0x4242;
    bool maximized = false;
    int left = 10, top = 10, width = 800, height = 600;
    std::string versionText = "6.0.2900.2180";

    std::vector<Navigation> navigations;
    std::vector<int> refreshes;  // the levels
    std::vector<BarRequest> bars;
    std::vector<std::string> placements;  // "Left=0", "Top=0", "normal", ... in call order

private:
    void Load(const std::string& url);
    std::map<std::string, Page> pages_;
};

// A frameset page's pieces in one go: a document holding these browsers.
std::shared_ptr<HostDocument> HostDocumentWith(std::string source,
                                               std::vector<std::shared_ptr<IBrowserObject>> embedded = {});

}  // namespace platform::host
