// The command line is built from the real argv and splits back with CommandLineToArgvW.
#include <windows.h>

#include <vexa/platform.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Split(const char16_t* line)
{
    int n = -1;
    LPWSTR* argv = CommandLineToArgvW(line, &n);
    EXPECT_NE(nullptr, argv);
    std::vector<std::u16string> out;
    for (int i = 0; i < n; ++i)
        out.emplace_back(argv[i]);
    EXPECT_EQ(nullptr, argv[n]);
    EXPECT_EQ(nullptr, LocalFree(argv));
    return out;
}

TEST(CommandLineToArgvW, FollowsTheQuotingRules)
{
    struct Case {
        const char16_t* line;
        std::vector<std::u16string> expected;
    };
    const Case cases[] = {
        {u"C:\\Games\\x.exe a b", {u"C:\\Games\\x.exe", u"a", u"b"}},
        {u"\"C:\\My Games\\x.exe\"  \"a b\"\tc", {u"C:\\My Games\\x.exe", u"a b", u"c"}},
        {u"x a\\\\\\\"b", {u"x", u"a\\\"b"}},        // 3 backslashes + quote
        {u"x \"a\\\\\" b", {u"x", u"a\\", u"b"}},     // 2 backslashes + closing quote
        {u"x a\\b\\\\c", {u"x", u"a\\b\\\\c"}},       // backslashes without a quote
        {u"x \"a\"\"b\"", {u"x", u"a\"b"}},           // doubled quote inside quotes
        {u"x \"\"", {u"x", u""}},
        {u"x   ", {u"x"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Split(c.line)) << std::string(c.line, c.line + 8).size();
}

TEST(CommandLineToArgvW, NullCountIsRefused)
{
    SetLastError(0);
    EXPECT_EQ(nullptr, CommandLineToArgvW(u"x", nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(GetCommandLine, ArgumentsSurviveTheRoundTrip)
{
    char arg0[] = "ignored";
    char arg1[] = "plain";
    char arg2[] = "with space";
    char arg3[] = "quote\"and\\\\";
    char arg4[] = "";
    char arg5[] = "简单";  // GBK bytes here; the host would pass UTF-8, so build that below
    (void)arg5;
    char utf8[] = "\xE7\xAE\x80\xE5\x8D\x95";
    char* argv[] = {arg0, arg1, arg2, arg3, arg4, utf8};
    vexa::platform::SetProcessArguments(6, argv);

    std::vector<std::u16string> args = Split(GetCommandLineW());
    ASSERT_EQ(6u, args.size());
    EXPECT_EQ(u"plain", args[1]);
    EXPECT_EQ(u"with space", args[2]);
    EXPECT_EQ(u"quote\"and\\\\", args[3]);
    EXPECT_EQ(u"", args[4]);
    EXPECT_EQ(u"简单", args[5]);
    // Argument 0 is this program's full path in the engine's form.
    EXPECT_EQ(u'\\', args[0][0]);
    EXPECT_EQ(std::u16string::npos, args[0].find(u'/'));
    EXPECT_NE(std::u16string::npos, args[0].find(u"platform_tests"));

    // The narrow line is the same text in code page 936.
    std::string narrow = GetCommandLineA();
    EXPECT_NE(std::string::npos, narrow.find("\"with space\""));
    EXPECT_NE(std::string::npos, narrow.find("简单"));
}

TEST(GetModuleFileNameA, TruncatesAndReportsATooSmallBuffer)
{
    char full[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, full, MAX_PATH);
    ASSERT_GT(n, 4u);
    EXPECT_EQ(std::string::npos, std::string(full).find('/'));
    char small[4];
    SetLastError(0);
    EXPECT_EQ(4u, GetModuleFileNameA(nullptr, small, 4));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(std::string(full, 3), std::string(small));
}

TEST(HostPath, TurnsGbkPathsWithEitherSeparatorIntoUtf8)
{
    const struct {
        const char* engine;
        const char* host;
    } cases[] = {
        {"GUI\\Mac/a.png", "GUI/Mac/a.png"},
        // DataPack\Vexa\水果_苹果.png
        {"DataPack\\Vexa\\\xCB\xAE\xB9\xFB_\xC6\xBB\xB9\xFB.png",
         "DataPack/Vexa/\xE6\xB0\xB4\xE6\x9E\x9C_\xE8\x8B\xB9\xE6\x9E\x9C.png"},
        // 乗 is 0x81 0x5C: its trail byte is not a separator.
        {"a\\\x81\x5C\\b", "a/\xE4\xB9\x97/b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.host, vexa::platform::HostPath(c.engine)) << c.engine;
}

}  // namespace

TEST(GetModuleHandleA, FindsLoadedLibrariesByTheirWindowsName)
{
    HMODULE platform = GetModuleHandleA("VexaPlatform.dll");
    ASSERT_NE(nullptr, platform);
    EXPECT_EQ(platform, GetModuleHandleA("vexaplatform"));
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(platform, path, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::string file(path, n);
    EXPECT_EQ(file.size() - std::strlen("\\libVexaPlatform.so"), file.rfind("\\libVexaPlatform.so"));

    SetLastError(0);
    EXPECT_EQ(nullptr, GetModuleHandleA("NoSuchModule.dll"));
    EXPECT_EQ(DWORD(ERROR_MOD_NOT_FOUND), GetLastError());
}
