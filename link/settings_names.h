// The names by which button actions are stored and shown, and the registry
// key and values of the settings store.
#ifndef SETTINGS_NAMES_H
#define SETTINGS_NAMES_H

#include <stdint.h>

#include "ptrlink.h"

#define PTR_SETTINGS_KEY "Control Panel\\Nelvo\\Mouse"

// Every stored value is a REG_SZ field of this many bytes.
#define PTR_SETTING_FIELD_SIZE 15u

extern const char *const ActionNames[PTR_ACTION_COUNT];

// The code whose name equals the text, case ignored; 0 when none does.
uint8_t ActionFromName(const char *text);

// The name stored for a code; codes without a name are stored as "(Unassigned)".
const char *ActionName(uint8_t code);

#endif
