// TSolvane: browser and band, navigation and addresses, search text, readiness.
#include "toolbar/plgSolvane.h"

#include <algorithm>

#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "foundation/SVCommonIE.h"
#include "platform/Services.h"
#include "toolbar/controls/AMFlatButton.h"

namespace toolbar {
namespace {

constexpr std::uint32_t kWaitLimit = 10000;  // ms
constexpr std::uint32_t kWaitPoll = 100;     // ms

// Stands in for the scheme's "//" while an address is cut at "/". Meanwhile
// the address's own "%" are written "%25", so no text of its own reads as the mark.
constexpr const char* kSchemeMark = "%%ZPHT1%%";

std::string WithoutTrailingSlashes(std::string text) {
    while (!text.empty() && text.back() == '/') text.pop_back();
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

const rt::TPropList& TSolvane::ClassProperties() {
    static const rt::TPropList list = [] {
        namespace p = rt::props;
        auto terms = p::Make("strSearchTerms", rt::TTypeKind::Class, "TStrings");  // read-only
        terms.GetObject = [](const rt::TObject& o) -> rt::TObject* {
            return &const_cast<TSolvane&>(static_cast<const TSolvane&>(o)).GetstrSearchTerms();
        };
        return rt::TPropList(
            rt::TComponent::ClassProperties(),
            {
                terms,
                p::String<TSolvane>("LastSearchText", &TSolvane::LastSearchText, &TSolvane::SetLastSearchText),
                p::String<TSolvane>("LastScript", &TSolvane::LastScript, &TSolvane::SetLastScript),
                // No field behind it: the browser's own registry setting.
                p::Boolean<TSolvane>("DisplayScriptErrors", &TSolvane::GetDisplayScriptErrors,
                                     &TSolvane::SetDisplayScriptErrors),
                p::Method("OnGetSearchText", "TWBOnGetSearchText"),
                p::Method("OnGotoUrl"),
            });
    }();
    return list;
}

TSolvane::TSolvane(rt::TComponent* owner) : rt::TComponent(owner) {}

TSolvane::~TSolvane() = default;

platform::IBrowser& TSolvane::Browser() {
    if (!ie_) throw rt::EOleException("There is no browser to work on");
    return *ie_;
}

// ---------------------------------------------------------------- browser and band

void TSolvane::SetIE(std::shared_ptr<platform::IBrowser> browser) { ie_ = std::move(browser); }

bool TSolvane::AssignIEHwnd(platform::WindowHandle& wnd) {
    platform::WindowHandle handle = 0;
    try {
        handle = Browser().HWND();
    } catch (...) {
        return false;
    }
    wnd = handle;
    return handle != 0;
}

bool TSolvane::IsTopWindow(platform::IBrowserObject* disp) {
    if (!disp || !ie_) return false;
    try {
        auto browser = disp->AsBrowser();
        return browser && browser->Identity() == ie_->Identity();
    } catch (...) {
        return false;
    }
}

void TSolvane::ShowBand() {
    OleCall([&] { Browser().ShowBrowserBar(BandClsid, true, 0); });
}

void TSolvane::CloseBand() {
    OleCall([&] { Browser().ShowBrowserBar(BandClsid, false, 0); });
}

// The controller has no band window of its own; a band that wants these
// messages supplies the handle.
platform::WindowHandle TSolvane::BandHandle() { foundation::RaiseError("Override this get handle routine !"); }

void TSolvane::RefreshBandInfo() { platform::Windows().SendMessage(BandHandle(), 1026, 0, 0); }

void TSolvane::MaximizeBand() { platform::Windows().SendMessage(BandHandle(), 1025, 0, 0); }

int TSolvane::TranslateAcceleratorIO(const TMsg& msg, IFocusedControl* focusedControl) {
    if (!focusedControl || focusedControl->ControlKind() == IFocusedControl::TKind::Other) return 1;
    const rt::TShiftState shift = foundation::CurrentShiftState();
    if (shift.Contains(rt::TShiftKey::Alt)) return 1;
    const std::uintptr_t key = msg.wParam;
    const bool ctrl = shift.Contains(rt::TShiftKey::Ctrl);
    // Copy, and the editing keys the browser would otherwise take for itself.
    const bool mine = (ctrl && (key == 0x43 || key == 0x6E)) || key == 8 || (key >= 35 && key <= 40) || key == 46;
    if (!mine) return 1;
    focusedControl->TranslateAndDispatch(msg);
    return 0;
}

bool TSolvane::GetDisplayScriptErrors() const { return foundation::AreScriptErrorsShown(); }

void TSolvane::SetDisplayScriptErrors(bool value) { foundation::SetScriptErrorsShown(value); }

// ---------------------------------------------------------------- navigation

bool TSolvane::IsAddressText(const std::string& s) {
    const std::string lower = rt::LowerCase(s);
    return StartsWith(lower, "http://") || StartsWith(lower, "https://") || StartsWith(lower, "ftp://") ||
           StartsWith(lower, "www.") || (lower.size() >= 3 && lower.compare(1, 2, ":\\") == 0);
}

void TSolvane::NavigateBrowser(platform::IBrowser* browser, const std::string& url) {
    if (!browser) return;
    // Navigation is best effort: nothing to cancel is no reason not to go.
    try {
        browser->Stop();
    } catch (...) {
    }
    try {
        browser->Navigate(url);
    } catch (...) {
    }
}

void TSolvane::GotoUrl(const std::string& url) {
    if (OnGotoUrl) OnGotoUrl(this);
    const std::string searchText = getSearchText();
    std::string target;
    try {
        target = IsAddressText(searchText) ? searchText : GetExpandedUrl(url, searchText);
    } catch (const rt::EOleException&) {
        return;  // no browser to read the address from is no browser to navigate either
    }
    NavigateBrowser(ie_.get(), target);
}

void TSolvane::GotoHomePage() { GotoUrl(ProductSite); }

void TSolvane::HomePage() { GotoUrl(ProductSite); }

void TSolvane::GotoHelpPage() { GotoUrl(std::string(ProductSite) + "/redir.php"); }

std::string TSolvane::IEVersion() {
    try {
        return Browser().VersionText();
    } catch (...) {
        return std::string();
    }
}

void TSolvane::OpenProductPage(const std::string& pageUrl, const std::string& pageType) {
    std::string query = pageUrl + (pageUrl.find('?') != std::string::npos ? "&" : "?");
    query += rt::Format("zphv=%s&iev=%s&type=%s", {foundation::FileVersionText(""), IEVersion(), pageType});
    GotoUrl(query);
}

void TSolvane::ContactUs() { OpenProductPage(std::string(ProductSite) + "/contact_us.php", "contact"); }
void TSolvane::RequestSupport() { OpenProductPage(std::string(ProductSite) + "/contact_us.php", "support"); }
void TSolvane::ReportABug() { OpenProductPage(std::string(ProductSite) + "/contact_us.php", "bug"); }
void TSolvane::SuggestAFeature() { OpenProductPage(std::string(ProductSite) + "/contact_us.php", "wishlist"); }
void TSolvane::TellAFriend() { OpenProductPage(std::string(ProductSite) + "/tell_a_friend.php", "wishlist"); }

bool TSolvane::GotoSpecialUrl(const std::string& key) {
    struct Special {
        const char* word;
        void (TSolvane::*open)();
    };
    static const Special specials[] = {
        {"contactus", &TSolvane::ContactUs}, {"support", &TSolvane::RequestSupport},
        {"home", &TSolvane::HomePage},       {"bug", &TSolvane::ReportABug},
        {"wishlist", &TSolvane::SuggestAFeature}, {"tell", &TSolvane::TellAFriend},
    };
    for (const Special& special : specials) {
        if (foundation::ContainsText(key, special.word)) {
            (this->*special.open)();
            return true;
        }
    }
    if (!key.empty()) GotoUrl(key);
    return false;
}

void TSolvane::PostUrl(const std::string& url, const std::string& postData) {
    std::optional<std::string> body, headers;
    if (!postData.empty()) {
        headers = "Content-Type: application/x-www-form-urlencoded\n\r";
        body = postData + std::string(1, '\0');
    }
    OleCall([&] { Browser().Navigate2(url, body, headers); });
}

std::string TSolvane::GetExpandedUrl(const std::string& urlTemplate, const std::string& searchText) {
    const std::string location = OleCall([&] { return Browser().LocationURL(); });
    return foundation::ExpandUrlTemplate(urlTemplate, location, searchText);
}

bool TSolvane::IsRealUrl(const std::string& s) { return !s.empty() && s != "-"; }

std::string TSolvane::GetUniqueUrl(const std::string& url) {
    return url + (url.find('?') != std::string::npos ? "&" : "?") + "zphguid=" +
           std::to_string(platform::Clock().TickCount());
}

std::string TSolvane::GetDomain() {
    return foundation::HostOfUrl(OleCall([&] { return Browser().LocationURL(); }));
}

std::string TSolvane::GetDomainRoot() { return GetDomain(); }

void TSolvane::RefreshFromCache() {
    OleCall([&] { Browser().Refresh2(0); });
}

// Counted the way the Up menu lists the parents, so the button never offers
// an empty menu (on "http://a://b" the plain count of "/" pieces disagrees).
bool TSolvane::CanGoUp() {
    rt::TStringList parents;
    return AssignUpUrls(parents);
}

bool TSolvane::AssignUpUrls(rt::TStringList& list) {
    std::string url = CurrentPageUrl();
    foundation::ReplaceAllText(url, "%", "%25");
    foundation::ReplaceAllText(url, "://", kSchemeMark);
    url = WithoutTrailingSlashes(url);
    if (auto query = url.find('?'); query != std::string::npos) url = WithoutTrailingSlashes(url.substr(0, query + 1));

    rt::TStringList parts;
    foundation::SplitText(url, "/", parts);
    const bool hasParents = parts.Count() > 1;
    if (hasParents) parts.Delete(parts.Count() - 1);

    list.BeginUpdate();
    try {
        list.Clear();
        std::string address;
        for (int n = 0; n < parts.Count(); ++n) {
            std::string part = parts[n];
            foundation::ReplaceAllText(part, kSchemeMark, "://");
            foundation::ReplaceAllText(part, "%25", "%");
            address += part + "/";
            list.Add(address);
        }
    } catch (...) {
        list.EndUpdate();
        throw;
    }
    list.EndUpdate();
    return hasParents;
}

bool TSolvane::AssignUpUrlsAsXml(std::string& xml) {
    rt::TStringList urls;
    const bool result = AssignUpUrls(urls);
    xml = "<items>";
    for (int i = 0; i < urls.Count(); ++i) xml += MenuItemXml(urls[i], urls[i]);
    xml += "</items>";
    return result;
}

void TSolvane::GoUp() {
    rt::TStringList urls;
    AssignUpUrls(urls);
    if (urls.Count() > 0) GotoUrl(urls[urls.Count() - 1]);
}

// ---------------------------------------------------------------- search text

std::string TSolvane::getSearchText() { return OnGetSearchText ? OnGetSearchText() : std::string(); }

bool TSolvane::SearchTextHasChanged() { return !rt::SameText(getSearchText(), lastSearchText_); }

rt::TStringList& TSolvane::GetstrSearchTerms() {
    const std::string text = getSearchText();
    if (!rt::SameText(text, lastSearchText_)) {
        lastSearchText_ = text;
        searchTerms_.Clear();
        SplitSearchTerms(lastSearchText_, searchTerms_);
    }
    return searchTerms_;
}

bool TSolvane::SplitSearchTerms(const std::string& text, rt::TStringList& list) {
    static const std::string delimiters = "\t\n\r ,.;";
    const std::string s = rt::Trim(text);
    std::size_t pos = 0;
    for (;;) {
        while (pos < s.size() && delimiters.find(s[pos]) != std::string::npos) ++pos;
        if (pos >= s.size()) break;
        std::string word;
        bool quoted = false;
        for (; pos < s.size(); ++pos) {
            const char c = s[pos];
            if (c == '"') quoted = !quoted;
            else if (!quoted && delimiters.find(c) != std::string::npos) break;
            if (c != '"') word += c;
        }
        // An empty quoted term ("") is skipped, not taken for the end.
        if (!word.empty()) list.Add(word);
    }
    return list.Count() > 0;
}

// ---------------------------------------------------------------- readiness

bool TSolvane::Ready() {
    return OleCall([&] { return Browser().ReadyState(); }) == platform::readystate::Complete;
}

bool TSolvane::Busy() {
    return OleCall([&] { return Browser().Busy(); });
}

// Elapsed ticks by unsigned difference stay right when the counter wraps.
void TSolvane::WaitForReadyState() {
    auto& clock = platform::Clock();
    const std::uint32_t start = clock.TickCount();
    for (;;) {
        if (Ready()) return;
        if (clock.TickCount() - start >= kWaitLimit) return;
        platform::Windows().ProcessMessages();
        clock.Sleep(kWaitPoll);
    }
}

void TSolvane::WaitForIEReady() {
    auto& clock = platform::Clock();
    const std::uint32_t start = clock.TickCount();
    for (;;) {
        if (!Busy()) return;
        if (clock.TickCount() - start >= kWaitLimit) return;
        platform::Windows().ProcessMessages();
        clock.Sleep(kWaitPoll);
    }
}

void TSolvane::EnsureLoaded() {
    if (Busy()) RaisePageNotLoaded();
}

void TSolvane::EnsureInReadyState() {
    if (!Ready()) foundation::RaisePageStillLoading();
}

void TSolvane::FailIfNoDocument() {
    if (OleCall([&] { return Browser().ReadyState(); }) == platform::readystate::Uninitialized)
        foundation::RaiseError("There is no web page currently loaded. Please load a page and try again.");
}

void TSolvane::RaisePageNotLoaded() {
    foundation::RaiseError("Please wait until the page is completely loaded, and try again!");
}

}  // namespace toolbar
