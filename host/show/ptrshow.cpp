// ptrshow: what a running Pointerhub looks like from outside, for the main job
// (run.sh): the agent, the shared block and what the TAVREN stand-in holds.
// `ptrshow --close` sends WM_CLOSE to the agent, as anything outside may;
// `ptrshow --screenshot FILE` writes what the screen shows of the Mouse
// Properties sheet as a bitmap file.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "ptrlink.h"
#include "tavren_probe.h"

namespace {

const char *const kActions[] = {"(Unassigned)", "Double-Click", "Start", "Next Task", "F1(Help)"};

const char *ActionText(unsigned code) { return code < 5 ? kActions[code] : "(no name)"; }

int CloseAgent()
{
    HWND window = FindWindowA("myMouseDialog", NULL);
    if (!window) {
        std::printf("No agent is running.\n");
        return 0;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(window, WM_CLOSE, 0, 0);
    bool ended = !process || WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    std::printf(ended ? "The agent has closed.\n" : "The agent did not close.\n");
    return ended ? 0 : 1;
}

void ShowAgent()
{
    HWND window = FindWindowA("myMouseDialog", NULL);
    if (!window) {
        std::printf("Agent: not running\n");
        return;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::printf("Agent: resident, process %lu, window of class \"myMouseDialog\" %s\n", processId,
                IsWindowVisible(window) ? "VISIBLE" : "hidden");
}

void ShowBlock()
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, PTR_SHARE_NAME);
    const MouseShareData *d = mapping ? static_cast<const MouseShareData *>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) : NULL;
    if (!d) {
        std::printf("Shared block %s: absent\n", PTR_SHARE_NAME);
        if (mapping) CloseHandle(mapping);
        return;
    }
    char path[PTR_LIBRARY_PATH_SIZE + 1] = {};
    std::memcpy(path, d->libraryPath, PTR_LIBRARY_PATH_SIZE);
    std::printf("Shared block %s:\n", PTR_SHARE_NAME);
    std::printf("  libraryPath          %s\n", path);
    std::printf("  statusEnabled        %u\n  hookHandle           0x%08lX\n", d->statusEnabled,
                static_cast<unsigned long>(d->hookHandle));
    std::printf("  middleAction         %u %s\n  secondAction         %u %s\n", d->middleAction,
                ActionText(d->middleAction), d->secondAction, ActionText(d->secondAction));
    std::printf("  swapButtons          %u\n  acceleration         %u\n  sensitivity          %u\n", d->swapButtons,
                d->acceleration, d->sensitivity);
    std::printf("  threeButtonMode      %u\n  cursorCenterEnabled  %u\n  doubleClickTime      %lu ms\n",
                d->threeButtonMode, d->cursorCenterEnabled, static_cast<unsigned long>(d->doubleClickTime));
    UnmapViewOfFile(d);
    CloseHandle(mapping);
}

void ShowKey(const uint8_t *key)
{
    if (key[0]) std::printf(" vk %3u scan 0x%02X", key[0], key[1]);
    else std::printf(" %-16s", "-");
}

void ShowDriver()
{
    HANDLE device = CreateFileA("\\\\.\\TAVREN", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, 0, NULL);
    static TavrenRecord record;
    DWORD returned;
    if (device == INVALID_HANDLE_VALUE ||
        !DeviceIoControl(device, TAVREN_PROBE_READ, NULL, 0, &record, sizeof(record), &returned, NULL)) {
        std::printf("TAVREN driver: not reachable\n");
        if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
        return;
    }
    CloseHandle(device);
    std::printf("TAVREN driver (stand-in):\n");
    std::printf("  requests received    key table %lu, status %lu, mouse info %lu, remove registry %lu\n",
                static_cast<unsigned long>(record.requests[1]), static_cast<unsigned long>(record.requests[2]),
                static_cast<unsigned long>(record.requests[3]), static_cast<unsigned long>(record.requests[4]));
    if (record.statusCount) {
        const uint8_t *s = record.status;
        std::printf("  status it holds      middle %u %s, second %u %s, swap %u, enabled %u,\n"
                    "                       acceleration %u, sensitivity %u, three-button %u\n",
                    s[0], ActionText(s[0]), s[1], ActionText(s[1]), s[2], s[3], s[4], s[5], s[6]);
    }
    if (record.keyTableCount) {
        for (int e = 0; e < 3; ++e) {
            std::printf("  keys for %-11s", kActions[e + 2]);
            ShowKey(&record.keyTable[2 * e]);
            ShowKey(&record.keyTable[16 + 2 * e]);
            std::printf("\n");
        }
    }
}

// Writes what the screen shows under the Mouse Properties sheet (or the whole
// screen) as a 24-bit bitmap file.
int Screenshot(const char *path)
{
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (HWND sheet = FindWindowA(NULL, "Mouse Properties")) GetWindowRect(sheet, &area);
    int width = area.right - area.left, height = area.bottom - area.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    DWORD rowBytes = DWORD((width * 3 + 3) & ~3), imageSize = rowBytes * DWORD(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    HANDLE out = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    bool ok = out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof(file), &written, NULL) &&
              WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, NULL) &&
              WriteFile(out, bits, imageSize, &written, NULL);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    std::printf(ok ? "Screenshot written to %s\n" : "Could not write %s\n", path);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--close") == 0) return CloseAgent();
    if (argc > 2 && std::strcmp(argv[1], "--screenshot") == 0) return Screenshot(argv[2]);
    ShowAgent();
    ShowBlock();
    ShowDriver();
    return 0;
}
