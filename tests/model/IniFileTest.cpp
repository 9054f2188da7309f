#include "client/model/IniFile.h"
#include "client/model/AtomicFile.h"
#include "client/model/LocalText.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string slurp(const std::string& path)
{
    std::string s;
    ReadWholeFile(path, s);
    return s;
}

void put(const std::string& path, const std::string& bytes)
{
    ASSERT_TRUE(AtomicWriteFile(path, bytes));
}

} // namespace

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault)
{
    TempFolder dir;
    const auto path = dir.file("Set.ini");
    EXPECT_EQ(Ini::ReadString(path, "Set", "bBriefShow", "1"), "1");
    EXPECT_EQ(Ini::ReadInt(path, "WarnSet", "VolumeRatio", -1), -1);
    put(path, "[Set]\nBossKey=Alt+F10\n");
    EXPECT_EQ(Ini::ReadString(path, "Other", "BossKey", "d"), "d");
    EXPECT_EQ(Ini::ReadString(path, "Set", "Missing", "d"), "d");
    EXPECT_EQ(Ini::ReadString(path, "Set", "BossKey", "d"), "Alt+F10");
}

TEST(IniFile, ReadsWindowsFilesInTheLocalCodePage)
{
    TempFolder dir;
    const auto path = dir.file("WarnSet.ini");
    put(path, Utf8ToLocal("; comment\r\n[平安银行]\r\nPercent = 3.5 \r\nHigh=\r\n"
                          "VolumeRatio=2\r\n\r\n[浦发银行]\r\nLow=8\r\n"));
    EXPECT_EQ(Ini::ReadString(path, "平安银行", "Percent", ""), "3.5");
    EXPECT_EQ(Ini::ReadString(path, "平安银行", "High", "x"), ""); // present but empty
    EXPECT_EQ(Ini::ReadInt(path, "平安银行", "High", -1), -1);     // empty reads as default
    EXPECT_EQ(Ini::ReadInt(path, "平安银行", "VolumeRatio", -1), 2);
    EXPECT_EQ(Ini::ReadString(path, "浦发银行", "Low", ""), "8");
}

TEST(IniFile, NamesMatchWithoutCaseAndTheFirstDuplicateWins)
{
    TempFolder dir;
    const auto path = dir.file("a.ini");
    put(path, "[URL]\nHOME=first\nhome=second\n[url]\npage=hidden\n");
    EXPECT_EQ(Ini::ReadString(path, "url", "home", ""), "first");
    EXPECT_EQ(Ini::ReadString(path, "url", "page", "none"), "none");
    ASSERT_TRUE(Ini::WriteString(path, "Url", "Home", "new"));
    EXPECT_EQ(slurp(path), "[URL]\nHOME=new\nhome=second\n[url]\npage=hidden\n");
}

TEST(IniFile, CaseFoldingDoesNotMergeDifferentChineseNames)
{
    // Two GBK characters whose trail bytes are the letters 'A' and 'a'.
    TempFolder dir;
    const auto path = dir.file("a.ini");
    const std::string upper = LocalToUtf8("\x81\x41");
    const std::string lower = LocalToUtf8("\x81\x61");
    ASSERT_FALSE(upper.empty());
    ASSERT_FALSE(lower.empty());
    ASSERT_TRUE(Ini::WriteString(path, upper, "k", "1"));
    EXPECT_EQ(Ini::ReadString(path, lower, "k", "none"), "none");
}

TEST(IniFile, CapacityCutsStoredBytesWithoutSplittingACharacter)
{
    TempFolder dir;
    const auto path = dir.file("a.ini");
    ASSERT_TRUE(Ini::WriteString(path, "s", "name", "平安银行")); // 8 stored bytes
    EXPECT_EQ(Ini::ReadString(path, "s", "name", "", 9), "平安银行");
    EXPECT_EQ(Ini::ReadString(path, "s", "name", "", 8), "平安银");
    EXPECT_EQ(Ini::ReadString(path, "s", "name", "", 7), "平安银");
    EXPECT_EQ(Ini::ReadString(path, "s", "name", "", 1), "");
    EXPECT_EQ(Ini::ReadString(path, "s", "name", "", 0), "");
    EXPECT_EQ(Ini::ReadString(path, "s", "missing", "abcdef", 4), "abc");
    ASSERT_TRUE(Ini::WriteString(path, "s", "list", std::string(3000, '1')));
    EXPECT_EQ(Ini::ReadString(path, "s", "list", "", 2048).size(), 2047u);
}

