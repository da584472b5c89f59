// kvPath from the command line, the file loader prefix, and the processor figures.
#include <kvSystem.h>
#include <vexa/platform.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Comspec, KvPathIsTheProgramDirectoryWithItsBackslash)
{
    GetComspec(nullptr);
    std::string path = kvPath;
    ASSERT_FALSE(path.empty());
    EXPECT_EQ('\\', path.back());
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(0u, std::string(module).find(path));
    EXPECT_EQ(std::string::npos, std::string(module).substr(path.size()).find('\\'));
}

TEST(FileLoader, JoinsBothParts)
{
    InitFileLoader("C:\\Games\\", "GUI\\Mac\\");
    EXPECT_STREQ("C:\\Games\\GUI\\Mac\\", kvPath);
    std::string longPart(300, 'p');
    InitFileLoader(longPart.c_str(), "x");
    EXPECT_EQ(255u, std::strlen(kvPath));
    kvPath[0] = 0;
}

TEST(CpuFrequency, MeasuresAPlausibleClock)
{
    DWORD mhz = TestCPUFrequency(20);
#if defined(__x86_64__) || defined(__i386__)
    EXPECT_GT(mhz, 100u);
    EXPECT_LT(mhz, 10000u);
#endif
    EXPECT_EQ(0u, TestCPUFrequency(0));
}

TEST(CpuModel, NamesFollowTheVendorTable)
{
    struct Case {
        const char* vendor;
        int family, model;
        const char* name;
    } cases[] = {
        {"GenuineIntel", 6, 7, "INTEL Pentium-III"},
        {"GenuineIntel", 6, 5, "INTEL Pentium-II"},
        {"GenuineIntel", 6, 14, "Unknown (Model=14)"},
        {"GenuineIntel", 4, 6, "Unknown (Model=6)"},
        {"GenuineIntel", 15, 2, "Unknown (Family=15, Model=2)"},
        {"GenuineIntel", 5, 4, "INTEL Pentium-MMX"},
        {"AuthenticAMD", 5, 4, ""},
        {"AuthenticAMD", 5, 9, "AMD K6-3"},
        {"AuthenticAMD", 6, 1, "AMD ATHLON"},
        {"AuthenticAMD", 15, 1, ""},
        {"HygonGenuine", 6, 1, "Unknown"},
    };
    for (const Case& c : cases) {
        char name[64];
        kvlib::CpuModelName(c.vendor, c.family, c.model, name, sizeof name);
        EXPECT_STREQ(c.name, name) << c.vendor << " " << c.family << " " << c.model;
    }
}

}  // namespace
