// The user's stored settings and the system settings they reach, as a test
// sets them up and reads them back.
#ifndef SETTINGS_REGISTRY_H
#define SETTINGS_REGISTRY_H

#include <windows.h>

#include <string>

#define TEST_SETTINGS_KEY "Control Panel\\Nelvo\\Mouse"

bool SettingsKeyExists();
// Removes the settings key and everything in it.
void DeleteSettingsKey();
// Creates the key (empty) when it is missing.
bool CreateSettingsKey();

// Stores a value exactly as given: type and bytes.
bool SetRawValue(const char *name, DWORD type, const void *data, DWORD size);
bool SetTextValue(const char *name, const std::string &text);  // REG_SZ with its terminator
struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::string bytes;
};
RawValue ReadRawValue(const char *name);

// The button swap and double-click time as a process started now sees them.
struct SystemMouse {
    bool swapped;
    UINT doubleClickTime;
};
SystemMouse SystemMouseSeenElsewhere();

// Keeps the system's swap and double-click time and the settings key, and
// puts them back afterwards.
class SystemMouseGuard {
public:
    SystemMouseGuard();
    ~SystemMouseGuard();

private:
    BOOL swapped;
    UINT doubleClickTime;
};

#endif
