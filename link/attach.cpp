// Attachment of a process to the shared block and the driver: the DLL entry
// point of ptrlink. A process in which either is missing cannot load the library.
#include "link_state.h"

HINSTANCE linkInstance;
HANDLE shareMapping;
MouseShareData *shareData;
HANDLE driverDevice = INVALID_HANDLE_VALUE;

static void ReleaseShareData(void)
{
    if (shareData) {
        UnmapViewOfFile(shareData);
        shareData = NULL;
    }
    if (shareMapping) {
        // When this process created the mapping just now, the empty block goes with it.
        CloseHandle(shareMapping);
        shareMapping = NULL;
    }
}

static BOOL AttachProcess(HINSTANCE instance)
{
    linkInstance = instance;

    shareMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                      PTR_SHARE_SIZE, PTR_SHARE_NAME);
    // A block that this call created is empty: no agent runs.
    if (!shareMapping || GetLastError() != ERROR_ALREADY_EXISTS) {
        ReleaseShareData();
        return FALSE;
    }
    shareData = static_cast<MouseShareData *>(MapViewOfFile(shareMapping, FILE_MAP_WRITE, 0, 0, 0));
    if (!shareData) {
        ReleaseShareData();
        return FALSE;
    }

    // The form in which Windows 95 opens a virtual device by name.
    driverDevice = CreateFileA(PTR_DEVICE_NAME, 0, 0, NULL, 0, FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (driverDevice == INVALID_HANDLE_VALUE) {
        ReleaseShareData();
        return FALSE;
    }
    return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        return AttachProcess(instance);
    case DLL_PROCESS_DETACH:
        // The device handle stays open until the process ends.
        ReleaseShareData();
        return TRUE;
    default:
        return TRUE;
    }
}
