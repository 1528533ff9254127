// Counts of what a process holds, taken inside that process: the platform
// gives no GDI object count (GetGuiResources is a stub) and no handle count.
#ifndef RESOURCE_COUNT_H
#define RESOURCE_COUNT_H

#include <windows.h>

struct GdiCount {
    LONG all, bitmaps, dcs;
};

// Wine finds a GDI object by the low word of its handle when the high word is
// 0, so every live object answers for one of the 16-bit values.
inline GdiCount CountGdiObjects()
{
    GdiCount count = {0, 0, 0};
    for (ULONG_PTR value = 1; value < 0x10000; ++value) {
        DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(value));
        if (!type) continue;
        ++count.all;
        count.bitmaps += type == OBJ_BITMAP;
        count.dcs += type == OBJ_DC || type == OBJ_MEMDC;
    }
    return count;
}

// The handle values are tried in turn.
inline LONG CountHandles()
{
    LONG count = 0;
    DWORD flags;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    return count;
}

#endif
