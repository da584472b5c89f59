// Fuzz target: arbitrary bytes as a .obj model loaded into a real device. Every refusal
// must be an engine exception; a crash, a sanitizer report or a hang is a fault. A model
// that loads must index only its own vertices.
#include "mesh_fuzz_device.h"

#include <MeshModel.h>
#include <kvException.h>

extern "C" const char* MeshFuzzSeed()
{
    return "# tile\nv -0.5 -0.5 0\nv -0.5 0.5 0\nV 0.5 0.5 0\nv 0.5 -0.5 0\n"
           "f 1 2 3\nF -4 -2 -1\nvn 0 0 -1\n\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    meshfuzz::EnsureDevice();
    meshfuzz::WriteScratch("m.obj", data, size);
    CMeshModel model;
    try {
        model.Load("m.obj");
        void* indices = nullptr;
        if (SUCCEEDED(model.mesh->LockIndexBuffer(D3DLOCK_READONLY, &indices))) {
            for (DWORD i = 0; i < model.faceCount * 3; ++i)
                if (static_cast<const DWORD*>(indices)[i] >= model.vertexCount)
                    abort();
            model.mesh->UnlockIndexBuffer();
        }
        model.Render(false);
    } catch (kvException* e) {
        DeleteException(e);
    }
    return 0;
}
