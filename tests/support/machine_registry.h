// The machine's registration of the package (start-up entry, extension class
// and handler, the driver's service) as tests set it up and read it back.
#ifndef MACHINE_REGISTRY_H
#define MACHINE_REGISTRY_H

#include <windows.h>

#include <string>

extern const char kRunKey[];       // HKLM: the start-up entries
extern const char kClassKey[];     // HKCR: the extension's class
extern const char kHandlersKey[];  // HKLM: the Mouse control panel's property-sheet handlers
extern const char kHandlerKey[];   // HKLM: the extension's handler among them
extern const char kServiceKey[];   // HKLM: the driver stand-in's service

bool RegKeyExists(HKEY root, const std::string &key);
// A text value (the default value when name is null), or "(missing)".
std::string RegText(HKEY root, const std::string &key, const char *name = NULL);
// Stores a REG_SZ, creating the key when it is missing.
bool SetRegText(HKEY root, const std::string &key, const char *name, const std::string &text);

// A key of the machine copied aside (under HKCU\Software\PointerhubTests),
// and put back exactly as it was when the object goes.
class SavedKey {
public:
    SavedKey(HKEY root, const char *path, const char *name);
    ~SavedKey();
    bool ok = false;

private:
    HKEY root;
    const char *path;
    std::string backup;
};

// Whether this run of a staged test program is the named stage of its
// script (PTR_LOGON_STAGE).
bool InLogonStage(const char *stage);

#endif
