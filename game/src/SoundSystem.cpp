// CSoundSystem, its slots, start-up and shut-down, and the board's sound seam.
#include "SoundSystem.h"

#include <kvApplication.h>
#include <kvException.h>
#include <kvSystem.h>
#include <kvTrace.h>

#include <cstdio>

CSoundSystem* MySoundSystem = nullptr;
IDirectMusicSegment8* SoundLink = nullptr;
IDirectMusicSegment8* SoundClick = nullptr;
IDirectMusicSegment8* SoundMove = nullptr;
IDirectMusicSegment8* SoundVictory = nullptr;
IDirectMusicSegment8* SoundHint = nullptr;
IDirectMusicSegment8* SoundShuffle = nullptr;

namespace {

const int kMaxPath = 260;

// Table order: loading and unloading both walk it.
struct SoundFile {
    IDirectMusicSegment8** slot;
    const char* name;
};
const SoundFile kSounds[] = {
    {&SoundLink, "link.wav"},       {&SoundClick, "click.wav"}, {&SoundMove, "move.wav"},
    {&SoundVictory, "victory.wav"}, {&SoundHint, "hint.wav"},   {&SoundShuffle, "shuffle.wav"},
};

// ANSI (code page 936) to UTF-16, cut to the path limit.
bool Widen(const char* text, WCHAR (&out)[kMaxPath])
{
    out[0] = 0;
    const int n = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, out, kMaxPath);
    out[kMaxPath - 1] = 0;
    return n > 0;
}

}  // namespace

CSoundSystem::CSoundSystem() : loader(nullptr), performance(nullptr), lastPlayTime(0.0f) {}

CSoundSystem::~CSoundSystem()
{
    if (performance)
        performance->Release();
    if (loader)
        loader->Release();
}

void CSoundSystem::Create()
{
    CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                     reinterpret_cast<void**>(&loader));
    CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC,
                     IID_IDirectMusicPerformance8, reinterpret_cast<void**>(&performance));
    HRESULT audio = E_FAIL;
    if (performance)
        audio = performance->InitAudio(nullptr, nullptr, nullptr,
                                       DMUS_APATH_SHARED_STEREOPLUSREVERB, 64, DMUS_AUDIOF_ALL,
                                       nullptr);
    if (FAILED(audio))
        Trace("No audio device: the game runs without sound.");
    lastPlayTime = fTime;
}

void CSoundSystem::SetFolder(const char* subFolder)
{
    char folder[kMaxPath];
    std::snprintf(folder, sizeof folder, "%s%s", kvPath, subFolder ? subFolder : "");
    WCHAR wide[kMaxPath];
    if (loader && Widen(folder, wide))
        loader->SetSearchDirectory(GUID_DirectMusicAllTypes, wide, FALSE);
}

void CSoundSystem::Load(IDirectMusicSegment8** slot, const char* fileName)
{
    WCHAR wide[kMaxPath];
    IDirectMusicSegment8* segment = nullptr;
    if (!loader || !fileName || !Widen(fileName, wide) ||
        FAILED(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8,
                                          wide, reinterpret_cast<void**>(&segment))) ||
        !segment)
        NewException("Failed to load sound or music.", KVEXCEPTION_DATAFILE);
    // A slot loaded twice would leak its first segment.
    Unload(slot);
    *slot = segment;
}

void CSoundSystem::Play(IDirectMusicSegment8* segment)
{
    if (!segment || !(fTime - lastPlayTime > SOUND_SPACING))
        return;
    if (performance) {
        segment->Download(performance);
        performance->PlaySegmentEx(segment, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr);
    }
    lastPlayTime = fTime;
}

void CSoundSystem::Unload(IDirectMusicSegment8** slot)
{
    if (!slot || !*slot)
        return;
    if (performance)
        (*slot)->Unload(performance);
    (*slot)->Release();
    *slot = nullptr;
}

void CSoundSystem::Shutdown()
{
    if (performance)
        performance->Stop(nullptr, nullptr, 0, 0);
    for (const SoundFile& s : kSounds)
        Unload(s.slot);
    if (performance)
        performance->CloseDown();
    if (MySoundSystem == this)
        MySoundSystem = nullptr;
    delete this;  // releases the loader and the performance
}

void StartSound()
{
    if (MySoundSystem)
        return;
    MySoundSystem = new CSoundSystem;
    MySoundSystem->Create();
    GetComspec(nullptr);
    InitFileLoader(kvPath, "GUI\\Sound\\");
    MySoundSystem->SetFolder("");
    kvPath[0] = '\0';
    for (const SoundFile& s : kSounds)
        MySoundSystem->Load(s.slot, s.name);
}

void StopSound()
{
    if (MySoundSystem)
        MySoundSystem->Shutdown();
}

void CBoardSound::Play(BoardSound sound)
{
    if (!MySoundSystem || sound < SOUND_LINK || sound > SOUND_SHUFFLE)
        return;
    MySoundSystem->Play(*kSounds[sound].slot);
}
