// dmusici.h: the DirectMusic performance layer, the subset the game plays its sound
// effects with: the loader (wave files from a search directory), the performance
// (audio start-up, the primary segment, stop, close-down) and the segment (download
// to and unload from a performance). Objects are made with CoCreateInstance.
#ifndef VEXA_PLATFORM_DMUSICI_H
#define VEXA_PLATFORM_DMUSICI_H

#include <objbase.h>

typedef long MUSIC_TIME;
typedef int64_t REFERENCE_TIME;

struct IDirectMusic;
struct IDirectSound;
struct IDirectMusicSegmentState;
struct DMUS_AUDIOPARAMS;

#define DMUS_APATH_SHARED_STEREOPLUSREVERB 1
#define DMUS_APATH_DYNAMIC_3D 6
#define DMUS_APATH_DYNAMIC_MONO 7
#define DMUS_APATH_DYNAMIC_STEREO 8

#define DMUS_AUDIOF_3D 0x1
#define DMUS_AUDIOF_ENVIRON 0x2
#define DMUS_AUDIOF_EAX 0x4
#define DMUS_AUDIOF_DMOS 0x8
#define DMUS_AUDIOF_STREAMING 0x10
#define DMUS_AUDIOF_BUFFERS 0x20
#define DMUS_AUDIOF_ALL 0x3F

// Result codes: FACILITY_DIRECTMUSIC (0x878) as the SDK numbers them.
#define DMUS_E_NOT_INIT ((HRESULT)0x88781205L)
#define DMUS_E_LOADER_FAILEDOPEN ((HRESULT)0x88781190L)
#define DMUS_E_LOADER_FORMATNOTSUPPORTED ((HRESULT)0x887811A0L)
#define DMUS_E_NOT_DOWNLOADED_TO_PORT ((HRESULT)0x88781224L)
#define DMUS_E_ALREADY_INITED ((HRESULT)0x88781201L)
#define DSERR_NODRIVER ((HRESULT)0x88780078L)
#define DMUS_S_PARTIALLOAD ((HRESULT)0x08781091L)

DEFINE_GUID(CLSID_DirectMusicLoader, 0xD2AC2892, 0xB39B, 0x11D1, 0x87, 0x04, 0x00, 0x60, 0x08,
            0x93, 0xB1, 0xBD);
DEFINE_GUID(CLSID_DirectMusicPerformance, 0xD2AC2881, 0xB39B, 0x11D1, 0x87, 0x04, 0x00, 0x60,
            0x08, 0x93, 0xB1, 0xBD);
DEFINE_GUID(CLSID_DirectMusicSegment, 0xD2AC2882, 0xB39B, 0x11D1, 0x87, 0x04, 0x00, 0x60, 0x08,
            0x93, 0xB1, 0xBD);
DEFINE_GUID(GUID_DirectMusicAllTypes, 0xD2AC2893, 0xB39B, 0x11D1, 0x87, 0x04, 0x00, 0x60, 0x08,
            0x93, 0xB1, 0xBD);
DEFINE_GUID(IID_IDirectMusicLoader8, 0x19E7C08C, 0x0A44, 0x4E6A, 0xA1, 0x16, 0x59, 0x5A, 0x7C,
            0xD5, 0xDE, 0x8C);
DEFINE_GUID(IID_IDirectMusicPerformance8, 0x679C4137, 0xC62E, 0x4147, 0xB2, 0xB4, 0x9D, 0x56,
            0x9A, 0xCB, 0x25, 0x4C);
DEFINE_GUID(IID_IDirectMusicSegment8, 0xC6784488, 0x41A3, 0x418F, 0xAA, 0x15, 0xB3, 0x50, 0x93,
            0xBA, 0x42, 0xD4);

struct IDirectMusicSegment8 : public IUnknown {
    // Makes the segment's waves playable on the performance (or audio path) given.
    STDMETHOD(Download)(IUnknown* pAudioPath) PURE;
    STDMETHOD(Unload)(IUnknown* pAudioPath) PURE;
};
typedef IDirectMusicSegment8 IDirectMusicSegment;

struct IDirectMusicLoader8 : public IUnknown {
    // Sets where relative file names are looked for; the class of objects is one of the
    // CLSIDs above or GUID_DirectMusicAllTypes.
    STDMETHOD(SetSearchDirectory)(REFGUID rguidClass, WCHAR* pwzPath, BOOL fClear) PURE;
    // Loads a wave file (RIFF WAVE, PCM) as a segment.
    STDMETHOD(LoadObjectFromFile)(REFGUID rguidClassID, REFIID iidInterfaceID,
                                  WCHAR* pwzFilePath, void** ppObject) PURE;
};

struct IDirectMusicPerformance8 : public IUnknown {
    // Opens the audio output. Without an audio device it answers DSERR_NODRIVER and the
    // performance stays silent: downloads and plays then fail with DMUS_E_NOT_INIT.
    STDMETHOD(InitAudio)(IDirectMusic** ppDirectMusic, IDirectSound** ppDirectSound, HWND hWnd,
                         DWORD dwDefaultPathType, DWORD dwPChannelCount, DWORD dwFlags,
                         DMUS_AUDIOPARAMS* pParams) PURE;
    // Plays a downloaded segment. Flags 0: it becomes the primary segment and cuts the
    // primary segment still sounding. Secondary and queued play are not offered.
    STDMETHOD(PlaySegmentEx)(IUnknown* pSource, WCHAR* pwzSegmentName, IUnknown* pTransition,
                             DWORD dwFlags, int64_t i64StartTime,
                             IDirectMusicSegmentState** ppSegmentState, IUnknown* pFrom,
                             IUnknown* pAudioPath) PURE;
    // With a null segment and state, stops everything at once.
    STDMETHOD(Stop)(IDirectMusicSegment* pSegment, IDirectMusicSegmentState* pSegmentState,
                    MUSIC_TIME mtTime, DWORD dwFlags) PURE;
    STDMETHOD(CloseDown)() PURE;
};

#define DMUS_SEGF_REFTIME (1 << 6)
#define DMUS_SEGF_SECONDARY (1 << 7)
#define DMUS_SEGF_QUEUE (1 << 8)

#endif
