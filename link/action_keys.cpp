// The key combinations that the driver plays for the keyboard actions, with
// the scan codes of the keyboard layout in force.
#include <windows.h>

#include "link_state.h"

namespace {

struct Combination {
    uint8_t first;
    uint8_t second;
};

// Entries in code order of the keyboard actions "Start", "Next Task", "F1(Help)".
constexpr Combination kCombinations[] = {
    {VK_CONTROL, VK_ESCAPE},
    {VK_MENU, VK_ESCAPE},
    {VK_F1, 0},
};
static_assert(sizeof(kCombinations) / sizeof(kCombinations[0]) == ACTION_F1_HELP - ACTION_START + 1,
              "one entry for each keyboard action");

ActionKey KeyOf(uint8_t virtualKey)
{
    ActionKey key = {0, 0};
    if (virtualKey) {
        key.virtualKey = virtualKey;
        key.scanCode = LOBYTE(MapVirtualKeyA(virtualKey, 0));
    }
    return key;
}

} // namespace

void BuildActionKeyTable(ActionKeyTable *table)
{
    for (unsigned e = 0; e < 8; ++e) {
        table->firstKey[e] = KeyOf(0);
        table->secondKey[e] = KeyOf(0);
    }
    unsigned e = 0;
    for (const Combination &c : kCombinations) {
        table->firstKey[e] = KeyOf(c.first);
        table->secondKey[e] = KeyOf(c.second);
        ++e;
    }
}
