// Test helper: a drawing interface that writes every call, with its arguments, to a
// DrawLog instead of a device, e.g. "Bar(1,2,30,40,0xFF282828,frame)". A real backend
// must leave the same trace of calls for the same drawing.
#ifndef ZEB_TESTS_RECORDINGGRAPH_H
#define ZEB_TESTS_RECORDINGGRAPH_H

#include "DrawLog.h"

#include <kvBaseGraph.h>

class RecordingGraph : public kvBaseGraph {
public:
    // Pre: log outlives the recorder.
    explicit RecordingGraph(DrawLog* drawLog) : log(drawLog) {}

    void ClearScreen(DWORD colour) override
    {
        log->push_back("ClearScreen(" + zebtest::Colour(colour) + ")");
    }
    void Bar(int x1, int y1, int x2, int y2, DWORD colour, void* texture) override
    {
        log->push_back("Bar(" + Rect(x1, y1, x2, y2) + "," + zebtest::Colour(colour) + "," +
                       textures.Of(texture) + ")");
    }
    void BltTexture(int x, int y, void* texture) override
    {
        log->push_back("BltTexture(" + std::to_string(x) + "," + std::to_string(y) + "," +
                       textures.Of(texture) + ")");
    }
    void DrawUITexture(int x1, int y1, int x2, int y2, bool sunken, void* texture) override
    {
        log->push_back("DrawUITexture(" + Rect(x1, y1, x2, y2) + "," +
                       (sunken ? "sunken" : "raised") + "," + textures.Of(texture) + ")");
    }
    void UpdateScreen() override { log->push_back("UpdateScreen"); }
    void BeginScene() override { log->push_back("BeginScene"); }
    void EndScene() override { log->push_back("EndScene"); }
    ~RecordingGraph() override { log->push_back("~RecordingGraph"); }

    DrawLog* log;
    zebtest::PointerNames textures;

private:
    static std::string Rect(int x1, int y1, int x2, int y2)
    {
        return std::to_string(x1) + "," + std::to_string(y1) + "," + std::to_string(x2) + "," +
               std::to_string(y2);
    }
};

#endif
