#include "foundation/CommandLine.h"

#include <gtest/gtest.h>

using namespace foundation;

TEST(CommandLine, QuotedArgumentsReadBackAsWritten) {
    EXPECT_EQ(QuoteArgument("c:\\Program Files\\Zephyra\\install.log"), "\"c:\\Program Files\\Zephyra\\install.log\"");
    EXPECT_EQ(QuoteArgument(""), "\"\"");
    // A trailing backslash would escape the closing quote and swallow the next argument.
    EXPECT_EQ(QuoteArgument("c:\\Program Files\\"), "\"c:\\Program Files\\\\\"");
    EXPECT_EQ(QuoteArgument("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(QuoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");
    // Backslashes elsewhere stay single.
    EXPECT_EQ(QuoteArgument("\\\\server\\share"), "\"\\\\server\\share\"");
}

TEST(CommandLine, TheProgramIsTakenOffUpToItsClosingQuoteOrFirstBlank) {
    auto parts = SplitProgram("  \"c:\\Program Files\\Zephyra\\unwise.exe\"   \"c:\\Program Files\\x.log\" /S");
    EXPECT_EQ(parts.program, "c:\\Program Files\\Zephyra\\unwise.exe");
    EXPECT_EQ(parts.arguments, "\"c:\\Program Files\\x.log\" /S");
    // Unquoted, the program ends at the blank: never "Program Files" by guessing.
    parts = SplitProgram("c:\\Program Files\\Zephyra\\unwise.exe c:\\x.log");
    EXPECT_EQ(parts.program, "c:\\Program");
    EXPECT_EQ(parts.arguments, "Files\\Zephyra\\unwise.exe c:\\x.log");
    parts = SplitProgram("\"c:\\open ended");
    EXPECT_EQ(parts.program, "c:\\open ended");
    EXPECT_EQ(parts.arguments, "");
    parts = SplitProgram("\t");
    EXPECT_EQ(parts.program, "");
    EXPECT_EQ(parts.arguments, "");
    // What QuoteArgument wrote comes back whole.
    EXPECT_EQ(SplitProgram(QuoteArgument("c:\\a b\\c.exe") + " x").program, "c:\\a b\\c.exe");
}

TEST(CommandLine, OnlyDriveAndNetworkPathsAreFull) {
    for (const char* full : {"c:\\x.exe", "Z:\\", "\\\\server\\share\\x.exe"}) EXPECT_TRUE(IsFullPath(full)) << full;
    for (const char* relative : {"x.exe", "c:x.exe", "\\x.exe", "..\\x.exe", "", "c:", "\\\\", "\\\\\\x",
                                 "\\\\?\\c:\\x.exe", "\\\\.\\pipe\\x", "1:\\x"})
        EXPECT_FALSE(IsFullPath(relative)) << relative;
}
