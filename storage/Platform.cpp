#include "storage/Platform.h"

// What both systems share of the seam: the tests' fault hook.
namespace platform {
namespace {
FaultHook faultHook = nullptr;
} // namespace

void setFaultHook(FaultHook hook)
{
    faultHook = hook;
}

bool mayChange(Change change)
{
    if (!faultHook || faultHook(change))
        return true;
    setDiskFull();
    return false;
}

} // namespace platform
