// The resource registry and the lifecycle of the application, graphics, input and IME
// objects.
#include "RuntimeFixture.h"
#include "ThrownMessage.h"

#include <imm.h>

#include <cstring>

namespace {
class RecordingResource : public kvResource {
public:
    RecordingResource(const char* resourceName, CallLog* callLog) : name(resourceName), log(callLog) {}
    void Load() override
    {
        log->push_back(std::string("load ") + name + " path='" + kvPath + "'");
    }
    void Release() override { log->push_back(std::string("release ") + name); }

    const char* name;
    CallLog* log;
};

class ForeignIME : public kvIMEInterface {
public:
    // {0FA5C44B-2AD7-444F-A63A-1FE678C3CCA0}
    ForeignIME() { ClassId = {0x0FA5C44B, 0x2AD7, 0x444F, {0xA6, 0x3A, 0x1F, 0xE6, 0x78, 0xC3, 0xCC, 0xA0}}; }
};
}  // namespace

class RegistryTest : public RuntimeTest {
protected:
    void SetUp() override
    {
        RuntimeTest::SetUp();
        kvlib::DestroyRegistry();
        kvlib::CreateRegistry();
    }
    void TearDown() override
    {
        kvlib::DestroyRegistry();
        RuntimeTest::TearDown();
    }
};

TEST_F(RegistryTest, NewestRegistrationComesFirstAndLoadingEmptiesThePath)
{
    RecordingResource a("A", &log), b("B", &log);
    kvrReg(&a);
    kvrReg(&b);
    std::strcpy(kvPath, "C:\\Games\\");
    kvResourceLoad();
    kvResourceRelease();
    EXPECT_EQ((CallLog{"load B path=''", "load A path=''", "release B", "release A"}), log);
    EXPECT_EQ('\0', kvPath[0]);
}

TEST_F(RegistryTest, EmptyRegistryOnlyClearsThePath)
{
    std::strcpy(kvPath, "C:\\Games\\");
    kvResourceLoad();
    kvResourceRelease();
    EXPECT_EQ('\0', kvPath[0]);
    EXPECT_EQ(0, kvlib::RegistryCount());
}

TEST_F(RegistryTest, RegisteringTwiceListsTwiceAndDestroyingKeepsTheResources)
{
    RecordingResource a("A", &log);
    kvrReg(&a);
    kvrReg(&a);
    EXPECT_EQ(2, kvlib::RegistryCount());
    kvResourceLoad();
    EXPECT_EQ(2u, log.size());
    kvlib::DestroyRegistry();
    EXPECT_EQ(0, kvlib::RegistryCount());
    a.Release();  // still alive: the registry never owned it
    kvResourceLoad();  // no registry: nothing to visit
    EXPECT_EQ(3u, log.size());
}

TEST(ResourceBase, DoesNothingAndHasNoDeviceObject)
{
    kvResource r;
    r.Load();
    r.Release();
    EXPECT_EQ(nullptr, r.GetPtr());
}

TEST_F(RuntimeTest, InitObjectsRunsTheStartInOrderAndInstallsTheDefaultIME)
{
    kvApp = new RecordingApp(&log);
    new RecordingGraphics(&log);
    new RecordingInput(&log);
    kvInitObjects();
    EXPECT_EQ((CallLog{"gi.Init", "ii.Init", "app.Init", "app.LoadObjs"}), log);
    ASSERT_NE(nullptr, kvimei);
    EXPECT_EQ(KVIME_DEFAULT_ID, kvimei->ClassId);
    EXPECT_FALSE(kvimei->bComposing);
}

TEST_F(RuntimeTest, InitObjectsWithoutAnApplicationIsRefused)
{
    new RecordingGraphics(&log);
    new RecordingInput(&log);
    EXPECT_EQ("Missing application object.", ThrownMessage([] { kvInitObjects(); }));
    EXPECT_EQ((CallLog{"gi.Init", "ii.Init"}), log);
}

