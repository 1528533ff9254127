#include "settings_registry.h"

#include "processes.h"

static HKEY OpenSettings(REGSAM access)
{
    HKEY key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, TEST_SETTINGS_KEY, 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

bool SettingsKeyExists()
{
    HKEY key = OpenSettings(KEY_READ);
    if (key) RegCloseKey(key);
    return key != nullptr;
}

void DeleteSettingsKey() { RegDeleteTreeA(HKEY_CURRENT_USER, TEST_SETTINGS_KEY); }

bool CreateSettingsKey()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, TEST_SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL)) return false;
    RegCloseKey(key);
    return true;
}

bool SetRawValue(const char *name, DWORD type, const void *data, DWORD size)
{
    if (!CreateSettingsKey()) return false;
    HKEY key = OpenSettings(KEY_ALL_ACCESS);
    if (!key) return false;
    LONG result = RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SetTextValue(const char *name, const std::string &text)
{
    return SetRawValue(name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}

RawValue ReadRawValue(const char *name)
{
    RawValue value;
    HKEY key = OpenSettings(KEY_READ);
    if (!key) return value;
    char data[512];
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, NULL, &value.type, reinterpret_cast<BYTE *>(data), &size) == ERROR_SUCCESS) {
        value.present = true;
        value.bytes.assign(data, size);
    }
    RegCloseKey(key);
    return value;
}

CHILD_ROLE(report_system_mouse)
{
    return int((GetDoubleClickTime() << 1) | (GetSystemMetrics(SM_SWAPBUTTON) ? 1 : 0));
}

SystemMouse SystemMouseSeenElsewhere()
{
    int code = RunChild("report_system_mouse");
    return SystemMouse{(code & 1) != 0, UINT(code) >> 1};
}

SystemMouseGuard::SystemMouseGuard()
    : swapped(GetSystemMetrics(SM_SWAPBUTTON)), doubleClickTime(GetDoubleClickTime())
{
}

SystemMouseGuard::~SystemMouseGuard()
{
    SwapMouseButton(swapped);
    SetDoubleClickTime(doubleClickTime);
    DeleteSettingsKey();
}
