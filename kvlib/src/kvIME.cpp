// The input-method hook's default object and the switch of the window's input context.
// Invariant: while the switch is off, savedContext is what ImmGetContext gave before the
// detach (possibly null); while it is on, the window has its context attached.
#include "kvIME.h"

#include "kvApplication.h"

#include <imm.h>

// {C1997063-F14F-41AE-88AE-8D7C4989D847}
const GUID KVIME_DEFAULT_ID = {0xC1997063, 0xF14F, 0x41AE,
                               {0x88, 0xAE, 0x8D, 0x7C, 0x49, 0x89, 0xD8, 0x47}};

kvIMEInterface* kvimei = nullptr;
bool bIMEOn = false;

namespace {
bool attached = true;
HIMC savedContext = nullptr;
}  // namespace

kvIMEInterface::kvIMEInterface()
    : ClassId{}, bComposing(false), Property(ImmGetProperty(GetKeyboardLayout(0), IGP_PROPERTY))
{
}

bool kvIMEInterface::Composition(unsigned, LONG)
{
    return true;
}
void kvIMEInterface::StartComposition(unsigned, LONG) {}
void kvIMEInterface::EndComposition(unsigned, LONG) {}
void kvIMEInterface::GetCandidate() {}
void kvIMEInterface::CloseCandidate() {}
void kvIMEInterface::SetCandidatePos(int, int) {}

void kvIMEInterface::FinishComposition()
{
    HIMC context = ImmGetContext(hWnd);
    if (context) {
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
        ImmSetOpenStatus(context, FALSE);
        ImmReleaseContext(hWnd, context);
    }
    kvEnableIME(false);
}

kvIMEInterface::~kvIMEInterface()
{
    if (kvimei == this)
        kvimei = nullptr;
}

void kvEnableIME(bool on)
{
    if (on && !attached) {
        if (savedContext) {
            ImmAssociateContext(hWnd, savedContext);
            ImmReleaseContext(hWnd, savedContext);
        }
        SetFocus(hWnd);
        attached = true;
    } else if (!on && attached) {
        savedContext = ImmGetContext(hWnd);
        if (savedContext) {
            ImmAssociateContext(hWnd, nullptr);
            ImmReleaseContext(hWnd, savedContext);
        }
        SetFocus(hWnd);
        attached = false;
    }
}

bool kvGetIMEStatus()
{
    return bIMEOn;
}

namespace kvlib {
void ResetIMESwitch()
{
    attached = true;
    savedContext = nullptr;
}
}  // namespace kvlib