TEST_F(RuntimeTest, InitObjectsWithoutBackendsIsRefused)
{
    kvApp = new RecordingApp(&log);
    EXPECT_EQ("Missing graphic system.", ThrownMessage([] { kvInitObjects(); }));
    new RecordingGraphics(&log);
    EXPECT_EQ("Missing input system.", ThrownMessage([] { kvInitObjects(); }));
}

TEST_F(RuntimeTest, ReleaseDeletesEverythingInOrderAndTwiceIsHarmless)
{
    kvApp = new RecordingApp(&log);
    new RecordingGraphics(&log);
    new RecordingInput(&log);
    kvInitObjects();
    bQuit = true;
    log.clear();
    kvReleaseObjects();
    EXPECT_EQ((CallLog{"app.DestroyObjs", "app.delete", "gi.delete", "ii.delete"}), log);
    EXPECT_FALSE(bQuit);
    EXPECT_EQ(nullptr, kvApp);
    EXPECT_EQ(nullptr, kvgi);
    EXPECT_EQ(nullptr, kvii);
    EXPECT_EQ(nullptr, kvimei);

    log.clear();
    kvReleaseObjects();
    EXPECT_TRUE(log.empty());
}

TEST_F(RuntimeTest, FailingDestroyObjsStillReleasesEverythingThenReports)
{
    struct FailingApp : RecordingApp {
        using RecordingApp::RecordingApp;
        void DestroyObjs() override
        {
            RecordingApp::DestroyObjs();
            NewException("Textures could not be released.", KVEXCEPTION_GENERAL);
        }
    };
    kvApp = new FailingApp(&log);
    new RecordingGraphics(&log);
    new RecordingInput(&log);
    kvInitObjects();
    log.clear();
    EXPECT_EQ("Textures could not be released.", ThrownMessage([] { kvReleaseObjects(); }));
    EXPECT_EQ((CallLog{"app.DestroyObjs", "app.delete", "gi.delete", "ii.delete"}), log);
    EXPECT_EQ(nullptr, kvApp);
    EXPECT_EQ(nullptr, kvgi);
    EXPECT_EQ(nullptr, kvii);
}

TEST_F(RuntimeTest, ReleaseLeavesAForeignIMEToItsOwner)
{
    ForeignIME foreign;
    kvimei = &foreign;
    kvApp = new RecordingApp(&log);
    new RecordingGraphics(&log);
    new RecordingInput(&log);
    kvInitObjects();
    EXPECT_EQ(&foreign, kvimei);  // no default object over a program's own
    kvReleaseObjects();
    EXPECT_EQ(&foreign, kvimei);
    kvimei = nullptr;
}

TEST_F(RuntimeTest, RestoreOnlyWhenTheDeviceIsLostAndResettable)
{
    kvApp = new RecordingApp(&log);
    RecordingGraphics* graph = new RecordingGraphics(&log);
    new RecordingInput(&log);
    kvInitObjects();
    log.clear();
    kvRestoreObjects();
    EXPECT_EQ(CallLog{"gi.TestLost"}, log);

    log.clear();
    graph->lost = true;
    kvRestoreObjects();
    EXPECT_EQ((CallLog{"gi.TestLost", "app.DestroyObjs", "gi.RestoreGraph", "app.LoadObjs"}), log);
}

TEST_F(RuntimeTest, BaseBackendsAnswerTheirDefaults)
{
    struct MinimalGraph : kvGraphInterface {
        bool TestLost() override { return kvGraphInterface::TestLost(); }
        void Init() override {}
        void Resize(DWORD, DWORD) override {}
        void ResetForSizing(bool) override {}
        void RestoreGraph() override {}
        void UpdateScreen() override {}
        void SetView(void*) override {}
    };
    MinimalGraph* graph = new MinimalGraph;
    graph->InstallSelf();
    EXPECT_EQ(graph, kvgi);
    EXPECT_FALSE(kvgi->TestLost());
    delete graph;
    EXPECT_EQ(nullptr, kvgi);  // deleting the installed backend leaves nothing dangling

    kvIMEInterface ime;
    EXPECT_TRUE(ime.Composition(0, GCS_COMPSTR));
}
