// The lifecycle of the application's, the graphics' and the input's objects: started by
// every main loop, rebuilt around a device reset, released at the end or on an exception.
#include "kvResource.h"

#include "kvApplication.h"
#include "kvException.h"
#include "kvIME.h"
#include "kvInput.h"
#include "kvTrace.h"

namespace {
int frameDepth = 0;
bool releasePending = false;
bool appObjectsLoaded = false;
}  // namespace

namespace kvlib {
FrameScope::FrameScope()
{
    ++frameDepth;
}

FrameScope::~FrameScope()
{
    if (--frameDepth == 0 && releasePending) {
        releasePending = false;
        try {
            kvReleaseObjects();
        } catch (kvException* e) {
            CatchException(e);
        }
    }
}

void ReleaseObjectsWhenSafe()
{
    if (frameDepth > 0)
        releasePending = true;
    else
        kvReleaseObjects();
}

void LoadAppObjects()
{
    if (!kvApp)
        return;
    appObjectsLoaded = true;
    kvApp->LoadObjs();
}

void DestroyAppObjects()
{
    if (!kvApp || !appObjectsLoaded)
        return;
    appObjectsLoaded = false;
    kvApp->DestroyObjs();
}
}  // namespace kvlib

void kvInitObjects()
{
    kvEnableIME(false);
    // Without a backend the loop would fail on its first frame; say so now instead.
    if (!kvgi)
        NewException("Missing graphic system.", KVEXCEPTION_GENERAL);
    kvgi->Init();
    Trace("Graphic system initialized.");
    if (!kvii)
        NewException("Missing input system.", KVEXCEPTION_GENERAL);
    kvii->Init();
    Trace("Input system initialized.");
    if (!kvApp)
        NewException("Missing application object.", KVEXCEPTION_GENERAL);
    kvApp->Init();
    kvlib::LoadAppObjects();
    Trace("App objects loaded.");
    Trace("Initialization done.\n");
    if (!kvimei) {
        kvimei = new kvIMEInterface;
        kvimei->ClassId = KVIME_DEFAULT_ID;
    }
}

void kvReleaseObjects()
{
    bQuit = false;
    if (kvimei && kvimei->ClassId == KVIME_DEFAULT_ID) {
        delete kvimei;
        kvimei = nullptr;
    }
    // A DestroyObjs that fails must not keep the rest from being released; its exception
    // goes on once everything is gone.
    kvException* failure = nullptr;
    if (kvApp) {
        try {
            kvlib::DestroyAppObjects();
        } catch (kvException* e) {
            failure = e;
        }
        kvApplication* app = kvApp;
        kvApp = nullptr;
        delete app;
    }
    Trace("App object deleted.");
    if (kvgi) {
        kvGraphInterface* graph = kvgi;
        kvgi = nullptr;
        delete graph;
    }
    Trace("Graphic system released.");
    if (kvii) {
        kvInputInterface* input = kvii;
        kvii = nullptr;
        delete input;
    }
    Trace("Input system released.");
    if (failure)
        throw failure;
}

void kvRestoreObjects()
{
    if (!kvgi || !kvgi->TestLost())
        return;
    Trace("Restoring objects...");
    kvlib::DestroyAppObjects();
    Trace("Objects destroyed for restore.");
    kvgi->RestoreGraph();
    kvlib::LoadAppObjects();
    Trace("Objects loaded for restore.");
    Trace("Objects successfully restored.\n");
}
