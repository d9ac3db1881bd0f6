#include "DemoBrowser.h"

#include "platform/win32/Win32Browser.h"

namespace zrdemo {
namespace {

constexpr UINT kDocumentComplete = WM_APP + 1;
constexpr DISPID kDispDocumentComplete = 259;
constexpr const char* kFrameClass = "ZephyraDemoFrame";

struct FrameState {
    DemoBrowser* browser = nullptr;
    HWND band = nullptr;
    int bandHeight = 0;
    std::function<void()> onClose;
};

FrameState* StateOf(HWND frame) { return reinterpret_cast<FrameState*>(::GetWindowLongPtrA(frame, GWLP_USERDATA)); }

zrtest::ComPtr<zrtest::FakeBrowser> FrameWith(const char* source) {
    auto frame = zrtest::Make<zrtest::FakeBrowser>();
    frame->document->source = source;
    return frame;
}

void PaintPage(HWND frame, FrameState& state) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(frame, &paint);
    RECT area;
    ::GetClientRect(frame, &area);
    area.top = state.bandHeight;
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    std::string text = "Page: " + platform::win32::AnsiFromWide(state.browser->locationUrl.c_str(),
                                                                 state.browser->locationUrl.size());
    text += "\r\n\r\nNavigations:";
    for (const auto& navigation : state.browser->navigations)
        text += "\r\n  " + platform::win32::AnsiFromWide(navigation.url.c_str(), navigation.url.size());
    ::InflateRect(&area, -8, -6);
    ::DrawTextA(dc, text.c_str(), -1, &area, DT_LEFT | DT_NOPREFIX);
    ::EndPaint(frame, &paint);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameState* state = StateOf(frame);
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            auto* made = new FrameState();
            made->browser = static_cast<DemoBrowser*>(create->lpCreateParams);
            ::SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
            break;
        }
        case WM_SIZE:
            if (state && state->band) ::MoveWindow(state->band, 0, 0, LOWORD(lParam), state->bandHeight, TRUE);
            break;
        case WM_PAINT:
            if (state) {
                PaintPage(frame, *state);
                return 0;
            }
            break;
        case kDocumentComplete:
            if (state) state->browser->CompleteDocument();
            ::InvalidateRect(frame, nullptr, TRUE);
            return 0;
        case WM_CLOSE:
            if (state && state->onClose) {
                auto onClose = std::move(state->onClose);
                state->band = nullptr;
                onClose();
            }
            break;
        case WM_DESTROY: ::PostQuitMessage(0); break;
        case WM_NCDESTROY:
            delete state;
            ::SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
            break;
        default: break;
    }
    return ::DefWindowProcA(frame, message, wParam, lParam);
}

}  // namespace

DemoBrowser::DemoBrowser() {
    locationUrl = L"http://www.example.com/news/index.html";
    locationName = L"Example news";
    document->source =
        "<html><head><title>Example news</title></head>\r\n"
        "<frameset cols=\"30%,70%\">\r\n"
        "  <frame name=\"menu\" src=\"menu.html\">\r\n"
        "  <frame name=\"story\" src=\"story.html\">\r\n"
        "</frameset></html>\r\n";
    document->embedded.push_back(FrameWith(
        "<html><body>\r\n<h3>Sections</h3>\r\n<a href=\"world.html\">World</a><br>\r\n"
        "<a href=\"science.html\">Science</a>\r\n</body></html>\r\n"));
    document->embedded.push_back(FrameWith(
        "<html><body>\r\n<h1>Blue owls seen in the city</h1>\r\n"
        "<p class=\"lead\">Owls &amp; cats share the park at night.</p>\r\n</body></html>\r\n"));
}

HRESULT DemoBrowser::Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) {
    const HRESULT result = FakeBrowser::Navigate(url, flags, target, post, headers);
    Arrived();
    return result;
}

HRESULT DemoBrowser::Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) {
    const HRESULT result = FakeBrowser::Navigate2(url, flags, target, post, headers);
    Arrived();
    return result;
}

void DemoBrowser::Arrived() {
    if (navigations.empty()) return;
    locationUrl = navigations.back().url;
    locationName = locationUrl;
    if (frame_) ::PostMessageA(frame_, kDocumentComplete, 0, 0);
}

void DemoBrowser::CompleteDocument() {
    // DocumentComplete(pDisp, URL): arguments last-first, the address by reference.
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(locationUrl.c_str());
    VARIANT args[2];
    args[0].vt = VT_VARIANT | VT_BYREF;
    args[0].pvarVal = &url;
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = this;
    DISPPARAMS params{args, nullptr, 2, 0};
    events->Fire(kDispDocumentComplete, &params);
    ::VariantClear(&url);
}

HWND CreateFrame(DemoBrowser& browser) {
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = &FrameProc;
    frameClass.hInstance = ::GetModuleHandleA(nullptr);
    frameClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    frameClass.lpszClassName = kFrameClass;
    ::RegisterClassA(&frameClass);
    HWND frame = ::CreateWindowExA(0, kFrameClass, "Example news - Zephyra demo browser",
                                   WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 1000, 420, nullptr, nullptr,
                                   frameClass.hInstance, &browser);
    browser.SetFrame(frame);
    return frame;
}

void SetBandWindow(HWND frame, HWND band, int height) {
    FrameState* state = StateOf(frame);
    if (!state) return;
    state->band = band;
    state->bandHeight = height;
    RECT client;
    ::GetClientRect(frame, &client);
    if (band) ::MoveWindow(band, 0, 0, client.right, height, TRUE);
}

void SetOnClose(HWND frame, std::function<void()> onClose) {
    if (FrameState* state = StateOf(frame)) state->onClose = std::move(onClose);
}

}  // namespace zrdemo
