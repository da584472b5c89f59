// kvResource: device-dependent objects loaded and released as one group, the abstract
// graphics backend kvGraphInterface, and the lifecycle of the application's, the
// graphics' and the input's objects (start, device restore, release).
#ifndef KVLIB_KVRESOURCE_H
#define KVLIB_KVRESOURCE_H

#include <windows.h>

// A resource that lives in device memory: Load creates it, Release destroys it, GetPtr
// hands out the device object (null when not loaded).
class kvResource {
public:
    virtual ~kvResource();
    virtual void Load();
    virtual void Release();
    virtual void* GetPtr();
};

// The graphics backend. Invariant: the class identifier follows the table pointer; each
// implementation sets it.
class kvGraphInterface {
public:
    GUID ClassId;

    // True only when the device was lost and can now be reset.
    virtual bool TestLost() = 0;
    // Creates the device; called once by kvInitObjects.
    virtual void Init() = 0;
    // Resets the device for a new back-buffer size.
    virtual void Resize(DWORD width, DWORD height) = 0;
    virtual void ResetForSizing(bool sizing) = 0;
    // Resets a lost device.
    virtual void RestoreGraph() = 0;
    // Presents the frame.
    virtual void UpdateScreen() = 0;
    // Restricts drawing to a GUI view; null for the whole screen.
    virtual void SetView(void* view) = 0;
    virtual void Release();
    virtual ~kvGraphInterface();

    // Stores this object in kvgi; an implementation's constructor calls it.
    void InstallSelf();
};

// The installed graphics backend; null until one calls InstallSelf.
extern kvGraphInterface* kvgi;

// Adds the resource at the front of the registry; the registry never owns it, so it must
// stay alive until ReleaseKV. Registering it twice lists it twice.
void kvrReg(kvResource* resource);
// Empties kvPath (resources keep full names), then loads every resource, newest first.
void kvResourceLoad();
// Releases every resource, newest first.
void kvResourceRelease();

// First step of every main loop: detaches the IME, starts the graphics and the input,
// runs the application's Init and LoadObjs and installs the default IME object when the
// program brought none. Throws "Missing application object." without an application.
void kvInitObjects();
// Deletes the default IME object, the application (after its DestroyObjs), the graphics
// and the input objects; their globals are null afterwards. Safe to call again.
void kvReleaseObjects();
// On activation: when the device was lost and can be reset, rebuilds the application's
// device objects around the reset.
void kvRestoreObjects();

namespace kvlib {
// A frame in progress: the application's MainLoop and the present, run by a main loop or
// by a background paint. While one runs, a release (window destroyed, exception caught in
// a nested message) waits for its end, so the frame never runs on deleted objects.
class FrameScope {
public:
    FrameScope();
    ~FrameScope();
    FrameScope(const FrameScope&) = delete;
    FrameScope& operator=(const FrameScope&) = delete;
};
// kvReleaseObjects now, or at the end of the frame in progress.
void ReleaseObjectsWhenSafe();
// The application's LoadObjs and DestroyObjs, paired: DestroyObjs runs only for objects a
// LoadObjs made (also one that failed halfway), never twice in a row.
void LoadAppObjects();
void DestroyAppObjects();

// The registry is created by InitKV and destroyed by ReleaseKV (its nodes only).
void CreateRegistry();
void DestroyRegistry();
// Number of registry entries, for the tests and the debug log.
int RegistryCount();
}  // namespace kvlib

#endif
