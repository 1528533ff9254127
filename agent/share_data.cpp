// The agent's side of the shared block: it brings the block into being and
// fills it before the library is loaded.
#include "agent_state.h"

HANDLE shareMapping;
MouseShareData *shareData;

static void InitShareData(const char *installDir)
{
    auto *bytes = reinterpret_cast<volatile uint8_t *>(shareData);
    for (unsigned i = 0; i < PTR_SHARE_SIZE; ++i) bytes[i] = 0;
    // The caller has checked that the path fits with its terminator.
    lstrcpyA(shareData->libraryPath, installDir);
    lstrcatA(shareData->libraryPath, PTR_LIBRARY_FILE);
    shareData->statusEnabled = 1;
}

bool CreateShareData(const char *installDir)
{
    // A block that already exists is taken over and cleared like a new one.
    shareMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, PTR_SHARE_SIZE, PTR_SHARE_NAME);
    if (!shareMapping) return false;
    shareData = static_cast<MouseShareData *>(MapViewOfFile(shareMapping, FILE_MAP_WRITE, 0, 0, 0));
    if (!shareData) {
        CloseHandle(shareMapping);
        shareMapping = NULL;
        return false;
    }
    InitShareData(installDir);
    return true;
}

void ReleaseShareData(void)
{
    shareData->statusEnabled = 0;
    UnmapViewOfFile(shareData);
    CloseHandle(shareMapping);
    shareData = NULL;
    shareMapping = NULL;
}
