#include "HostPlatformTest.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"

using namespace foundation;

TEST(HostOfUrl, SplitsTheAuthority) {
    EXPECT_EQ(HostOfUrl("http://www.example.com/path?q=1"), "www.example.com");
    EXPECT_EQ(HostOfUrl("https://user:pw@secure.example.com:8443/x"), "secure.example.com");
    EXPECT_EQ(HostOfUrl("www.example.com/x"), "www.example.com");
    EXPECT_EQ(HostOfUrl("example.com:8080/x"), "example.com");
    EXPECT_EQ(HostOfUrl("about:blank"), "");
    EXPECT_EQ(HostOfUrl("http://[::1]:80/"), "[::1]");
    EXPECT_EQ(HostOfUrl(""), "");
}

TEST(DomainOfUrl, KeepsTheLastTwoParts) {
    EXPECT_EQ(DomainOfUrl("http://www.news.example.com/a"), "example.com");
    EXPECT_EQ(DomainOfUrl("http://mail.example.com"), "example.com");
    EXPECT_EQ(DomainOfUrl("http://example.com"), "example.com");
    EXPECT_EQ(DomainOfUrl("http://localhost/x"), "http://localhost/x");  // no dot: the address itself
    EXPECT_EQ(DomainOfUrl("about:blank"), "about:blank");
}

TEST(ExpandUrlTemplate, FillsEveryPlaceholderIgnoringCase) {
    EXPECT_EQ(ExpandUrlTemplate("http://s.example/?q=%%search%%&site=%%Domain%%&from=%%URL%%",
                                "http://www.my-site.co.uk/page?a=1", "fish & chips+peas"),
              "http://s.example/?q=fish %26 chips%2Bpeas&site=www.my-site.co.uk&from=http://www.my-site.co.uk/page?a=1");
    EXPECT_EQ(PercentEscape(std::string("a\0b/\xE9", 5)), "a%00b%2F%E9");
    EXPECT_EQ(PercentEscape("A-z_0.9 "), "A-z_0.9 ");
    EXPECT_EQ(ExpandUrlTemplate("no placeholders", "u", "s"), "no placeholders");
}

TEST(ExpandUrlTemplate, WhatAPlaceholderBecomesIsNotSearchedAgain) {
    // The page's own address may carry placeholder text: it must not receive
    // the user's search text (nor its domain).
    EXPECT_EQ(ExpandUrlTemplate("http://t/?from=%%URL%%&q=%%SEARCH%%", "http://evil/?x=%%SEARCH%%%%DOMAIN%%", "secret"),
              "http://t/?from=http://evil/?x=%%SEARCH%%%%DOMAIN%%&q=secret");
    EXPECT_EQ(ExpandUrlTemplate("%%SEARCH%%", "u", "%%URL%%"), "%25%25URL%25%25");
    // Placeholders side by side, and stray "%" around them.
    EXPECT_EQ(ExpandUrlTemplate("%%%SEARCH%%%%URL%%%", "u", "s"), "%su%");
    EXPECT_EQ(ExpandUrlTemplate("%%SEARCH%", "u", "s"), "%%SEARCH%");
    EXPECT_EQ(ExpandUrlTemplate("", "u", "s"), "");
}

class DateTest : public HostPlatformTest {};

TEST_F(DateTest, DaysApartAtLeastRoundsUpAndTreatsBadDatesAsFar) {
    EXPECT_FALSE(DaysApartAtLeast(7, "12/1/2026", "12/5/2026"));
    EXPECT_TRUE(DaysApartAtLeast(7, "12/1/2026", "12/9/2026"));
    EXPECT_TRUE(DaysApartAtLeast(7, "12/9/2026", "12/1/2026"));
    EXPECT_TRUE(DaysApartAtLeast(7, "12/30/2026", "1/6/2027"));
    EXPECT_FALSE(DaysApartAtLeast(7, "12/30/2026", "1/5/2027"));
    EXPECT_TRUE(DaysApartAtLeast(7, "not a date", "12/1/2026"));
    EXPECT_TRUE(DaysApartAtLeast(7, "12/1/2026", ""));
    EXPECT_TRUE(DaysApartAtLeast(0, "12/1/2026", "12/1/2026"));

    // The stored month/day/year stays that whatever the user's format (read
    // day first, 12/1 and 12/5 would be five months apart); other texts are
    // read in the user's format.
    for (const char* format : {"dd/MM/yyyy", "dd.MM.yyyy"}) {
        host_.clock->SetShortDateFormat(format, format[2]);
        EXPECT_FALSE(DaysApartAtLeast(7, "12/1/2026", "12/5/2026")) << format;
        EXPECT_FALSE(DaysApartAtLeast(1, "12/11/2026", "12/11/2026")) << format;
        EXPECT_TRUE(DaysApartAtLeast(7, "12/1/2026", "12/9/2026")) << format;
        EXPECT_FALSE(DaysApartAtLeast(10000, "1/31/2026", "12/11/2026")) << format;
    }
    EXPECT_TRUE(DaysApartAtLeast(7, "01.12.2026", "09.12.2026"));
    EXPECT_FALSE(DaysApartAtLeast(7, "01.12.2026", "12/5/2026"));
}

TEST(RaisePageStillLoading, IsAGeneralErrorNotOurs) {
    try {
        RaisePageStillLoading();
    } catch (const EIException&) {
        FAIL() << "must not be one of the system's own errors";
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), "This page is still being loaded.\r\rPlease try again once it has finished loading.");
    }
}
