// What the class probe finds out about the class "myMouseDialog" from inside
// the process that registered it; shared through the mapping of this name.
#ifndef CLASS_PROBE_H
#define CLASS_PROBE_H

#include <windows.h>

#define CLASS_PROBE_REPORT "PtrTestClassProbe"

struct ClassProbeReport {
    volatile LONG done;
    LONG found;
    UINT style;
    int classExtra, windowExtra;
    ULONGLONG background;
    LONG iconWidth, iconHeight, iconIs102;
    LONG smallWidth, smallHeight, smallIs103;
    LONG cursorIsArrow;
    LONG instanceIsModule;
};

#endif
