#include "machine_registry.h"

#include <cstdlib>

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kClassKey[] = "CLSID\\{D4BCF700-791D-11CF-99F9-444553540000}";
const char kHandlersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers";
const char kHandlerKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers\\Mouse CPL";
const char kServiceKey[] = "System\\CurrentControlSet\\Services\\tavren";

bool RegKeyExists(HKEY root, const std::string &key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

std::string RegText(HKEY root, const std::string &key, const char *name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle)) return "(missing)";
    char data[512] = "";
    DWORD size = sizeof(data) - 1;
    LONG result = RegQueryValueExA(handle, name, NULL, NULL, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(handle);
    return result ? "(missing)" : data;
}

bool SetRegText(HKEY root, const std::string &key, const char *name, const std::string &text)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL)) return false;
    LONG result =
        RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()), DWORD(text.size() + 1));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

SavedKey::SavedKey(HKEY root, const char *path, const char *name)
    : root(root), path(path), backup(std::string("Software\\PointerhubTests\\") + name)
{
    HKEY source, copy;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &source)) return;
    if (!RegCreateKeyExA(HKEY_CURRENT_USER, backup.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &copy, NULL)) {
        ok = RegCopyTreeA(source, NULL, copy) == ERROR_SUCCESS;
        RegCloseKey(copy);
    }
    RegCloseKey(source);
}

SavedKey::~SavedKey()
{
    if (!ok) return;
    RegDeleteTreeA(root, path);
    HKEY target, copy;
    if (!RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &target, NULL)) {
        if (!RegOpenKeyExA(HKEY_CURRENT_USER, backup.c_str(), 0, KEY_READ, &copy)) {
            RegCopyTreeA(copy, NULL, target);
            RegCloseKey(copy);
        }
        RegCloseKey(target);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, backup.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\PointerhubTests");  // only once it is empty
}

bool InLogonStage(const char *stage)
{
    const char *current = std::getenv("PTR_LOGON_STAGE");
    return current && std::string(current) == stage;
}
