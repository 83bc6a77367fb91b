// A build without Qt Multimedia: there is no camera to switch on, and the capture screen
// says so.
#include "reports/FrameSource.h"

std::unique_ptr<FrameSource> makeSystemCamera()
{
    return nullptr;
}
