// kvIME: the hook through which input-method composition reaches the GUI, its do-nothing
// default, and the switch that attaches or detaches the window's input context.
#ifndef KVLIB_KVIME_H
#define KVLIB_KVIME_H

#include <windows.h>

// The identifier of the default object, which the runtime creates and deletes itself.
// {C1997063-F14F-41AE-88AE-8D7C4989D847}
extern const GUID KVIME_DEFAULT_ID;

// Invariant: the class identifier follows the table pointer. The constructor zeroes it;
// the runtime gives the object it creates itself the default identifier, and a derived
// input method sets its own, so the runtime deletes exactly the object it made.
class kvIMEInterface {
public:
    GUID ClassId;
    // A composition is in progress; the runtime never changes it.
    bool bComposing;
    // The input method's property flags (IGP_PROPERTY) of the keyboard layout.
    DWORD Property;

    kvIMEInterface();

    // Returns false when the system should draw the composition itself.
    virtual bool Composition(unsigned wParam, LONG lParam);
    virtual void StartComposition(unsigned wParam, LONG lParam);
    virtual void EndComposition(unsigned wParam, LONG lParam);
    virtual void GetCandidate();
    virtual void CloseCandidate();
    virtual void SetCandidatePos(int x, int y);
    // Cancels the composition, closes the input method and detaches the context.
    virtual void FinishComposition();
    virtual ~kvIMEInterface();
};

extern kvIMEInterface* kvimei;
// Reported by kvGetIMEStatus; the runtime never writes it.
extern bool bIMEOn;

// Attaches (true) or detaches (false) the window's input context; repeated calls with the
// same value change nothing.
void kvEnableIME(bool on);
bool kvGetIMEStatus();

namespace kvlib {
// Back to the state at load (context attached, nothing saved), for a new window.
void ResetIMESwitch();
}

#endif