TEST(IniFile, ReadIntTakesTheNumberAtTheStart)
{
    TempFolder dir;
    const auto path = dir.file("a.ini");
    put(path, "[s]\na=42abc\nb=abc\nc=-7\nd=99999999999\ne=\n");
    EXPECT_EQ(Ini::ReadInt(path, "s", "a", -1), 42);
    EXPECT_EQ(Ini::ReadInt(path, "s", "b", -1), 0);
    EXPECT_EQ(Ini::ReadInt(path, "s", "c", 0), -7);
    EXPECT_EQ(Ini::ReadInt(path, "s", "d", 0), 2147483647);
    EXPECT_EQ(Ini::ReadInt(path, "s", "e", 5), 5);
}

TEST(IniFile, WriteKeepsUnrelatedLinesOrderAndLineEnding)
{
    TempFolder dir;
    const auto path = dir.file("a.ini");
    put(path, "; keep me\r\n[Set]\r\nbBriefShow=1\r\n\r\n[url]\r\nhome=h\r\n");
    ASSERT_TRUE(Ini::WriteString(path, "Set", "bSuspendShow", "0"));
    ASSERT_TRUE(Ini::WriteString(path, "url", "home", ""));
    ASSERT_TRUE(Ini::WriteString(path, "update", "num", "1"));
    EXPECT_EQ(slurp(path), "; keep me\r\n[Set]\r\nbBriefShow=1\r\nbSuspendShow=0\r\n\r\n"
                           "[url]\r\nhome=\r\n[update]\r\nnum=1\r\n");
    EXPECT_EQ(Ini::ReadString(path, "url", "home", "default"), "");
}

