#include "message_boxes.h"

#include <cstring>

#include "xdo.h"

HWND WaitForBox(const char *caption, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (HWND box = FindWindowA("#32770", caption)) return box;
        Sleep(50);
    }
    return nullptr;
}

static BOOL CALLBACK LongestStatic(HWND child, LPARAM value)
{
    char name[32] = "", text[512] = "";
    GetClassNameA(child, name, sizeof(name));
    GetWindowTextA(child, text, sizeof(text));
    auto *best = reinterpret_cast<std::string *>(value);
    if (lstrcmpiA(name, "Static") == 0 && strlen(text) > best->size()) *best = text;
    return TRUE;
}

std::string BoxText(HWND box)
{
    std::string text;
    EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool Answer(HWND box, int button)
{
    HWND item = GetDlgItem(box, button);
    RECT r;
    if (!item || !GetWindowRect(item, &r)) return false;
    if (!MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2) || !Xdo("click 1")) return false;
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
    return !IsWindow(box);
}
