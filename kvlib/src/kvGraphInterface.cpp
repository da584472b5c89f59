// The graphics backend's base: the installed object and the slots with a base body.
#include "kvResource.h"

kvGraphInterface* kvgi = nullptr;

bool kvGraphInterface::TestLost()
{
    return false;
}

void kvGraphInterface::Release() {}

kvGraphInterface::~kvGraphInterface()
{
    // A backend deleted by its owner must not stay reachable through kvgi.
    if (kvgi == this)
        kvgi = nullptr;
}

void kvGraphInterface::InstallSelf()
{
    kvgi = this;
}
