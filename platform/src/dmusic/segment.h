// Internal: a segment made from one wave file. The file's bytes are kept from the load;
// Download decodes them for the performance's output, Unload drops the decoded samples.
#ifndef VEXA_PLATFORM_DMUSIC_SEGMENT_H
#define VEXA_PLATFORM_DMUSIC_SEGMENT_H

#include "com_object.h"

#include <cstdint>
#include <vector>

struct Mix_Chunk;

namespace vexa::platform::dmusic {

class Segment : public ComObject<IDirectMusicSegment8> {
public:
    // Pre: wave holds a RIFF WAVE file that ReadsAsWave accepted.
    explicit Segment(std::vector<uint8_t> wave);
    ~Segment() override;

    HRESULT STDMETHODCALLTYPE Download(IUnknown* pAudioPath) override;
    HRESULT STDMETHODCALLTYPE Unload(IUnknown* pAudioPath) override;

    Mix_Chunk* Chunk() const { return chunk_; }

    // True when bytes are a PCM wave SDL can read, whether or not audio is open.
    static bool ReadsAsWave(const std::vector<uint8_t>& bytes);

private:
    std::vector<uint8_t> wave_;
    Mix_Chunk* chunk_ = nullptr;
};

// The layer's segment behind an interface, or null for anything else.
Segment* AsSegment(IUnknown* object);

}  // namespace vexa::platform::dmusic

#endif
