// The allocation tracker's records, reuse, overflow and dump.
#include "MemoryStream.h"

#include <kvMemory.h>
#include <kvTrace.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class MemoryTrackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        memoryLog = new MemoryStream("", false, false, false);
        SetMemoryOutput(memoryLog);
    }
    void TearDown() override { SetMemoryOutput(nullptr); }
    std::string MemoryText() const
    {
        return std::string(memoryLog->medium.begin(), memoryLog->medium.end());
    }
    MemoryStream* memoryLog = nullptr;
};

TEST_F(MemoryTrackerTest, ArrayRecordHasSizeMinusOneAndItsSourceLine)
{
    int* p = new int[3];
    KVMEMnew(p, 12, "x.cpp", true);
    const kvlib::MemoryEntry* e = kvlib::FindMemoryEntry(p);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(-1, e->size);
    EXPECT_STREQ("0012 x.cpp", e->text);
    std::string line = MemoryText();
    EXPECT_NE(std::string::npos, line.find(" -0000000001   (0012 x.cpp)\n"));
    KVMEMdeletearr(p);
    delete[] p;
    EXPECT_EQ(nullptr, kvlib::FindMemoryEntry(p));
}

TEST_F(MemoryTrackerTest, MallocRecordsItsSizeAndFreeReusesTheEntry)
{
    void* a = KVMEMmalloc(40, 7, "a.cpp");
    void* b = KVMEMmalloc(50, 8, "b.cpp");
    int slotA = kvlib::MemoryEntryIndex(a);
    ASSERT_GE(slotA, 0);
    EXPECT_EQ(40, kvlib::FindMemoryEntry(a)->size);
    KVMEMfree(a);
    void* c = KVMEMmalloc(60, 9, "c.cpp");
    EXPECT_EQ(slotA, kvlib::MemoryEntryIndex(c));  // the first free entry
    KVMEMfree(b);
    KVMEMfree(c);
    KVMEMdelete(&slotA);  // an address without a record is ignored
}

TEST_F(MemoryTrackerTest, NewRecordsTheHeapBlockSize)
{
    auto* d = new double(1.0);
    KVMEMnew(d, 3, "d.cpp", false);
    EXPECT_GE(kvlib::FindMemoryEntry(d)->size, int(sizeof(double)));
    KVMEMdelete(d);
    delete d;
}

TEST_F(MemoryTrackerTest, DumpListsLiveRecordsBetweenBanners)
{
    void* a = KVMEMmalloc(16, 1, "dump.cpp");
    memoryLog->medium.clear();
    memoryLog->position = 0;
    DumpMemoryEntry();
    std::string text = MemoryText();
    EXPECT_EQ(0u, text.find("********** Dumping Current Memory Info**********\n"));
    EXPECT_NE(std::string::npos, text.find(" 0000000016   (0001 dump.cpp)\n"));
    EXPECT_NE(std::string::npos,
              text.find("******************** Finish ********************\n \n"));
    KVMEMfree(a);
}

TEST_F(MemoryTrackerTest, The40961stLiveRecordOverflowsOnce)
{
    auto* log = new MemoryStream("", false, false, false);
    SetDebugOutput(log, false);
    SetMemoryOutput(nullptr);  // 40960 lines to the debugger are enough
    std::vector<char> cells(kvlib::kMemoryEntryCount + 1);
    for (char& c : cells)
        KVMEMnew(&c, 1, "many.cpp", true);
    std::string text(log->medium.begin(), log->medium.end());
    size_t first = text.find("***Memory Trace Entries overflow!!!***\n");
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ(std::string::npos, text.find("overflow", first + 40));
    EXPECT_EQ(nullptr, kvlib::FindMemoryEntry(&cells.back()));
    for (char& c : cells)
        KVMEMdelete(&c);
    SetDebugOutput(nullptr, false);
    memoryLog = new MemoryStream("", false, false, false);
    SetMemoryOutput(memoryLog);
}

}  // namespace
