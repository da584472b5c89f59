// Segments: the wave is checked when loaded, so a bad file fails at the loader and not
// at the first play; decoding waits for a performance with an open output.
#include "segment.h"

#include "audio_output.h"

#include <SDL.h>

namespace vexa::platform::dmusic {

Segment::Segment(std::vector<uint8_t> wave)
    : ComObject(IID_IDirectMusicSegment8), wave_(std::move(wave))
{
}

Segment::~Segment()
{
    FreeChunk(chunk_);
}

HRESULT Segment::Download(IUnknown*)
{
    if (chunk_)
        return S_OK;
    if (!AudioOutputOpen())
        return DMUS_E_NOT_INIT;
    chunk_ = DecodeWave(wave_.data(), int(wave_.size()));
    return chunk_ ? S_OK : DMUS_E_LOADER_FORMATNOTSUPPORTED;
}

HRESULT Segment::Unload(IUnknown*)
{
    FreeChunk(chunk_);
    chunk_ = nullptr;
    return S_OK;
}

bool Segment::ReadsAsWave(const std::vector<uint8_t>& bytes)
{
    if (bytes.empty() || bytes.size() > size_t(INT32_MAX))
        return false;
    SDL_RWops* in = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!in)
        return false;
    SDL_AudioSpec format;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(in, 1, &format, &samples, &length))
        return false;
    SDL_FreeWAV(samples);
    return true;
}

Segment* AsSegment(IUnknown* object)
{
    return dynamic_cast<Segment*>(object);
}

}  // namespace vexa::platform::dmusic