TEST(IniFile, NewFileIsPrivateAndMissingFolderFails)
{
    TempFolder dir;
    const auto path = dir.file("Set.ini");
    ASSERT_TRUE(Ini::WriteString(path, "user", "p", "secret"));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_FALSE(Ini::WriteString(dir.file("Set/Set.ini"), "a", "b", "c"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Set")));
}

TEST(IniFile, WritesThatWouldBreakTheFileAreRefused)
{
    TempFolder dir;
    const auto path = dir.file("a.ini");
    ASSERT_TRUE(Ini::WriteString(path, "s", "k", "v"));
    const std::string before = slurp(path);
    EXPECT_FALSE(Ini::WriteString(path, "s", "k", "v\n[evil]\nx=1"));
    EXPECT_FALSE(Ini::WriteString(path, "s", "k=x", "v"));
    EXPECT_FALSE(Ini::WriteString(path, "s]x", "k", "v"));
    EXPECT_FALSE(Ini::WriteString(path, "", "k", "v"));
    EXPECT_FALSE(Ini::WriteString(path, "s", "", "v"));
    EXPECT_FALSE(Ini::WriteString(path, "s", "k", std::string("a\0b", 3)));
    EXPECT_FALSE(Ini::WriteString(path, "s", "k", "bad\xFF utf8"));
    EXPECT_EQ(slurp(path), before);
}

TEST(IniFile, DeleteSectionRemovesEveryCopyAndNothingElse)
{
    TempFolder dir;
    const auto path = dir.file("a.ini");
    put(path, "[a]\nx=1\n[B]\ny=2\n; note of b\n[a]\nz=3\n[c]\nw=4\n");
    ASSERT_TRUE(Ini::DeleteSection(path, "A"));
    EXPECT_EQ(slurp(path), "[B]\ny=2\n; note of b\n[c]\nw=4\n");
    ASSERT_TRUE(Ini::DeleteSection(path, "missing"));
    EXPECT_EQ(slurp(path), "[B]\ny=2\n; note of b\n[c]\nw=4\n");
    EXPECT_TRUE(Ini::DeleteSection(dir.file("none.ini"), "a"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.ini")));
}

TEST(IniFile, HostileContentHasDefinedResults)
{
    TempFolder dir;
    const auto path = dir.file("a.ini");
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    struct Case
    {
        std::string content;
        std::string expected; // value of [s] k, or "default"
    } cases[] = {
        {garbage, "default"},
        {"[s]\nk=" + std::string(10 * 1024 * 1024, 'x') + "\n", std::string(254, 'x')},
        {"[s]\nno equals sign\nk=v\n", "v"},
        {"[s\nk=v\n", "default"},
        {"[s]\nk=" + std::string("ab\0cd", 5) + "\n", "ab"},
        {std::string("[s]\0\nk=v\n", 10), "v"},
        {"k=outside\n[s]\n", "default"},
        {"[s]\n=v\nk==x\n", "=x"},
        {"", "default"},
    };
    for (const auto& c : cases) {
        put(path, c.content);
        EXPECT_EQ(Ini::ReadString(path, "s", "k", "default"), c.expected)
            << c.content.substr(0, 40);
        EXPECT_TRUE(Ini::WriteString(path, "t", "k", "v"));
        EXPECT_EQ(Ini::ReadString(path, "t", "k", ""), "v");
    }
}

TEST(IniFile, ConcurrentThreadsNeverLoseAKey)
{
    TempFolder dir;
    const auto path = dir.file("Set.ini");
    constexpr int kWriters = 4;
    constexpr int kRounds = 150;
    std::vector<std::thread> threads;
    for (int w = 0; w < kWriters; ++w) {
        threads.emplace_back([&, w] {
            for (int i = 0; i <= kRounds; ++i)
                ASSERT_TRUE(
                    Ini::WriteString(path, "Set", "k" + std::to_string(w), std::to_string(i)));
        });
    }
    for (auto& t : threads)
        t.join();
    for (int w = 0; w < kWriters; ++w)
        EXPECT_EQ(Ini::ReadInt(path, "Set", "k" + std::to_string(w), -1), kRounds);
}

TEST(IniFile, ConcurrentProcessesNeverLoseAKey)
{
    TempFolder dir;
    const auto path = dir.file("Set.ini");
    constexpr int kRounds = 150;
    std::vector<pid_t> children;
    for (int w = 0; w < 3; ++w) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0; i <= kRounds; ++i)
                if (!Ini::WriteString(path, "update", "p" + std::to_string(w), std::to_string(i)))
                    ::_exit(1);
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < 3; ++w)
        EXPECT_EQ(Ini::ReadInt(path, "update", "p" + std::to_string(w), -1), kRounds);
}

TEST(IniFile, KillDuringWriteNeverLeavesABrokenFile)
{
    TempFolder dir;
    const auto path = dir.file("Set.ini");
    ASSERT_TRUE(Ini::WriteString(path, "url", "home", "http://127.0.0.1:8080"));
    const std::string big(64 * 1024, 'p'); // large enough that a kill lands mid-write
    for (int round = 0; round < 40; ++round) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0;; ++i)
                Ini::WriteString(path, "Set", "n", big + std::to_string(i));
        }
        ::usleep(static_cast<useconds_t>(1000 + (round * 733) % 9000));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        EXPECT_EQ(Ini::ReadString(path, "url", "home", ""), "http://127.0.0.1:8080");
        const std::string n = Ini::ReadString(path, "Set", "n", "", 1 << 20);
        EXPECT_TRUE(n.empty() || n.compare(0, big.size(), big) == 0) << "round " << round;
    }
    // Leftover temporary files of killed writers are harmless but must not be the settings.
    EXPECT_EQ(Ini::ReadString(path, "url", "home", ""), "http://127.0.0.1:8080");
}
