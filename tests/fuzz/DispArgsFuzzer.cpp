// The argument block of IDispatch::Invoke built from bytes: the argument map
// and the fit check on any counts and named parameters, then the browser
// event sink invoked with any block, every handler assigned. A call reads
// and writes only elements of the block, and a misfit is answered with its
// fault and the element at fault, never by reaching past the block.
//
// Input bytes: parameter count, argument count, named count, the named
// parameter numbers (signed), the event's identifier, Invoke's flags, then
// per element a kind byte (low bits the kind, 0x80 by reference) and its value.
#include <algorithm>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "toolbar/EventSinkFakes.h"
#include "FuzzSupport.h"
#include "runtime/DispArgs.h"
#include "toolbar/SHDocVwEvents.h"

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t Next32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | Next();
        return static_cast<std::int32_t>(v);
    }
    std::string Text() {
        std::string text;
        for (std::uint8_t n = Next(); n > 0 && at_ < size_; --n) text += static_cast<char>(Next());
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_, at_ = 0;
};

constexpr int kEventIds[] = {102, 108, 105, 106, 104, 113, 112, 250, 251, 252, 259, 253, 254, 255, 256, 257,
                             258, 260, 262, 264, 265, 266, 267, 263, 268, 269, 270, 271, 225, 226, 227, 272};

// Changes every var parameter it is handed, so that each is written back.
void Touch(bool& b) { b = !b; }
void Touch(int& i) { i = i == 0 ? 1 : 0; }
void Touch(rt::Variant& v) { v = rt::Variant(v.IsText() ? std::string() : std::string("changed")); }
void Touch(toolbar::TDispatch& d) { d = d ? nullptr : std::make_shared<zrtest::TestObject>(); }
template <class T>
void Touch(const T&) {}

void AssignEveryHandler(toolbar::TDWebBrowserEvents2& sink) {
    auto handler = [](rt::TObject*, auto&&... params) { (Touch(params), ...); };
    sink.StatusTextChange = handler; sink.ProgressChange = handler; sink.CommandStateChange = handler;
    sink.DownloadBegin = handler; sink.DownloadComplete = handler; sink.TitleChange = handler;
    sink.PropertyChange = handler; sink.BeforeNavigate2 = handler; sink.NewWindow2 = handler;
    sink.NavigateComplete2 = handler; sink.DocumentComplete = handler; sink.OnQuit = handler;
    sink.OnVisible = handler; sink.OnToolBar = handler; sink.OnMenuBar = handler; sink.OnStatusBar = handler;
    sink.OnFullScreen = handler; sink.OnTheaterMode = handler; sink.WindowSetResizable = handler;
    sink.WindowSetLeft = handler; sink.WindowSetTop = handler; sink.WindowSetWidth = handler;
    sink.WindowSetHeight = handler; sink.WindowClosing = handler; sink.ClientToHostWindow = handler;
    sink.SetSecureLockIcon = handler; sink.FileDownload = handler; sink.NavigateError = handler;
    sink.PrintTemplateInstantiation = handler; sink.PrintTemplateTeardown = handler;
    sink.UpdatePageStatus = handler; sink.PrivacyImpactedStateChange = handler;
}

void CheckMap(std::size_t params, std::size_t args, const std::vector<int>& named) {
    const std::vector<std::size_t> map = rt::MapArguments(args, named);
    ZR_CHECK(map.size() == args, "map size");
    for (std::size_t element : map) ZR_CHECK(element < args, "element outside the block");

    const rt::TArgCheck check = rt::CheckArguments(params, args, named);
    if (check.Fault == rt::TArgFault::ParamNotFound) ZR_CHECK(check.Element < named.size(), "fault element");
    if (check.Fault != rt::TArgFault::None) return;
    // Where the call fits, every parameter has an element of its own: a named
    // one its name's element, a positional one counted from the last.
    ZR_CHECK(named.size() <= args && params <= args, "fits with too few arguments");
    std::vector<bool> used(args, false);
    for (std::size_t p = 0; p < params; ++p) {
        ZR_CHECK(!used[map[p]], "two parameters share element " + std::to_string(map[p]));
        used[map[p]] = true;
        const auto name = std::find(named.begin(), named.end(), static_cast<int>(p));
        const std::size_t expected = name != named.end() ? static_cast<std::size_t>(name - named.begin()) : args - 1 - p;
        ZR_CHECK(map[p] == expected, "parameter " + std::to_string(p) + " at the wrong element");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    const std::size_t params = bytes.Next() % 9;
    const std::size_t args = bytes.Next() % 17;
    std::vector<int> named(bytes.Next() % 18);
    for (int& id : named) id = static_cast<std::int8_t>(bytes.Next());
    CheckMap(params, args, named);

    const std::uint8_t event = bytes.Next();
    const int dispId = event < std::size(kEventIds) ? kEventIds[event] : event;
    const unsigned flags = bytes.Next() & 0x0F;
    std::vector<zrtest::TestArg> elements(args);
    for (zrtest::TestArg& element : elements) {
        const std::uint8_t kind = bytes.Next();
        element.byRef = kind & 0x80;
        switch (kind & 0x07) {
            case 1: element.value = bool(bytes.Next() & 1); break;
            case 2: element.value = bytes.Next32(); break;
            case 3: element.value = bytes.Text(); break;
            case 4: element.value = toolbar::TDispatch(); break;
            case 5: element.value = toolbar::TDispatch(std::make_shared<zrtest::TestObject>()); break;
            case 6: element.value = zrtest::Opaque{}; break;
            default: break;  // empty
        }
    }

    toolbar::TDWebBrowserEvents2 sink(nullptr);
    AssignEveryHandler(sink);
    zrtest::TestArgs block(elements, named);
    toolbar::TInvokeResult result;
    try {
        result = sink.Invoke(dispId, flags, block);
    } catch (const rt::Exception&) {
        for (const std::string& misuse : block.misuse) ZR_CHECK(false, misuse);
        ZR_CHECK((flags & rt::DispatchMethod) == 0, "a method call raised");
        return 0;
    }
    for (const std::string& misuse : block.misuse) ZR_CHECK(false, misuse);
    using TCode = toolbar::TInvokeResult::TCode;
    ZR_CHECK(result.Code != TCode::Exception, result.Message);
    if (result.Code == TCode::ParamNotFound || result.Code == TCode::TypeMismatch)
        ZR_CHECK(result.ArgError < args, "fault element " + std::to_string(result.ArgError));
    if (result.Code != TCode::Ok) {
        ZR_CHECK(block.writes == 0, "a refused call wrote back");
    }
    return 0;
}
