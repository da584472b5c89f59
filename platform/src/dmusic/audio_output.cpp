// The audio output over SDL2_mixer: 44.1 kHz, 16-bit stereo. SDL's "disk" driver writes
// the mix to a file and "dummy" discards it; both count as a device here.
#include "audio_output.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace vexa::platform::dmusic {

namespace {
int users = 0;
const int kPrimaryChannel = 0;
}  // namespace

bool OpenAudioOutput()
{
    if (users > 0) {
        ++users;
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    users = 1;
    return true;
}

void CloseAudioOutput()
{
    if (users == 0 || --users > 0)
        return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AudioOutputOpen()
{
    return users > 0;
}

Mix_Chunk* DecodeWave(const void* bytes, int size)
{
    if (users == 0 || !bytes || size <= 0)
        return nullptr;
    SDL_RWops* in = SDL_RWFromConstMem(bytes, size);
    return in ? Mix_LoadWAV_RW(in, 1) : nullptr;
}

void FreeChunk(Mix_Chunk* chunk)
{
    if (chunk)
        Mix_FreeChunk(chunk);
}

bool PlayPrimary(Mix_Chunk* chunk)
{
    if (users == 0 || !chunk)
        return false;
    Mix_HaltChannel(kPrimaryChannel);
    return Mix_PlayChannel(kPrimaryChannel, chunk, 0) == kPrimaryChannel;
}

void StopAll()
{
    if (users > 0)
        Mix_HaltChannel(-1);
}

}  // namespace vexa::platform::dmusic
