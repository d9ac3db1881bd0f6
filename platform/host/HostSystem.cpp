// Host stand-ins of the system's state: module, shell, clock, user, environment.
#include <cctype>
#include <stdexcept>

#include "platform/host/HostFileUtil.h"
#include "platform/host/HostPlatform.h"

namespace platform::host {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian), and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

LocalTime AddMilliseconds(const LocalTime& t, std::uint64_t ms) {
    long long days = DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
    long long msOfDay = ((static_cast<long long>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000LL + t.millisecond;
    long long total = days * 86400000LL + msOfDay + static_cast<long long>(ms);
    long long newDays = total >= 0 ? total / 86400000LL : -((-total + 86399999LL) / 86400000LL);
    long long rest = total - newDays * 86400000LL;
    LocalTime out;
    CivilFromDays(newDays, out.year, out.month, out.day);
    out.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    out.second = static_cast<int>(rest % 60);
    rest /= 60;
    out.minute = static_cast<int>(rest % 60);
    out.hour = static_cast<int>(rest / 60);
    return out;
}

}  // namespace

// ---- HostModule ----

std::string HostModule::FileName() {
    std::lock_guard<std::mutex> lock(mutex_);
    return fileName_;
}

std::optional<FileVersion> HostModule::VersionOf(const std::string& fileName) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = versions_.find(AsciiLower(fileName.empty() ? fileName_ : fileName));
    if (it == versions_.end()) return std::nullopt;
    return it->second;
}

std::string HostModule::HostExecutable() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (hostFails_) throw std::runtime_error("the host executable's path cannot be taken");
    return hostExecutable_;
}

void HostModule::SetFileName(std::string fileName) {
    std::lock_guard<std::mutex> lock(mutex_);
    fileName_ = std::move(fileName);
}

void HostModule::SetVersion(const std::string& fileName, FileVersion version) {
    std::lock_guard<std::mutex> lock(mutex_);
    versions_[AsciiLower(fileName.empty() ? fileName_ : fileName)] = version;
}

void HostModule::SetHostExecutable(std::string path) {
    std::lock_guard<std::mutex> lock(mutex_);
    hostExecutable_ = std::move(path);
}

void HostModule::SetHostExecutableFails(bool fails) {
    std::lock_guard<std::mutex> lock(mutex_);
    hostFails_ = fails;
}

// ---- HostShell ----

bool HostShell::Open(const std::string& file, const std::string& parameters, int showCommand) {
    std::lock_guard<std::mutex> lock(mutex_);
    starts_.push_back({false, file, parameters, showCommand});
    return result_;
}

bool HostShell::Exec(const std::string& commandLine, int showCommand) {
    std::lock_guard<std::mutex> lock(mutex_);
    starts_.push_back({true, commandLine, std::string(), showCommand});
    return result_;
}

std::vector<HostShell::Start> HostShell::Starts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return starts_;
}

void HostShell::ClearStarts() {
    std::lock_guard<std::mutex> lock(mutex_);
    starts_.clear();
}

void HostShell::SetResult(bool accepted) {
    std::lock_guard<std::mutex> lock(mutex_);
    result_ = accepted;
}

// ---- HostClock ----

std::uint32_t HostClock::TickCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ticks_;
}

LocalTime HostClock::Now() {
    std::lock_guard<std::mutex> lock(mutex_);
    return now_;
}

std::string HostClock::ShortDateFormat() {
    std::lock_guard<std::mutex> lock(mutex_);
    return shortDateFormat_;
}

char HostClock::DateSeparator() {
    std::lock_guard<std::mutex> lock(mutex_);
    return dateSeparator_;
}

void HostClock::Sleep(std::uint32_t milliseconds) { Advance(milliseconds); }

void HostClock::SetTickCount(std::uint32_t ticks) {
    std::lock_guard<std::mutex> lock(mutex_);
    ticks_ = ticks;
}

void HostClock::Advance(std::uint32_t milliseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    ticks_ += milliseconds;  // unsigned: wraps at 2^32 like GetTickCount
    now_ = AddMilliseconds(now_, milliseconds);
}

void HostClock::SetNow(LocalTime now) {
    std::lock_guard<std::mutex> lock(mutex_);
    now_ = now;
}

void HostClock::SetShortDateFormat(std::string format, char separator) {
    std::lock_guard<std::mutex> lock(mutex_);
    shortDateFormat_ = std::move(format);
    dateSeparator_ = separator;
}

// ---- HostUser ----

std::optional<std::string> HostUser::UserName() {
    std::lock_guard<std::mutex> lock(mutex_);
    return name_;
}

void HostUser::SetUserName(std::optional<std::string> name) {
    std::lock_guard<std::mutex> lock(mutex_);
    name_ = std::move(name);
}

// ---- HostEnvironment ----

std::string HostEnvironment::Expand(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '%') {
            out += text[i++];
            continue;
        }
        size_t close = text.find('%', i + 1);
        if (close == std::string::npos) {  // a lone "%": kept with the rest
            out.append(text, i, std::string::npos);
            break;
        }
        std::string name = text.substr(i + 1, close - i - 1);
        auto it = name.empty() ? values_.end() : values_.find(AsciiLower(name));
        if (it != values_.end()) {
            out += it->second;
            i = close + 1;
        } else {
            // Unknown: "%NAME%" is copied as it is and the scan goes on after it
            // (wine's RtlExpandEnvironmentStrings does the same).
            out.append(text, i, close - i + 1);
            i = close + 1;
        }
    }
    return out;
}

void HostEnvironment::Set(const std::string& name, const std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    values_[AsciiLower(name)] = value;
}

}  // namespace platform::host
