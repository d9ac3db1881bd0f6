#include "foundation/EIFunctionsBase.h"

#include <algorithm>
#include <climits>
#include <mutex>

#include "platform/Services.h"
#include "runtime/TypInfo.h"

namespace foundation {
namespace {

// Browser windows run on threads of their own; the last message is shared.
std::mutex lastErrorMutex;
std::string lastError;

template <class E>
[[noreturn]] void RaiseFormatted(const std::string& format, const rt::FormatArgs& args) {
    std::string text = FormatMessageText(format, args);
    {
        std::lock_guard<std::mutex> lock(lastErrorMutex);
        lastError = text;
    }
    if (text.size() > MaxRaisedMessageLength) text.resize(MaxRaisedMessageLength);
    throw E(text);
}

}  // namespace

std::string LastErrorMessage() {
    std::lock_guard<std::mutex> lock(lastErrorMutex);
    return lastError;
}

void ClearLastErrorMessage() {
    std::lock_guard<std::mutex> lock(lastErrorMutex);
    lastError.clear();
}

std::string FormatMessageText(const std::string& format, const rt::FormatArgs& args) {
    std::string text;
    text.reserve(format.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '\\' && i + 1 < format.size() && (format[i + 1] == 'n' || format[i + 1] == 'N')) {
            text += "\r\n";
            ++i;
        } else {
            text += format[i];
        }
    }
    try {
        return rt::Format(text, args);
    } catch (const std::exception&) {
        return text;
    }
}

void RaiseError(const std::string& message) { RaiseFormatted<EIIgniteError>("%s", {message}); }
void RaiseErrorFmt(const std::string& format, const rt::FormatArgs& args) { RaiseFormatted<EIIgniteError>(format, args); }
void RaiseErrorIf(bool condition, const std::string& message) {
    if (condition) RaiseError(message);
}
void RaiseErrorFmtIf(bool condition, const std::string& format, const rt::FormatArgs& args) {
    if (condition) RaiseErrorFmt(format, args);
}
void RaiseAbort(const std::string& message) { RaiseFormatted<EIIgniteAbort>("%s", {message}); }
void RaiseAbortFmt(const std::string& format, const rt::FormatArgs& args) { RaiseFormatted<EIIgniteAbort>(format, args); }
void RaiseAbortIf(bool condition, const std::string& message) {
    if (condition) RaiseAbort(message);
}

bool AskYesNo(const std::string& caption, const std::string& text) {
    return platform::Dialogs().MessageBox(text, caption, platform::mb::YesNo | platform::mb::IconQuestion) ==
           platform::mb::IdYes;
}

bool Confirm(const std::string& message) { return AskYesNo("Confirmation", FormatMessageText(message, {})); }

void ConfirmOrAbort(const std::string& message) {
    if (!Confirm(message)) RaiseAbort("Cancelled");
}

bool ConfirmFmt(const std::string& format, const rt::FormatArgs& args) {
    return AskYesNo("Confirmation", FormatMessageText(format, args));
}

void ConfirmFmtOrAbort(const std::string& format, const rt::FormatArgs& args) {
    if (!ConfirmFmt(format, args)) RaiseAbort("Operation aborted");
}

std::string ModuleFileName() { return platform::Module().FileName(); }
std::string ModuleFolder() { return rt::ExtractFilePath(ModuleFileName()); }
std::string ModuleIniFileName() { return rt::ChangeFileExt(ModuleFileName(), ".ini"); }

std::string JoinPath(const std::string& base, const std::string& name) {
    const char separator = base.find('/') != std::string::npos ? '/' : '\\';
    std::string head = base;
    if (!head.empty() && (head.back() == '/' || head.back() == '\\')) head.pop_back();
    return head + separator + name;
}

std::string PathInModuleFolder(const std::string& name) { return JoinPath(ModuleFolder(), name); }
std::string DataFilePath(const std::string& name) { return PathInModuleFolder("Data\\" + name); }
std::string MediaFilePath(const std::string& name) { return PathInModuleFolder("Media\\" + name); }
std::string ExpandEnvironmentText(const std::string& text) { return platform::Environment().Expand(text); }

std::string BoolToText(bool value) { return value ? "True" : "False"; }

bool TextToBool(const std::string& text) {
    return rt::SameText(text, "Yes") || rt::SameText(text, "True") || text == "1";
}

bool TextEquals(const std::string& a, const std::string& b) { return rt::SameText(a, b); }

bool ContainsText(const std::string& text, const std::string& part) {
    return rt::PosText(part, text) != std::string::npos;
}

void ReplaceAllText(std::string& text, const std::string& oldText, const std::string& newText) {
    if (oldText.empty()) return;
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = rt::PosText(oldText, text, from)) != std::string::npos; from = at + oldText.size())
        result.append(text, from, at - from).append(newText);
    result.append(text, from, std::string::npos);
    text = std::move(result);
}

bool IsIntegerText(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789-") == std::string::npos;
}

int DigitsToIntDef(const std::string& text, int defaultValue) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    if (digits.empty()) return defaultValue;
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > INT_MAX) throw rt::EConvertError(rt::Format("'%s' is not a valid integer value", {digits}));
    }
    return static_cast<int>(value);
}

void SplitText(const std::string& text, const std::string& delimiters, rt::TStringList& list, bool keepEmpty) {
    list.Clear();
    const std::size_t n = text.size();
    std::size_t pos = 0;
    while (pos < n) {
        bool quoted = false;
        std::size_t end = pos;
        for (; end < n; ++end) {
            const char c = text[end];
            if (c == '"') quoted = !quoted;
            else if (!quoted && delimiters.find(c) != std::string::npos) break;
        }
        std::string piece = rt::Trim(text.substr(pos, end - pos));
        if (!piece.empty() || keepEmpty) list.Add(piece);
        pos = end + 1;  // past the delimiter; a trailing one ends the scan
    }
}

