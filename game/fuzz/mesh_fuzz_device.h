// Fuzz support: one window of SDL's offscreen driver with a kvD3D on it for the whole
// process, so the mesh and picture targets load into a real device, and a scratch folder kvPath
// points at, removed when the process ends.
#ifndef VEXA_GAME_FUZZ_MESH_FUZZ_DEVICE_H
#define VEXA_GAME_FUZZ_MESH_FUZZ_DEVICE_H

#include <KvD3D9.h>
#include <KvLib.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace meshfuzz {

inline std::string& Folder()
{
    static std::string folder;
    return folder;
}

inline void RemoveScratch()
{
    for (const char* name : {"m.obj", "m.x", "i.img"})
        remove((Folder() + name).c_str());
    remove(Folder().c_str());
}

// Starts the device once; afterwards kvPath names the scratch folder.
inline void EnsureDevice()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char pattern[] = "/tmp/vexa_mesh_fuzz_XXXXXX";
    Folder() = std::string(mkdtemp(pattern)) + "/";
    atexit(RemoveScratch);
    static char className[] = "VexaMeshFuzz";
    static char caption[] = "mesh fuzz";
    bWindowed = true;
    kvCreateWindow(className, caption, SW_SHOW, nullptr, 64, 64, KVWIN_WINDOWED | KVWIN_FIXEDSIZE);
    (new kvD3D(0, 0, false))->Init();
    snprintf(kvPath, sizeof kvPath, "%s", Folder().c_str());
}

inline void WriteScratch(const char* name, const uint8_t* data, size_t size)
{
    FILE* f = fopen((Folder() + name).c_str(), "wb");
    if (!f)
        return;
    if (size)
        fwrite(data, 1, size, f);
    fclose(f);
}

}  // namespace meshfuzz

#endif
