#include <gtest/gtest.h>

#include "install_folder.h"

TEST(InstallFolderFromValue, AppendsABackslashOnlyWhenMissing)
{
    EXPECT_EQ(InstallFolderFromValue(std::string("C:\\QUARNET")), "C:\\QUARNET\\");
    EXPECT_EQ(InstallFolderFromValue(std::string("C:\\QUARNET\\")), "C:\\QUARNET\\");
    EXPECT_EQ(InstallFolderFromValue(std::string("\\\\srv\\share")), "\\\\srv\\share\\");
    EXPECT_EQ(InstallFolderFromValue(std::string("C:/Q/")), "C:/Q/\\") << "only a backslash counts";
}

TEST(InstallFolderFromValue, NoTextAndEmptyTextAreNotKnown)
{
    EXPECT_FALSE(InstallFolderFromValue(std::nullopt).has_value());
    EXPECT_FALSE(InstallFolderFromValue(std::string()).has_value())
        << "an empty value must not become the root of the current drive";
}
