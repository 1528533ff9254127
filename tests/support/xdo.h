// Real keyboard and mouse input through xdotool on the session's X display,
// started from inside Wine.
#ifndef XDO_H
#define XDO_H

#include <windows.h>

#include <string>

// Runs `xdotool ARGUMENTS` to its end; true when it exited with 0. Its
// standard output goes to *output when given.
bool Xdo(const std::string &arguments, std::string *output = nullptr);

// Where the X pointer is, in screen pixels.
bool PointerLocation(POINT *point);

// Moves the X pointer and waits until it is there and stays there.
bool MovePointer(int x, int y);

#endif
