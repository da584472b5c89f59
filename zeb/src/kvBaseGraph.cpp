// The do-nothing drawing interface and its global.
#include "kvBaseGraph.h"

kvBaseGraph* pbg = nullptr;

kvBaseGraph::kvBaseGraph() = default;
void kvBaseGraph::ClearScreen(DWORD) {}
void kvBaseGraph::Bar(int, int, int, int, DWORD, void*) {}
void kvBaseGraph::BltTexture(int, int, void*) {}
void kvBaseGraph::DrawUITexture(int, int, int, int, bool, void*) {}
void kvBaseGraph::UpdateScreen() {}
void kvBaseGraph::BeginScene() {}
void kvBaseGraph::EndScene() {}
kvBaseGraph::~kvBaseGraph() = default;
