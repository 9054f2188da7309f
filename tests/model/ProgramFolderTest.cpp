#include "client/model/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ProgramFolder, IsTheExecutablesFolderAndBecomesTheCurrentDirectory)
{
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    std::filesystem::current_path("/");
    EXPECT_EQ(ExecutableFolder(), exe.parent_path().string());
    EXPECT_EQ(std::filesystem::current_path(), "/") << "only ProgramFolder changes directory";
    const std::string folder = ProgramFolder();
    EXPECT_EQ(folder, exe.parent_path().string());
    EXPECT_EQ(std::filesystem::current_path(), exe.parent_path());
    EXPECT_EQ(SetIniPath(), folder + "/Set/Set.ini");
    EXPECT_EQ(WarnSetIniPath(), folder + "/Set/WarnSet.ini");
    EXPECT_EQ(SelfStockIniPath(), folder + "/Set/SelfStock.ini");
}
