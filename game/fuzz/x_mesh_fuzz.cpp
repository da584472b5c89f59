// Fuzz target: arbitrary bytes as a .x model, through both loaders of CMeshModel into a
// real device. Every refusal must be an engine exception; a crash, a sanitizer report or
// a hang is a fault. A model that loads is drawn.
#include "mesh_fuzz_device.h"

#include <MeshModel.h>
#include <kvException.h>

extern "C" const char* MeshFuzzSeed()
{
    return "xof 0303txt 0032\n"
           "Material M { 1.0;0.5;0.5;0.0;; 2.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; "
           "TextureFilename { \"t.bmp\"; } }\n"
           "Frame F { FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, "
           "0.5,0.0,0.0,1.0;; }\n"
           " Mesh Q { 4; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;0.0;0.0;;\n"
           "  2; 3;0,1,2;, 4;0,2,3,1;;\n"
           "  MeshNormals { 1; 0.0;0.0;-1.0;; 2; 3;0,0,0;, 4;0,0,0,0;; }\n"
           "  MeshMaterialList { 2; 2; 0, 1;; {M} Material { 0.0;0.0;1.0;1.0;; 1.0; "
           "0.0;0.0;0.0;; 0.0;0.0;0.0;; } }\n"
           "  MeshTextureCoords { 4; 0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;; } } }\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    meshfuzz::EnsureDevice();
    meshfuzz::WriteScratch("m.x", data, size);
    CMeshModel model;
    try {
        model.Load("m.x");
        model.Render(false);
    } catch (kvException* e) {
        DeleteException(e);
    }
    return 0;
}
