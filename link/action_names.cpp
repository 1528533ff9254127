// The five button actions by name, in code order.
#include <windows.h>

#include "settings_names.h"

const char *const ActionNames[PTR_ACTION_COUNT] = {
    "(Unassigned)", "Double-Click", "Start", "Next Task", "F1(Help)",
};

uint8_t ActionFromName(const char *text)
{
    for (uint8_t code = 0; code < PTR_ACTION_COUNT; ++code)
        if (lstrcmpiA(text, ActionNames[code]) == 0) return code;
    return ACTION_UNASSIGNED;
}

const char *ActionName(uint8_t code)
{
    // The block may hold anything another process wrote there.
    return ActionNames[code < PTR_ACTION_COUNT ? code : uint8_t(ACTION_UNASSIGNED)];
}
