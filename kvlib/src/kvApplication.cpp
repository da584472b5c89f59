// The application base class: every operation does nothing until a program overrides it.
#include "kvApplication.h"

void kvApplication::Init() {}
void kvApplication::LoadObjs() {}
void kvApplication::DestroyObjs() {}
void kvApplication::MainLoop() {}
kvApplication::~kvApplication() = default;
