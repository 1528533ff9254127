// Baseline for the load benchmark: a DLL built like the modules that does
// nothing when it is attached.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