bool SplitAtChars(const std::string& text, const std::string& delimiters, rt::TStringList& list) {
    list.Clear();
    bool found = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (delimiters.find(text[i]) == std::string::npos) continue;
        list.Add(text.substr(start, i - start));
        start = i + 1;
        found = true;
    }
    list.Add(text.substr(start));
    return found;
}

std::string JoinList(const rt::TStringList& list, const std::string& itemFormat, const std::string& separator,
                     bool reverse, bool trimResult) {
    std::string result;
    const int count = list.Count();
    for (int k = 0; k < count; ++k) {
        const int i = reverse ? count - 1 - k : k;
        if (k > 0) result += separator;
        result += rt::Format(itemFormat, {list[i]});
    }
    return trimResult ? rt::Trim(result) : result;
}

bool AddUnique(rt::TStringList& list, const std::string& text) {
    if (list.IndexOf(text) >= 0) return false;
    list.Add(text);
    return true;
}

std::string LoadTextFile(const std::string& fileName) {
    auto bytes = platform::Files().ReadFile(fileName);
    if (!bytes) throw rt::Exception(rt::Format("Cannot open file \"%s\"", {fileName}));
    rt::TStringList lines;
    lines.SetText(*bytes);
    return lines.Text();
}

std::string TodayText() {
    const platform::LocalTime now = platform::Clock().Now();
    return rt::Format("%d/%d/%d", {now.month, now.day, now.year});
}

std::string ElapsedTimeText(rt::TDateTime time) {
    int h = 0, m = 0, s = 0, ms = 0;
    rt::DecodeTime(time, h, m, s, ms);
    std::string t;
    if (s > 0) t = std::to_string(s) + "s";
    if (m > 0) t = t.empty() ? std::to_string(m) + "m" : std::to_string(m) + "m, " + t;
    if (h > 0) t = t.empty() ? std::to_string(h) + "h" : std::to_string(h) + "h, " + t;
    if (ms > 0 && s == 0) t = t.empty() ? std::to_string(ms) + " msec" : t + ", " + std::to_string(ms) + "msec";
    return t.empty() ? "0.00 sec" : t;
}

std::string ComponentDisplayName(const rt::TObject* object) {
    if (!object) return "";
    if (auto component = dynamic_cast<const rt::TComponent*>(object); component && !component->Name().empty())
        return component->Name();
    return object->ClassName();
}

rt::TShiftState CurrentShiftState() {
    auto& keyboard = platform::Keyboard();
    rt::TShiftState state;
    if (keyboard.IsKeyDown(platform::vk::Shift)) state.Include(rt::TShiftKey::Shift);
    if (keyboard.IsKeyDown(platform::vk::Menu)) state.Include(rt::TShiftKey::Alt);
    if (keyboard.IsKeyDown(platform::vk::Control)) state.Include(rt::TShiftKey::Ctrl);
    return state;
}

void CopyPropertyValue(rt::TObject* source, const std::string& sourceProperty, rt::TObject* target,
                       const std::string& targetProperty) {
    if (!source || !target || source == target) return;
    const rt::TPropInfo& from = rt::PropInfoOf(*source, sourceProperty);
    switch (from.Kind) {
        case rt::TTypeKind::Integer:
        case rt::TTypeKind::Char:
        case rt::TTypeKind::Enumeration:
        case rt::TTypeKind::Set:
        case rt::TTypeKind::Int64:
            rt::SetOrdProp(*target, targetProperty, rt::GetOrdProp(*source, sourceProperty));
            break;
        case rt::TTypeKind::Class:
            rt::SetObjectProp(*target, targetProperty, rt::GetObjectProp(*source, sourceProperty));
            break;
        case rt::TTypeKind::Float:
            rt::SetFloatProp(*target, targetProperty, rt::GetFloatProp(*source, sourceProperty));
            break;
        case rt::TTypeKind::String:
            rt::SetStrProp(*target, targetProperty, rt::GetStrProp(*source, sourceProperty));
            break;
        case rt::TTypeKind::Variant:
            rt::SetVariantProp(*target, targetProperty, rt::GetVariantProp(*source, sourceProperty));
            break;
        default:  // events are never copied
            throw rt::EPropertyError(rt::Format("Invalid property type: %s", {from.TypeName}));
    }
}

bool FileVersionNumbers(const std::string& fileName, int& major, int& minor, int& release, int& build) {
    major = minor = release = build = 0;
    auto version = platform::Module().VersionOf(fileName);
    if (!version) return false;
    major = (*version)[0];
    minor = (*version)[1];
    release = (*version)[2];
    build = (*version)[3];
    return true;
}

std::string FileVersionText(const std::string& fileName) {
    int major, minor, release, build;
    FileVersionNumbers(fileName, major, minor, release, build);
    return rt::Format("%d.%d.%d.%d", {major, minor, release, build});
}

void RunProgram(const std::string& fileName, const std::string& parameters, int showCommand) {
    try {
        platform::Shell().Open(fileName, parameters, showCommand);
    } catch (...) {
        // Starting a helper program is never worth failing the caller for.
    }
}

void CopyFileChecked(const std::string& source, const std::string& target, bool overwrite) {
    auto& files = platform::Files();
    if (!files.FileExists(source)) RaiseErrorFmt("InputFile %s doesn't exist, and can't be copied !!!", {source});
    if (files.FileExists(target)) {
        if (!overwrite) return;
        files.DeleteFile(target);
    }
    if (files.FileExists(target)) RaiseErrorFmt("OutputFile \"%s\" couldn't be replaced.", {target});
    files.CopyFile(source, target, true);
}

}  // namespace foundation
