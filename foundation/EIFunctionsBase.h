#pragma once
// Error classes and the helpers that raise them, questions to the user,
// paths relative to the running module, text and list helpers, file
// versions, starting programs and copying files. Every comparison of text
// here ignores letter case.
#include <cstdint>
#include <string>

#include "runtime/Classes.h"
#include "runtime/DateUtils.h"
#include "runtime/Format.h"
#include "runtime/ShiftState.h"
#include "runtime/SysUtils.h"

namespace foundation {

// Root of the system's own errors.
class EIException : public rt::Exception { using rt::Exception::Exception; };
// An error whose message is shown to the user.
class EIIgniteError : public EIException { using EIException::EIException; };
// Root of the system's own cancellations (silent).
class EIAbortE : public rt::EAbort { using rt::EAbort::EAbort; };
// A cancellation of an operation by the user or the code; never shown.
class EIIgniteAbort : public EIAbortE { using EIAbortE::EIAbortE; };

// Raised messages are cut to this many characters.
constexpr std::size_t MaxRaisedMessageLength = 254;

// The full text of the last message raised through the helpers below.
std::string LastErrorMessage();
void ClearLastErrorMessage();  // module unload

// "\n" (either case) becomes CR LF, then the text is formatted with `args`;
// when formatting fails the text with its line breaks is used as it is.
std::string FormatMessageText(const std::string& format, const rt::FormatArgs& args);

[[noreturn]] void RaiseError(const std::string& message);
[[noreturn]] void RaiseErrorFmt(const std::string& format, const rt::FormatArgs& args);
void RaiseErrorIf(bool condition, const std::string& message);
void RaiseErrorFmtIf(bool condition, const std::string& format, const rt::FormatArgs& args);
[[noreturn]] void RaiseAbort(const std::string& message);
[[noreturn]] void RaiseAbortFmt(const std::string& format, const rt::FormatArgs& args);
void RaiseAbortIf(bool condition, const std::string& message);

// Yes/No message box with a question icon; true on Yes.
bool AskYesNo(const std::string& caption, const std::string& text);
bool Confirm(const std::string& message);
void ConfirmOrAbort(const std::string& message);  // EIIgniteAbort "Cancelled" on No
bool ConfirmFmt(const std::string& format, const rt::FormatArgs& args);
void ConfirmFmtOrAbort(const std::string& format, const rt::FormatArgs& args);  // "Operation aborted"

std::string ModuleFileName();
std::string ModuleFolder();  // ends in a separator
std::string ModuleIniFileName();
std::string JoinPath(const std::string& base, const std::string& name);
std::string PathInModuleFolder(const std::string& name);
std::string DataFilePath(const std::string& name);   // the menu-item files
std::string MediaFilePath(const std::string& name);  // the blocked-cursor files
std::string ExpandEnvironmentText(const std::string& text);

std::string BoolToText(bool value);
bool TextToBool(const std::string& text);
inline bool IsEmptyText(const std::string& text) { return text.empty(); }
inline bool IsNotEmptyText(const std::string& text) { return !text.empty(); }
bool TextEquals(const std::string& a, const std::string& b);
bool ContainsText(const std::string& text, const std::string& part);
void ReplaceAllText(std::string& text, const std::string& oldText, const std::string& newText);
bool IsIntegerText(const std::string& text);
// Keeps only the digits; EConvertError when they exceed a 32-bit integer.
int DigitsToIntDef(const std::string& text, int defaultValue);
void SplitText(const std::string& text, const std::string& delimiters, rt::TStringList& list, bool keepEmpty = false);
bool SplitAtChars(const std::string& text, const std::string& delimiters, rt::TStringList& list);
std::string JoinList(const rt::TStringList& list, const std::string& itemFormat = "%s",
                     const std::string& separator = ", ", bool reverse = false, bool trimResult = false);
bool AddUnique(rt::TStringList& list, const std::string& text);
std::string LoadTextFile(const std::string& fileName);
std::string TodayText();
std::string ElapsedTimeText(rt::TDateTime time);
std::string ComponentDisplayName(const rt::TObject* object);
rt::TShiftState CurrentShiftState();
void CopyPropertyValue(rt::TObject* source, const std::string& sourceProperty,
                       rt::TObject* target, const std::string& targetProperty);

// False (and zeros) when the file has no version resource; an empty name
// means the running module.
bool FileVersionNumbers(const std::string& fileName, int& major, int& minor, int& release, int& build);
std::string FileVersionText(const std::string& fileName);
void RunProgram(const std::string& fileName, const std::string& parameters, int showCommand);
void CopyFileChecked(const std::string& source, const std::string& target, bool overwrite);

}  // namespace foundation
