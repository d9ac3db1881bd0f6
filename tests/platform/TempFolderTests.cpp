#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempFolder.h"

TEST(TempFolder, CreatesAUniqueFolderAndRemovesIt) {
    std::string kept;
    {
        TempFolder a, b;
        EXPECT_NE(a.Path(), b.Path());
        EXPECT_TRUE(std::filesystem::is_directory(a.Path()));
        EXPECT_TRUE(std::filesystem::is_empty(a.Path()));
        std::filesystem::create_directories(a.Path() + "/x/y");
        std::ofstream(a.Path() + "/x/y/f") << "data";
        std::filesystem::permissions(a.Path() + "/x/y/f", std::filesystem::perms::owner_read);
        std::filesystem::permissions(a.Path() + "/x/y", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        kept = a.Path();
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}
