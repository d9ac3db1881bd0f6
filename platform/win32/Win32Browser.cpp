// The browser port over IWebBrowser2 and the HTML document interfaces.
#include "platform/win32/Win32Browser.h"

#include <ocidl.h>
#include <oleidl.h>
#include <mshtml.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace platform::win32 {

using Microsoft::WRL::ComPtr;

namespace {

// A BSTR with one owner.
class Bstr {
public:
    explicit Bstr(const std::string& text) {
        const std::wstring wide = WideFromAnsi(text);
        bstr_ = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    Bstr() = default;
    ~Bstr() { ::SysFreeString(bstr_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR Get() const { return bstr_; }
    BSTR* Receive() {
        ::SysFreeString(bstr_);
        bstr_ = nullptr;
        return &bstr_;
    }
    std::string Text() const { return bstr_ ? AnsiFromWide(bstr_, ::SysStringLen(bstr_)) : std::string(); }

private:
    BSTR bstr_ = nullptr;
};

// A VARIANT cleared when it goes.
class Variant {
public:
    Variant() { ::VariantInit(&v_); }
    ~Variant() { ::VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static void Int(Variant& v, LONG value) {
        v.v_.vt = VT_I4;
        v.v_.lVal = value;
    }
    static void Text(Variant& v, const std::string& text) {
        const std::wstring wide = WideFromAnsi(text);
        v.v_.vt = VT_BSTR;
        v.v_.bstrVal = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    static void Bool(Variant& v, bool value) {
        v.v_.vt = VT_BOOL;
        v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    VARIANT* Get() { return &v_; }

private:
    VARIANT v_;
};

// A SAFEARRAY destroyed when it goes (a variant under the plain array tag
// is not one VariantClear will free).
class SafeArray {
public:
    explicit SafeArray(SAFEARRAY* array) : array_(array) {}
    ~SafeArray() {
        if (array_) ::SafeArrayDestroy(array_);
    }
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    SAFEARRAY* Get() const { return array_; }

private:
    SAFEARRAY* array_;
};

void Check(HRESULT hr, const char* call) {
    if (FAILED(hr)) {
        char message[96];
        std::snprintf(message, sizeof message, "%s failed with the automation error %08lX", call,
                      static_cast<unsigned long>(hr));
        throw BrowserError(message, static_cast<std::int32_t>(hr));
    }
}

class Win32Browser;

class Win32Object : public IBrowserObject {
public:
    explicit Win32Object(ComPtr<IUnknown> object) : object_(std::move(object)) {}
    std::shared_ptr<IBrowser> AsBrowser() override;

private:
    ComPtr<IUnknown> object_;  // the object as handed out
};

class Win32Enumerator : public IObjectEnumerator {
public:
    explicit Win32Enumerator(ComPtr<IEnumUnknown> objects) : objects_(std::move(objects)) {}

    std::vector<std::shared_ptr<IBrowserObject>> Next(unsigned count) override {
        std::vector<IUnknown*> items(count, nullptr);
        ULONG fetched = 0;
        Check(objects_->Next(count, items.data(), &fetched), "IEnumUnknown::Next");
        // Next handed us one reference each: own them all before anything
        // below can throw, so that none is left behind.
        std::vector<ComPtr<IUnknown>> owned(std::min<ULONG>(fetched, count));
        for (std::size_t i = 0; i < owned.size(); ++i) owned[i].Attach(items[i]);
        std::vector<std::shared_ptr<IBrowserObject>> out;
        for (ComPtr<IUnknown>& item : owned)
            if (item) out.push_back(std::make_shared<Win32Object>(std::move(item)));
        return out;
    }

private:
    ComPtr<IEnumUnknown> objects_;  // the container's enumerator of embedded objects
};

class Win32Document : public IDocument {
public:
    explicit Win32Document(ComPtr<IUnknown> document) : document_(std::move(document)) {}

    std::unique_ptr<IObjectEnumerator> EmbeddedObjects() override {
        ComPtr<IOleContainer> container;
        if (FAILED(document_.As(&container))) return nullptr;
        ComPtr<IEnumUnknown> objects;
        if (container->EnumObjects(OLECONTF_EMBEDDINGS, &objects) != S_OK || !objects) return nullptr;
        return std::make_unique<Win32Enumerator>(std::move(objects));
    }

    void ExecScript(const std::string& code, const std::string& language) override {
        ComPtr<IHTMLWindow2> window;
        Check(Html()->get_parentWindow(&window), "IHTMLDocument2::parentWindow");
        if (!window) throw BrowserError("The document has no window", static_cast<std::int32_t>(E_POINTER));
        Bstr codeText(code), languageText(language);
        Variant result;
        Check(window->execScript(codeText.Get(), languageText.Get(), result.Get()), "IHTMLWindow2::execScript");
    }

    std::optional<std::string> SaveSource() override {
        ComPtr<IPersistStreamInit> persist;
        if (FAILED(document_.As(&persist))) return std::nullopt;
        ComPtr<IStream> stream;
        if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return std::nullopt;
        if (FAILED(persist->Save(stream.Get(), TRUE))) return std::nullopt;

        LARGE_INTEGER start{};
        ULARGE_INTEGER end{};
        if (FAILED(stream->Seek(start, STREAM_SEEK_END, &end)) || FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)))
            return std::nullopt;
        std::string bytes(static_cast<std::size_t>(end.QuadPart), '\0');
        ULONG read = 0;
        if (!bytes.empty() && FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)))
            return std::nullopt;
        bytes.resize(read);
        return bytes;
    }

    void Write(const std::string& html) override {
        ComPtr<IHTMLDocument2> document = Html();
        SafeArray lines(::SafeArrayCreateVector(VT_VARIANT, 0, 1));
        if (!lines.Get()) throw BrowserError("Out of memory", static_cast<std::int32_t>(E_OUTOFMEMORY));
        LONG index = 0;
        Variant line;
        Variant::Text(line, html);
        Check(::SafeArrayPutElement(lines.Get(), &index, line.Get()), "SafeArrayPutElement");
        Check(document->write(lines.Get()), "IHTMLDocument2::write");
    }

    void Close() override { Check(Html()->close(), "IHTMLDocument2::close"); }

private:
    ComPtr<IHTMLDocument2> Html() {
        ComPtr<IHTMLDocument2> html;
        Check(document_.As(&html), "QueryInterface(IHTMLDocument2)");
        return html;
    }

    ComPtr<IUnknown> document_;  // the browser's Document
};

class Win32Browser : public IBrowser {
public:
    explicit Win32Browser(ComPtr<IWebBrowser2> browser) : browser_(std::move(browser)) {}

    std::shared_ptr<IBrowser> AsBrowser() override { return std::make_shared<Win32Browser>(browser_); }

    const void* Identity() override {
        ComPtr<IUnknown> identity;
        browser_.As(&identity);
        return identity.Get();  // stays valid: browser_ keeps the object alive
    }

    void Navigate(const std::string& url) override {
        Bstr address(url);
        Variant zero;
        Variant::Int(zero, 0);
        Check(browser_->Navigate(address.Get(), zero.Get(), zero.Get(), zero.Get(), zero.Get()), "Navigate");
    }

    void Navigate2(const std::string& url, const std::optional<std::string>& postBody,
                   const std::optional<std::string>& headers) override {
        Variant address, flags, target, body, headerText;
        Variant::Text(address, url);
        SafeArray bytes(postBody ? ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(postBody->size())) : nullptr);
        if (postBody) {
            if (!bytes.Get()) throw BrowserError("Out of memory", static_cast<std::int32_t>(E_OUTOFMEMORY));
            void* data = nullptr;
            Check(::SafeArrayAccessData(bytes.Get(), &data), "SafeArrayAccessData");
            if (!postBody->empty()) std::memcpy(data, postBody->data(), postBody->size());
            ::SafeArrayUnaccessData(bytes.Get());
        }
        // The body goes under the plain array tag; `bytes` owns the array, so
        // the variant is emptied before it is cleared.
        VARIANT* bodyVariant = body.Get();
        if (postBody) {
            bodyVariant->vt = VT_ARRAY;
            bodyVariant->parray = bytes.Get();
        }
        if (headers) Variant::Text(headerText, *headers);
        const HRESULT hr = browser_->Navigate2(address.Get(), flags.Get(), target.Get(), bodyVariant, headerText.Get());
        bodyVariant->vt = VT_EMPTY;
        Check(hr, "Navigate2");
    }

    void Stop() override { Check(browser_->Stop(), "Stop"); }

    void Refresh2(int level) override {
        Variant value;
        Variant::Int(value, level);
        Check(browser_->Refresh2(value.Get()), "Refresh2");
    }

    std::string LocationURL() override {
        Bstr text;
        Check(browser_->get_LocationURL(text.Receive()), "LocationURL");
        return text.Text();
    }

    std::string LocationName() override {
        Bstr text;
        Check(browser_->get_LocationName(text.Receive()), "LocationName");
        return text.Text();
    }

    bool Busy() override {
        VARIANT_BOOL busy = VARIANT_FALSE;
        Check(browser_->get_Busy(&busy), "Busy");
        return busy != VARIANT_FALSE;
    }

    int ReadyState() override {
        READYSTATE state = READYSTATE_UNINITIALIZED;
        Check(browser_->get_ReadyState(&state), "ReadyState");
        return static_cast<int>(state);
    }

    std::shared_ptr<IDocument> Document() override {
        ComPtr<IDispatch> document;
        Check(browser_->get_Document(&document), "Document");
        if (!document) return nullptr;
        ComPtr<IUnknown> unknown;
        Check(document.As(&unknown), "QueryInterface(IUnknown)");
        return std::make_shared<Win32Document>(std::move(unknown));
    }

    WindowHandle HWND() override {
        SHANDLE_PTR handle = 0;
        Check(browser_->get_HWND(&handle), "HWND");
        return static_cast<WindowHandle>(handle);
    }

    bool WindowMaximized() override { return ::IsZoomed(reinterpret_cast<::HWND>(HWND())) != FALSE; }

    void ShowWindowNormal() override { ::ShowWindow(reinterpret_cast<::HWND>(HWND()), SW_SHOWNORMAL); }

    void SetLeft(int value) override { Check(browser_->put_Left(value), "Left"); }
    void SetTop(int value) override { Check(browser_->put_Top(value), "Top"); }
    void SetWidth(int value) override { Check(browser_->put_Width(value), "Width"); }
    void SetHeight(int value) override { Check(browser_->put_Height(value), "Height"); }

    void ShowBrowserBar(const std::string& clsid, bool show, int size) override {
        Variant id, visible, width;
        Variant::Text(id, clsid);
        Variant::Bool(visible, show);
        Variant::Int(width, size);
        Check(browser_->ShowBrowserBar(id.Get(), visible.Get(), width.Get()), "ShowBrowserBar");
    }

    std::string VersionText() override {
        char folder[261] = {};
        const UINT length = ::GetSystemDirectoryA(folder, sizeof folder);
        if (length == 0 || length >= sizeof folder) return std::string();
        return FileVersionString(std::string(folder, length) + "\\shdocvw.dll");
    }

    IWebBrowser2* Automation() const { return browser_.Get(); }

private:
    ComPtr<IWebBrowser2> browser_;  // the browser window's automation object
};

std::shared_ptr<IBrowser> Win32Object::AsBrowser() {
    ComPtr<IWebBrowser2> browser;
    if (FAILED(object_.As(&browser)) || !browser) return nullptr;
    return std::make_shared<Win32Browser>(std::move(browser));
}

}  // namespace

std::shared_ptr<IBrowser> BrowserFrom(IWebBrowser2* browser) {
    if (!browser) return nullptr;
    return std::make_shared<Win32Browser>(ComPtr<IWebBrowser2>(browser));
}

IWebBrowser2* AutomationOf(const std::shared_ptr<IBrowser>& browser) {
    auto* ours = dynamic_cast<Win32Browser*>(browser.get());
    return ours ? ours->Automation() : nullptr;
}

std::shared_ptr<IBrowserObject> BrowserObjectFrom(IUnknown* object) {
    if (!object) return nullptr;
    return std::make_shared<Win32Object>(ComPtr<IUnknown>(object));
}

std::string FileVersionString(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::string();
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return std::string();

    // Without a translation table the bare name finds nothing: empty.
    std::string query = "FileVersion";
    void* translation = nullptr;
    UINT length = 0;
    if (::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &translation, &length) && translation &&
        length >= 2 * sizeof(WORD)) {
        const WORD* pair = static_cast<const WORD*>(translation);
        char block[64];
        std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\FileVersion", pair[0], pair[1]);
        query = block;
    }
    void* text = nullptr;
    if (!::VerQueryValueA(data.data(), query.c_str(), &text, &length) || !text || length == 0) return std::string();
    const char* chars = static_cast<const char*>(text);
    std::size_t n = 0;
    while (n < length && chars[n] != '\0') ++n;
    return std::string(chars, n);
}

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string AnsiFromWide(const wchar_t* text, std::size_t length) {
    if (!text || length == 0) return std::string();
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), ansi.data(), size, nullptr, nullptr);
    return ansi;
}

}  // namespace platform::win32
