// The conversions of settings text (numbers and dates read from the settings
// files): each gives its value or its documented refusal, and a value it
// gives is written back as text that reads as the same value.
//
// Input: line 1 the short date format, line 2 the date separator (its first
// byte); the rest is the text.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "foundation/AMState.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "platform/host/HostPlatform.h"
#include "runtime/DateUtils.h"
#include "runtime/Internal.h"

namespace {

struct Host {
    platform::host::HostPlatform host{zrfuzz::ProcessTempFolder()};
    platform::ScopedServices services{host.Set()};
};

bool IsPlainDecimal(const std::string& s) {
    const std::size_t digits = s.empty() || (s[0] != '-' && s[0] != '+') ? 0 : 1;
    return s.size() > digits && s.find_first_not_of("0123456789", digits) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    const zrfuzz::Lines input = zrfuzz::SplitLines(data, size, 2);
    const std::string& text = input.rest;

    int value = 0;
    if (rt::TryStrToInt(text, value)) {
        ZR_CHECK(rt::StrToInt(text) == value && rt::StrToIntDef(text, value ^ 1) == value, zrfuzz::Show(text));
        ZR_CHECK(rt::StrToInt(rt::IntToStr(value)) == value, zrfuzz::Show(text));
    } else {
        ZR_CHECK(rt::StrToIntDef(text, 7) == 7, zrfuzz::Show(text));
        try {
            rt::StrToInt(text);
            ZR_CHECK(false, zrfuzz::Show(text));
        } catch (const rt::EConvertError&) {
        }
    }
    // A signed decimal of up to nine digits always fits.
    if (IsPlainDecimal(text) && text.size() <= 10 && (text.size() <= 9 || !std::isdigit(static_cast<unsigned char>(text[0])))) {
        ZR_CHECK(rt::TryStrToInt(text, value) && value == std::stoi(text), zrfuzz::Show(text));
    }
    try {
        const std::int64_t wide = rt::StrToInt64(text);
        ZR_CHECK(rt::StrToInt64(rt::IntToStr(wide)) == wide, zrfuzz::Show(text));
    } catch (const rt::EConvertError&) {
    }
    double real = 0;
    if (rt::detail::TextToFloat(text, real)) ZR_CHECK(std::isfinite(real), zrfuzz::Show(text));
    try {
        foundation::DigitsToIntDef(text, 0);
    } catch (const rt::EConvertError&) {
    }

    // The save-value readings never raise.
    foundation::TAMSaveValue saved(nullptr);
    saved.SetValue(text);
    (void)saved.AsInteger();
    (void)saved.AsBoolean();

    // Dates in any short date format; in the shipped one a date read is written back as the same date.
    const char separator = input.head[1].empty() ? '/' : input.head[1][0];
    for (const auto& [format, sep] : {std::pair<std::string, char>{input.head[0], separator}, {"M/d/yyyy", '/'}}) {
        host.host.clock->SetShortDateFormat(format, sep);
        rt::TDateTime date = 0;
        if (!rt::TryStrToDate(text, date)) continue;
        const std::string written = rt::DateToStr(date);
        if (format != "M/d/yyyy") continue;
        rt::TDateTime again = 0;
        ZR_CHECK(rt::TryStrToDate(written, again) && again == date, zrfuzz::Show(text) + " -> " + zrfuzz::Show(written));
    }
    (void)foundation::DaysApartAtLeast(static_cast<int>(size), text, "12/8/2026");
    return 0;
}
