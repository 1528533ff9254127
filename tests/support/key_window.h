// A window of another process that takes the keyboard focus and reports what
// reached it: the child role "key_window", started with StartKeyWindow.
#ifndef KEY_WINDOW_H
#define KEY_WINDOW_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "processes.h"

struct KeyWindowReport {
    volatile LONG ready;
    volatile LONG f10Downs;    // first key-downs of F10
    volatile LONG f10Repeats;  // repeated key-downs while held
    volatile LONG f10Ups;
    volatile LONG linkLoaded;  // ptrlink.dll was in the process at the last F10
    POINT cursorAtF10;         // GetCursorPos when the last first key-down arrived
    volatile LONG mouseX, mouseY; // where the last WM_MOUSEMOVE put the cursor
    LONG screenWidth;
    LONG screenHeight;
    uint32_t window;
};

// The report, shared with the key window process; created by the test.
class KeyWindow {
public:
    KeyWindow();
    ~KeyWindow();
    // Starts the window in a new process and gives it the focus.
    bool Start();
    bool Close();
    // Moves the X pointer and waits until the window's process has seen it
    // there, so that a key pressed next finds Wine's cursor in step.
    bool MovePointer(int x, int y);
    KeyWindowReport *report = nullptr;
    ChildProcess process;

private:
    HANDLE mapping = nullptr;
};

// The key window's own side, run in the process that shows it.
int RunKeyWindow();

// Waits until a counter of the report reaches a value.
bool WaitForCount(volatile LONG *counter, LONG value, DWORD timeoutMs = 5000);

#endif
