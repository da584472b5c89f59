// The performance: audio start-up and close-down, and one primary segment at a time.
// Audio paths, channels, tempo and music time are not modelled: a segment starts as soon
// as it is played, and a new primary segment cuts the one sounding.
#include "audio_output.h"
#include "segment.h"

namespace vexa::platform::dmusic {

namespace {

class Performance : public ComObject<IDirectMusicPerformance8> {
public:
    Performance() : ComObject(IID_IDirectMusicPerformance8) {}
    ~Performance() override { CloseDown(); }

    HRESULT STDMETHODCALLTYPE InitAudio(IDirectMusic** ppDirectMusic,
                                        IDirectSound** ppDirectSound, HWND, DWORD, DWORD,
                                        DWORD, DMUS_AUDIOPARAMS*) override
    {
        // The DirectMusic and DirectSound objects behind the performance are not offered.
        if (ppDirectMusic)
            *ppDirectMusic = nullptr;
        if (ppDirectSound)
            *ppDirectSound = nullptr;
        if (open_)
            return DMUS_E_ALREADY_INITED;
        open_ = OpenAudioOutput();
        return open_ ? S_OK : DSERR_NODRIVER;
    }

    HRESULT STDMETHODCALLTYPE PlaySegmentEx(IUnknown* pSource, WCHAR*, IUnknown*, DWORD dwFlags,
                                            int64_t, IDirectMusicSegmentState** ppSegmentState,
                                            IUnknown*, IUnknown*) override
    {
        if (ppSegmentState)
            *ppSegmentState = nullptr;
        Segment* segment = AsSegment(pSource);
        if (!segment)
            return E_POINTER;
        if (dwFlags & (DMUS_SEGF_SECONDARY | DMUS_SEGF_QUEUE))
            return E_INVALIDARG;
        if (!open_)
            return DMUS_E_NOT_INIT;
        if (!segment->Chunk())
            return DMUS_E_NOT_DOWNLOADED_TO_PORT;
        return PlayPrimary(segment->Chunk()) ? S_OK : E_FAIL;
    }

    HRESULT STDMETHODCALLTYPE Stop(IDirectMusicSegment*, IDirectMusicSegmentState*, MUSIC_TIME,
                                   DWORD) override
    {
        if (open_)
            StopAll();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE CloseDown() override
    {
        if (open_)
            CloseAudioOutput();
        open_ = false;
        return S_OK;
    }

private:
    bool open_ = false;
};

}  // namespace

IUnknown* NewPerformance()
{
    return new Performance;
}

}  // namespace vexa::platform::dmusic
