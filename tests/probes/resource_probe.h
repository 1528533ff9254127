// What the resource probe counts inside the process whose thread it hooks:
// the process's GDI objects and handles on request, and the paint messages of
// one window. Shared through the mapping of this name.
#ifndef RESOURCE_PROBE_H
#define RESOURCE_PROBE_H

#include <windows.h>

#define RESOURCE_PROBE_REPORT "PtrTestResourceProbe"
// Posted to a window of the hooked thread: count now.
#define RESOURCE_PROBE_COUNT "PtrTestResourceProbeCount"

struct ResourceProbeReport {
    volatile LONG counted;     // raised after each count
    LONG gdiObjects, bitmaps, dcs;
    LONG handles;
    ULONGLONG paintTarget;     // the window whose WM_PAINT messages are counted
    volatile LONG paints;
};

#endif
