// The drawing interface: the do-nothing base and the recorder drawing tests rely on.
#include "RecordingGraph.h"

#include <Zeb.h>

#include <gtest/gtest.h>

#include <memory>

namespace {
// Calls every operation once, the way a frame of the GUI would.
void DrawAFrame(kvBaseGraph* g, void* face)
{
    g->BeginScene();
    g->ClearScreen(0xFF000000);
    g->Bar(10, 20, 110, 45, 0x801E281E, nullptr);
    g->Bar(10, 20, 110, 45, 0x801E281E, face);
    g->BltTexture(-5, 7, face);
    g->DrawUITexture(0, 0, 640, 480, true, face);
    g->EndScene();
    g->UpdateScreen();
}
}  // namespace

TEST(BaseGraph, EveryOperationDoesNothingWithAnyArguments)
{
    kvBaseGraph base;
    int texture = 0;
    DrawAFrame(&base, &texture);
    DrawAFrame(&base, nullptr);
    std::unique_ptr<kvBaseGraph> owned(new kvBaseGraph);
    owned->Bar(5, 5, 1, 1, 0, nullptr);  // inverted rectangles are no error either
}

TEST(BaseGraph, GlobalStartsEmpty)
{
    EXPECT_EQ(nullptr, pbg);
}

TEST(RecordingGraphLog, RecordsEachCallInOrderThroughTheInterface)
{
    DrawLog log;
    int face = 0, stranger = 0;
    {
        RecordingGraph graph(&log);
        graph.textures.Name(&face, "face");
        kvBaseGraph* g = &graph;
        DrawAFrame(g, &face);
        g->BltTexture(0, 0, &stranger);
    }
    EXPECT_EQ((DrawLog{
                  "BeginScene",
                  "ClearScreen(0xFF000000)",
                  "Bar(10,20,110,45,0x801E281E,null)",
                  "Bar(10,20,110,45,0x801E281E,face)",
                  "BltTexture(-5,7,face)",
                  "DrawUITexture(0,0,640,480,sunken,face)",
                  "EndScene",
                  "UpdateScreen",
                  "BltTexture(0,0,?)",
                  "~RecordingGraph",
              }),
              log);
}

TEST(RecordingGraphLog, DeletedThroughTheBaseRunsTheBackendDestructor)
{
    DrawLog log;
    kvBaseGraph* g = new RecordingGraph(&log);
    delete g;
    EXPECT_EQ((DrawLog{"~RecordingGraph"}), log);
}
