#include "xdo.h"

#include <fstream>
#include <sstream>

#include "processes.h"

// Wine starts a Unix program but gives no handle to wait on or exit code to
// read, so the shell around xdotool leaves its result in a file.
bool Xdo(const std::string &arguments, std::string *output)
{
    static int serial;
    std::string base = "/tmp/ptr-xdo-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    std::string command = "/bin/sh -c \"xdotool " + arguments + " >" + base + ".out 2>&1; echo $? >" + base + ".rc\"";
    if (!StartProgram(command)) return false;
    std::string rcPath = "Z:" + base + ".rc", outPath = "Z:" + base + ".out";
    for (char *p : {&rcPath[0], &outPath[0]})
        for (; *p; ++p)
            if (*p == '/') *p = '\\';
    int code = -1;
    for (int i = 0; i < 200; ++i) {
        std::ifstream rc(rcPath);
        if (rc >> code) break;
        Sleep(25);
    }
    if (output) {
        std::ifstream out(outPath);
        std::stringstream text;
        text << out.rdbuf();
        *output = text.str();
    }
    DeleteFileA(rcPath.c_str());
    DeleteFileA(outPath.c_str());
    return code == 0;
}

bool PointerLocation(POINT *point)
{
    std::string text;
    if (!Xdo("getmouselocation --shell", &text)) return false;
    long x = -1, y = -1;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("X=", 0) == 0) x = std::stol(line.substr(2));
        if (line.rfind("Y=", 0) == 0) y = std::stol(line.substr(2));
    }
    point->x = x;
    point->y = y;
    return x >= 0 && y >= 0;
}

bool MovePointer(int x, int y)
{
    // Wine may put the pointer back where it last set it when a window of
    // its own is activated, so the move is checked and repeated.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (!Xdo("mousemove " + std::to_string(x) + " " + std::to_string(y))) return false;
        Sleep(50);
        POINT where;
        if (PointerLocation(&where) && where.x == x && where.y == y) return true;
    }
    return false;
}
