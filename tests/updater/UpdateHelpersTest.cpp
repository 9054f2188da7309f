#include "UpdateFixture.h"

#include "platform/process/ProcessList.h"
#include "platform/process/ProgramStarter.h"
#include "updater/UpdateHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using ::testing::ElementsAreArray;

namespace {

struct SplitCase
{
    std::string text;
    std::string delimiter;
    std::vector<std::string> items;
};

TEST(SplitTextTest, SplitsAtEveryDelimiter)
{
    const std::vector<SplitCase> cases = {
        {"a|b", "|", {"a", "b"}},
        {"a|b|", "|", {"a", "b", ""}},
        {"a||b", "|", {"a", "", "b"}},
        {"|a", "|", {"", "a"}},
        {"", "|", {}},
        {"abc", "|", {"abc"}},
        {"a<>b<>", "<>", {"a", "b", ""}},
        {"版本#号", "#", {"版本", "号"}},
        {"abc", "", {"abc"}},
    };
    for (const auto& c : cases)
        EXPECT_THAT(SplitText(c.text, c.delimiter), ElementsAreArray(c.items))
            << "\"" << c.text << "\" at \"" << c.delimiter << "\"";
}

TEST(FolderTest, CreateFolderPathMakesMissingParentsAndTakesBackslashes)
{
    TempFolder folder;
    EXPECT_TRUE(CreateFolderPath(folder.path() + "\\a\\b/c"));
    EXPECT_TRUE(Exists(folder.path() + "/a/b/c"));
    EXPECT_TRUE(CreateFolderPath(folder.path() + "/a/b/c"));
    WriteFile(folder.file("plain"), "x");
    EXPECT_FALSE(CreateFolderPath(folder.file("plain")));
    EXPECT_FALSE(CreateFolderPath(folder.file("plain") + "/below"));
}

TEST(FolderTest, DeleteFolderTreeRemovesEverythingButFollowsNoLinks)
{
    TempFolder folder;
    TempFolder outside;
    WriteFile(outside.file("keep.txt"), "keep");
    const std::string tree = folder.file("update");
    const std::string longName(250, 'n');
    ASSERT_TRUE(CreateFolderPath(tree + "/deep/" + longName + "/deeper"));
    WriteFile(tree + "/deep/" + longName + "/deeper/" + longName, "x");
    WriteFile(tree + "/file.ini", "x");
    ASSERT_EQ(::symlink(outside.path().c_str(), (tree + "/link").c_str()), 0);

    EXPECT_TRUE(DeleteFolderTree(tree));
    EXPECT_FALSE(Exists(tree));
    EXPECT_TRUE(Exists(outside.file("keep.txt")));
    EXPECT_FALSE(DeleteFolderTree(tree));
}

TEST(ProcessTest, FindProcessIdMatchesTheExecutableNameWithoutCase)
{
    TempFolder folder;
    pid_t child = StartNamedChild(folder.file("MeridexStandIn"));
    ASSERT_GT(child, 0);
    EXPECT_EQ(FindProcessId("meridexSTANDIN"), child);
    EXPECT_EQ(FindProcessId("MeridexStandI"), -1);
    EXPECT_EQ(FindProcessId("no-such-program-here"), -1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

TEST(ProcessTest, EndProcessAsksFirstAndKillsWhatDoesNotListen)
{
    for (bool ignoresTerm : {false, true}) {
        TempFolder folder;
        pid_t child = StartNamedChild(folder.file("StandIn"), ignoresTerm);
        ASSERT_GT(child, 0);
        EXPECT_TRUE(EndProcess(child, std::chrono::milliseconds(300)));
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), ignoresTerm ? SIGKILL : SIGTERM);
    }
}

TEST(ProcessTest, StartDetachedTellsAStartedProgramFromOneThatCannotStart)
{
    TempFolder folder;
    const std::string script = folder.file("prog");
    WriteFile(script, "#!/bin/sh\npwd > out.txt\necho \"$@\" >> out.txt\n");
    EXPECT_FALSE(StartDetached(script, {}, folder.path())); // not executable yet
    ASSERT_TRUE(MakeExecutable(script));
    EXPECT_TRUE(StartDetached(script, {"RunAsAdmin", "/VERYSILENT"}, folder.path()));
    EXPECT_EQ(WaitForFile(folder.file("out.txt")), folder.path());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_THAT(ReadFile(folder.file("out.txt")), ::testing::HasSubstr("RunAsAdmin /VERYSILENT"));

    WriteFile(folder.file("junk"), "no program at all", true);
    EXPECT_FALSE(StartDetached(folder.file("junk"), {}, folder.path()));
    EXPECT_FALSE(StartDetached(folder.file("missing"), {}, folder.path()));
    EXPECT_FALSE(StartDetached(folder.path(), {}, folder.path()));
}

} // namespace
