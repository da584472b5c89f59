// Internal: the one audio output of the process, SDL2_mixer on SDL's audio driver.
// Performances open and close it (counted); the primary segment plays on channel 0.
#ifndef VEXA_PLATFORM_DMUSIC_AUDIO_OUTPUT_H
#define VEXA_PLATFORM_DMUSIC_AUDIO_OUTPUT_H

struct Mix_Chunk;

namespace vexa::platform::dmusic {

// Opens the output for one more user; false (and nothing held) without an audio device.
bool OpenAudioOutput();
// Drops one user; the last one stops every channel and closes the output.
void CloseAudioOutput();
bool AudioOutputOpen();

// A chunk of the output's format from a RIFF WAVE file in memory; null when the output is
// closed or the data is not a wave the mixer can read.
Mix_Chunk* DecodeWave(const void* bytes, int size);
void FreeChunk(Mix_Chunk* chunk);

// Cuts what the primary channel plays and starts chunk there.
bool PlayPrimary(Mix_Chunk* chunk);
void StopAll();

}  // namespace vexa::platform::dmusic

#endif
