// Message boxes of another process: found by caption, read and answered with
// a real click.
#ifndef MESSAGE_BOXES_H
#define MESSAGE_BOXES_H

#include <windows.h>

#include <string>

// The box with this caption, waited for up to timeoutMs; null when none comes.
HWND WaitForBox(const char *caption, DWORD timeoutMs = 10000);
// Its text: the longest static text in it.
std::string BoxText(HWND box);
// Clicks one of its buttons (IDYES, IDNO...) and waits until the box is gone.
bool Answer(HWND box, int button);

#endif
