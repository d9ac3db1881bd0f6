#pragma once
// TSolvane: the toolbar's one wrapper around the browser window that hosts
// the band. Navigation through address templates, posts, the product pages,
// parent addresses, search terms, readiness, the band, the key pass-through
// (plgSolvane.cpp) and everything that reads or changes the page: frames,
// scripts, sources, titles, highlighting (plgSolvanePage.cpp).
//
// Nothing is cached: every query goes to the browser when it is asked. A
// failed browser call raises rt::EOleException unless the operation says
// otherwise; unsited (no browser), every call that needs it fails the same way.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Browser.h"
#include "runtime/Classes.h"

namespace toolbar {

// A window message as the band's input object receives it.
struct TMsg {
    platform::WindowHandle hwnd = 0;
    unsigned message = 0;
    std::uintptr_t wParam = 0;  // the key code of a key message
    std::intptr_t lParam = 0;
};

// What the key pass-through needs of the toolbar control that has the focus;
// the toolbar form supplies it for its controls.
class IFocusedControl {
public:
    enum class TKind { Other, EditBox, ComboBox, ListBox };
    virtual ~IFocusedControl() = default;
    virtual TKind ControlKind() const = 0;
    // TranslateMessage and DispatchMessage of the key message to the control.
    virtual void TranslateAndDispatch(const TMsg& msg) = 0;
};

class TSolvane : public rt::TComponent {
    RT_CLASS(TSolvane)
public:
    using TWBOnGetSearchText = std::function<std::string()>;
    using TNotifyEvent = std::function<void(rt::TObject* sender)>;
    using TFrameCallback = std::function<void(platform::IBrowser& frame, void* data)>;

    // The toolbar band's class identifier (ShowBand, CloseBand).
    static constexpr const char* BandClsid = "{7A33D136-248C-4BA5-B72D-BB68F4AD9039}";
    // The product web site; the product pages live under it.
    static constexpr const char* ProductSite = "http://www.zephyratoolbar.com";

    explicit TSolvane(rt::TComponent* owner);
    ~TSolvane() override;

    // ---- Browser and band
    const std::shared_ptr<platform::IBrowser>& IE() const { return ie_; }
    void SetIE(std::shared_ptr<platform::IBrowser> browser);
    bool AssignIEHwnd(platform::WindowHandle& wnd);
    // `disp` (an event's pDisp) is the very browser this controller holds.
    bool IsTopWindow(platform::IBrowserObject* disp);
    void ShowBand();
    void CloseBand();
    void RefreshBandInfo();
    void MaximizeBand();
    // 0: the control handled the key; 1: the browser handles it.
    int TranslateAcceleratorIO(const TMsg& msg, IFocusedControl* focusedControl);
    bool GetDisplayScriptErrors() const;
    void SetDisplayScriptErrors(bool value);

    // ---- Navigation and addresses
    void GotoUrl(const std::string& url);
    void GotoHomePage();
    void HomePage();
    void GotoHelpPage();
    bool GotoSpecialUrl(const std::string& key);
    void ContactUs();
    void RequestSupport();
    void ReportABug();
    void SuggestAFeature();
    void TellAFriend();
    void PostUrl(const std::string& url, const std::string& postData);
    std::string GetExpandedUrl(const std::string& urlTemplate, const std::string& searchText);
    static bool IsRealUrl(const std::string& s);
    std::string GetUniqueUrl(const std::string& url);
    std::string GetDomain();
    std::string GetDomainRoot();
    void RefreshFromCache();
    bool CanGoUp();
    bool AssignUpUrls(rt::TStringList& list);
    bool AssignUpUrlsAsXml(std::string& xml);
    // Opens the nearest parent address.
    void GoUp();

    // ---- Search text
    TWBOnGetSearchText OnGetSearchText;
    TNotifyEvent OnGotoUrl;
    std::string getSearchText();
    bool SearchTextHasChanged();
    rt::TStringList& GetstrSearchTerms();
    const std::string& LastSearchText() const { return lastSearchText_; }
    void SetLastSearchText(const std::string& value) { lastSearchText_ = value; }

    // ---- Readiness
    bool Ready();
    bool Busy();
    void WaitForReadyState();
    void WaitForIEReady();
    void EnsureLoaded();
    void EnsureInReadyState();
    void FailIfNoDocument();
    [[noreturn]] void RaisePageNotLoaded();

    // ---- Page access (plgSolvanePage.cpp)
    std::shared_ptr<platform::IDocument> Document();
    int FrameCount();
    bool forEachFrame(bool continueOnError, void* data, const TFrameCallback& callback);
    bool execScript(const std::string& script);
    bool execScriptInFrames(const std::string& script);
    rt::TStringList& sGetSource(bool refresh);
    int GetPageSize();
    bool PageCouldntBeDisplayed();
    std::string CurrentPageTitle();
    std::string CurrentShortPageTitle();
    std::string CurrentPageUrl();
    void PostHtml(const std::string& html);
    void ShowOccurrencesOfWords(const rt::TStringList& words, bool show);
    void SearchAndHighlightText() {}
    void SetZoom() {}
    const std::string& LastScript() const { return lastScript_; }
    void SetLastScript(const std::string& value) { lastScript_ = value; }

    // ---- Internal operations, public for the tests
    static bool IsAddressText(const std::string& s);
    static bool SplitSearchTerms(const std::string& text, rt::TStringList& list);
    // The script that paints every occurrence of `word` in the page.
    static std::string HighlightScript(const std::string& word, const std::string& backColor);
    // Code-page `text` written so that it reads back unchanged inside a
    // double-quoted script string: plain ASCII, every other character as \uXXXX.
    static std::string ScriptStringText(const std::string& text);
    std::string IEVersion();

private:
    static void NavigateBrowser(platform::IBrowser* browser, const std::string& url);
    void OpenProductPage(const std::string& pageUrl, const std::string& pageType);
    platform::IBrowser& Browser();
    platform::WindowHandle BandHandle();
    static bool ExecScriptInDocument(platform::IDocument* doc, const std::string& script);
    static std::string GetDocumentSource(platform::IDocument* doc);
    static bool SaveDocumentToLines(platform::IDocument* doc, rt::TStringList& lines);

    rt::TStringList searchTerms_;
    std::shared_ptr<platform::IBrowser> ie_;
    std::string lastSearchText_;
    rt::TStringList pageSources_;
    std::string lastScript_;
};

// Runs a browser call, turning its failure into the runtime's automation error.
template <class F>
decltype(auto) OleCall(F&& call) {
    try {
        return call();
    } catch (const platform::BrowserError& e) {
        throw rt::EOleException(e.what());
    }
}

}  // namespace toolbar
