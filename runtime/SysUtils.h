#pragma once
// The runtime's exceptions and basic text helpers. All text is 8-bit text in
// the system code page; "ignoring case" means ASCII letters.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace rt {

// The runtime's general exception class.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// The silent abort: top-level handlers swallow it without a message.
class EAbort : public Exception { using Exception::Exception; };
// A text could not be converted (Format, StrToInt, dates).
class EConvertError : public Exception { using Exception::Exception; };
// A list was indexed outside its bounds.
class EListError : public Exception { using Exception::Exception; };
// A published property has a kind the operation cannot handle.
class EPropertyError : public Exception { using Exception::Exception; };
// A component name is invalid or taken.
class EComponentError : public Exception { using Exception::Exception; };
// An automation (COM) call failed.
class EOleException : public Exception { using Exception::Exception; };
// A registry operation failed.
class ERegistryException : public Exception { using Exception::Exception; };

// Raises EAbort with the runtime's text "Operation aborted".
[[noreturn]] void Abort();

std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);  // <0, 0, >0 ignoring case
// 0-based position of `part` in `text` ignoring case, or std::string::npos.
std::size_t PosText(const std::string& part, const std::string& text, std::size_t from = 0);
// Trim removes leading and trailing characters up to and including the blank (<= ' ').
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

std::string IntToStr(std::int64_t value);
std::string IntToHex(std::uint64_t value, int digits);
// StrToInt: optional sign, decimal digits, or "$"/"0x" hex; blanks around are
// not allowed. Raises EConvertError "'%s' is not a valid integer value".
int StrToInt(const std::string& s);
std::int64_t StrToInt64(const std::string& s);
int StrToIntDef(const std::string& s, int defaultValue);
bool TryStrToInt(const std::string& s, int& value);
std::string FloatToStr(double value);

// A component name: a letter or "_", then letters, digits and "_".
bool IsValidIdent(const std::string& s);

std::string ExtractFilePath(const std::string& fileName);   // up to and including the last "\" or "/" (or ":")
std::string ExtractFileName(const std::string& fileName);
std::string ExtractFileExt(const std::string& fileName);    // with the dot
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);
std::string IncludeTrailingPathDelimiter(const std::string& path);  // adds "\" unless it ends in "\" or "/"

}  // namespace rt
