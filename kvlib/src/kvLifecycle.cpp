// The lifecycle of the application's, the graphics' and the input's objects: started by
// every main loop, rebuilt around a device reset, released at the end or on an exception.
#include "kvResource.h"

#include "kvApplication.h"
#include "kvException.h"
#include "kvIME.h"
#include "kvInput.h"
#include "kvTrace.h"

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
    kvApp->LoadObjs();
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
    if (kvApp) {
        // Cleared first, so a DestroyObjs that throws cannot bring us back to a half-gone
        // application through CatchException.
        kvApplication* app = kvApp;
        kvApp = nullptr;
        app->DestroyObjs();
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
}

void kvRestoreObjects()
{
    if (!kvgi || !kvgi->TestLost())
        return;
    Trace("Restoring objects...");
    if (kvApp)
        kvApp->DestroyObjs();
    Trace("Objects destroyed for restore.");
    kvgi->RestoreGraph();
    if (kvApp)
        kvApp->LoadObjs();
    Trace("Objects loaded for restore.");
    Trace("Objects successfully restored.\n");
}
