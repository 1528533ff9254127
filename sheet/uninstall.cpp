// The uninstall command: takes the package out of the machine's start-up and
// offers the restart. Files, processes, the block and the settings stay.
#include "resource.h"
#include "sheet_state.h"

// Windows 95 deletes a key with its subkeys; NT-family registries, Wine's
// included, refuse a key that has any, so the subkeys go first.
static void DeleteKeyTree(HKEY root, const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(root, name, 0, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
        char subkey[MAX_PATH];
        while (RegEnumKeyA(key, 0, subkey, sizeof(subkey)) == ERROR_SUCCESS) {
            DeleteKeyTree(key, subkey);
            // A subkey that will not go would keep the loop turning.
            HKEY left;
            if (RegOpenKeyExA(key, subkey, 0, KEY_READ, &left) == ERROR_SUCCESS) {
                RegCloseKey(left);
                break;
            }
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(root, name);
}

void UninstallMouseDriver(HWND page)
{
    if (MessageBoxA(page, "Do you really want to uninstall the mouse driver ?\n", "uninstall", MB_YESNO) != IDYES)
        return;

    // Each step runs whatever came of the one before.
    HKEY run;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_READ | KEY_WRITE, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "NelvoPtr");
        RegCloseKey(run);
    }
    DeleteKeyTree(HKEY_CLASSES_ROOT, "CLSID\\{D4BCF700-791D-11CF-99F9-444553540000}");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE,
                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers\\Mouse CPL");
    if (RemoveDrvRegistry) RemoveDrvRegistry();

    if (MessageBoxA(page,
                    "The mouse driver is removed. You must reboot your computer to let the change take effect.\n\n"
                    "Do you want to reboot you computer ?",
                    "Reboot", MB_YESNO) == IDYES)
        ExitWindowsEx(EWX_REBOOT, 0);
}
