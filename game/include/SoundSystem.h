// CSoundSystem: the game's six sound effects on a DirectMusic loader and performance.
// One effect sounds at a time: a new one cuts the one still sounding, and a request
// within 0.01 s of the last start is dropped. No audio device is not an error: the
// effects still load and the game runs silent.
#ifndef VEXA_SOUNDSYSTEM_H
#define VEXA_SOUNDSYSTEM_H

#include "BoardSeams.h"

#include <dmusici.h>

// Seconds of fTime that must pass between two starts.
#define SOUND_SPACING 0.01f

class CSoundSystem {
public:
    IDirectMusicLoader8* loader;
    IDirectMusicPerformance8* performance;
    float lastPlayTime;  // fTime of the last start

    CSoundSystem();
    ~CSoundSystem();

    // The loader and the performance with its audio; lastPlayTime = fTime. Their failures
    // leave a silent system (traced once).
    void Create();
    // The search directory becomes kvPath + subFolder.
    void SetFolder(const char* subFolder);
    // Loads a wave file of the search directory into *slot; raises "Failed to load sound
    // or music." (type 1) when it cannot.
    void Load(IDirectMusicSegment8** slot, const char* fileName);
    void Play(IDirectMusicSegment8* segment);
    void Unload(IDirectMusicSegment8** slot);
    // Stops, unloads the six slots, closes down and releases; deletes this object and
    // nulls MySoundSystem.
    void Shutdown();

    CSoundSystem(const CSoundSystem&) = delete;
    CSoundSystem& operator=(const CSoundSystem&) = delete;
};

// The program's sound system; null before start-up and after shut-down.
extern CSoundSystem* MySoundSystem;

// The six effect slots.
extern IDirectMusicSegment8* SoundLink;
extern IDirectMusicSegment8* SoundClick;
extern IDirectMusicSegment8* SoundMove;
extern IDirectMusicSegment8* SoundVictory;
extern IDirectMusicSegment8* SoundHint;
extern IDirectMusicSegment8* SoundShuffle;

// Start-up, the last step of the application's Init: creates MySoundSystem, points the
// loader at the program directory's "GUI\Sound\" and loads the six effects (link, click,
// move, victory, hint, shuffle). kvPath is left empty.
void StartSound();
// Shut-down from the application's destructor; nothing when sound never started.
void StopSound();

// The board's sound seam: its sounds go to the slots of MySoundSystem.
class CBoardSound : public IBoardSound {
public:
    void Play(BoardSound sound) override;
};

#endif
