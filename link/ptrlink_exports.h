// Pointerhub: the exports of ptrlink.dll, as callers bind them by name with
// GetProcAddress after LoadLibraryA on the block's libraryPath.
#ifndef PTRLINK_EXPORTS_H
#define PTRLINK_EXPORTS_H

#include <windows.h>

typedef LONG(WINAPI *UpdateButtonStatusProc)(void);
typedef BOOL(WINAPI *EnableDisableStatusProc)(DWORD value);
typedef BOOL(WINAPI *InitButtonProc)(void);
typedef BOOL(WINAPI *InstallHooksProc)(void);
typedef BOOL(WINAPI *RemoveHooksProc)(void);
typedef BOOL(WINAPI *GetMouseInfoProc)(void *buffer, DWORD size);
typedef BOOL(WINAPI *RemoveDrvRegistryProc)(void);

// GetProcAddress's result as the entry point's own type; the detour through
// a plain function pointer type is the conversion the compiler accepts.
template <typename Proc> inline Proc BindProc(HMODULE module, const char *name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

#endif
