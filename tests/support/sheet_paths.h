// Where the tests find this build's ptrsheet.dll.
#ifndef SHEET_PATHS_H
#define SHEET_PATHS_H

#include <string>

#include "test_env.h"

inline std::string SheetDllPath() { return WinPath(PTR_TEST_SHEET_DLL); }

#endif
