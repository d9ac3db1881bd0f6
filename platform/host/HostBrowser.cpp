// The simulated browser.
#include "platform/host/HostBrowser.h"

namespace platform::host {
namespace {

constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005);  // E_FAIL

class HostEnumerator : public IObjectEnumerator {
public:
    HostEnumerator(std::vector<std::shared_ptr<IBrowserObject>> items, std::function<void()> enter)
        : items_(std::move(items)), enter_(std::move(enter)) {}
    std::vector<std::shared_ptr<IBrowserObject>> Next(unsigned count) override {
        enter_();
        std::vector<std::shared_ptr<IBrowserObject>> out;
        while (out.size() < count && next_ < items_.size()) out.push_back(items_[next_++]);
        return out;
    }

private:
    std::vector<std::shared_ptr<IBrowserObject>> items_;
    std::size_t next_ = 0;
    std::function<void()> enter_;  // counts the call and fails it when asked
};

}  // namespace

// ---- HostCalls ----

void HostCalls::Fail(const std::string& call, bool fails) {
    if (fails) failing_.insert(call);
    else failing_.erase(call);
}

int HostCalls::Count(const std::string& call) const {
    auto it = counts_.find(call);
    return it == counts_.end() ? 0 : it->second;
}

void HostCalls::Enter(const std::string& call) {
    ++counts_[call];
    if (OnCall) OnCall(call);
    if (failing_.count(call)) throw BrowserError(call + " failed", kFail);
}

// ---- HostDocument ----

std::unique_ptr<IObjectEnumerator> HostDocument::EmbeddedObjects() {
    Enter("EnumObjects");
    if (!isContainer) return nullptr;
    return std::make_unique<HostEnumerator>(embedded, [this] { Enter("Next"); });
}

void HostDocument::ExecScript(const std::string& code, const std::string& language) {
    Enter("ExecScript");
    if (!hasWindow) throw BrowserError("The document has no window", kFail);
    if (scriptsFail) throw BrowserError("Script error", static_cast<std::int32_t>(0x80020101));
    scripts.push_back({code, language});
}

std::optional<std::string> HostDocument::SaveSource() {
    Enter("Save");
    if (!canSave) return std::nullopt;
    return source;
}

void HostDocument::Write(const std::string& html) {
    Enter("Write");
    written.push_back(html);
}

void HostDocument::Close() {
    Enter("Close");
    ++closes;
}

std::shared_ptr<HostDocument> HostDocumentWith(std::string source,
                                               std::vector<std::shared_ptr<IBrowserObject>> embedded) {
    auto document = std::make_shared<HostDocument>();
    document->source = std::move(source);
    document->embedded = std::move(embedded);
    return document;
}

// ---- HostBrowser ----

void HostBrowser::Show(const std::string& url, const std::string& title, std::shared_ptr<HostDocument> doc) {
    locationUrl = url;
    locationName = title;
    document = std::move(doc);
    readyState = readystate::Complete;
    busy = false;
}

void HostBrowser::AddPage(const std::string& url, const std::string& title, std::shared_ptr<HostDocument> doc) {
    pages_[url] = Page{title, std::move(doc)};
}

void HostBrowser::Load(const std::string& url) {
    auto page = pages_.find(url);
    if (page != pages_.end()) Show(url, page->second.title, page->second.document);
    else Show(url, url, std::make_shared<HostDocument>());
    if (!navigationsComplete) {
        readyState = readystate::Loading;
        busy = true;
    }
}

void HostBrowser::Navigate(const std::string& url) {
    Enter("Navigate");
    navigations.push_back({false, url, std::nullopt, std::nullopt});
    Load(url);
}

void HostBrowser::Navigate2(const std::string& url, const std::optional<std::string>& postBody,
                            const std::optional<std::string>& headers) {
    Enter("Navigate2");
    navigations.push_back({true, url, postBody, headers});
    Load(url);
}

void HostBrowser::Stop() {
    Enter("Stop");
    busy = false;
}

void HostBrowser::Refresh2(int level) {
    Enter("Refresh2");
    refreshes.push_back(level);
}

std::string HostBrowser::LocationURL() {
    Enter("LocationURL");
    return locationUrl;
}

std::string HostBrowser::LocationName() {
    Enter("LocationName");
    return locationName;
}

bool HostBrowser::Busy() {
    Enter("Busy");
    return busy;
}

int HostBrowser::ReadyState() {
    Enter("ReadyState");
    return readyState;
}

std::shared_ptr<IDocument> HostBrowser::Document() {
    Enter("Document");
    return document;
}

WindowHandle HostBrowser::HWND() {
    Enter("HWND");
    return hwnd;
}

bool HostBrowser::WindowMaximized() {
    Enter("WindowMaximized");
    return maximized;
}

void HostBrowser::ShowWindowNormal() {
    Enter("ShowWindowNormal");
    maximized = false;
    placements.push_back("normal");
}

void HostBrowser::SetLeft(int value) {
    Enter("Left");
    left = value;
    placements.push_back("Left=" + std::to_string(value));
}

void HostBrowser::SetTop(int value) {
    Enter("Top");
    top = value;
    placements.push_back("Top=" + std::to_string(value));
}

void HostBrowser::SetWidth(int value) {
    Enter("Width");
    width = value;
    placements.push_back("Width=" + std::to_string(value));
}

void HostBrowser::SetHeight(int value) {
    Enter("Height");
    height = value;
    placements.push_back("Height=" + std::to_string(value));
}

void HostBrowser::ShowBrowserBar(const std::string& clsid, bool show, int size) {
    Enter("ShowBrowserBar");
    bars.push_back({clsid, show, size});
}

std::string HostBrowser::VersionText() {
    Enter("VersionText");
    return versionText;
}

}  // namespace platform::host
