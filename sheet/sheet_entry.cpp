// The DLL entry routine of ptrsheet: the extension joins the running system
// only when the agent's block exists, and loads the library named there.
#include "sheet_state.h"

HINSTANCE sheetInstance;
HANDLE shareMapping;
MouseShareData *shareData;
HMODULE linkLibrary;
UpdateButtonStatusProc UpdateButtonStatus;
GetMouseInfoProc GetMouseInfo;
RemoveDrvRegistryProc RemoveDrvRegistry;

static void ReleaseShareData(void)
{
    if (shareData) UnmapViewOfFile(shareData);
    if (shareMapping) CloseHandle(shareMapping);
    shareData = NULL;
    shareMapping = NULL;
}

// libraryPath was written by another process: it is used only when it ends
// inside its 263 bytes.
static bool LibraryPathTerminated(void)
{
    for (unsigned i = 0; i < PTR_LIBRARY_PATH_SIZE; ++i)
        if (!shareData->libraryPath[i]) return true;
    return false;
}

static BOOL AttachProcess(HINSTANCE instance)
{
    sheetInstance = instance;
    shareMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, PTR_SHARE_SIZE, PTR_SHARE_NAME);
    // A block that this call created is empty: no agent has run.
    if (!shareMapping || GetLastError() != ERROR_ALREADY_EXISTS) {
        ReleaseShareData();
        return FALSE;
    }
    shareData = static_cast<MouseShareData *>(MapViewOfFile(shareMapping, FILE_MAP_WRITE, 0, 0, 0));
    if (!shareData || !LibraryPathTerminated()) {
        ReleaseShareData();
        return FALSE;
    }
    linkLibrary = LoadLibraryA(shareData->libraryPath);
    if (!linkLibrary) {
        ReleaseShareData();
        return FALSE;
    }
    UpdateButtonStatus = BindProc<UpdateButtonStatusProc>(linkLibrary, "UpdateButtonStatus");
    GetMouseInfo = BindProc<GetMouseInfoProc>(linkLibrary, "GetMouseInfo");
    RemoveDrvRegistry = BindProc<RemoveDrvRegistryProc>(linkLibrary, "RemoveDrvRegistry");
    return TRUE;
}

extern "C" BOOL WINAPI SheetEntry(HINSTANCE instance, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        return AttachProcess(instance);
    case DLL_PROCESS_DETACH:
        // The library stays loaded until the process ends.
        ReleaseShareData();
        return TRUE;
    default:
        return TRUE;
    }
}
