// Where the tests find what the build made, as Windows paths inside Wine.
#ifndef TEST_ENV_H
#define TEST_ENV_H

#include <string>

// A path of the build machine as the prefix's Z: drive shows it.
std::string WinPath(const std::string &unixPath);

std::string LinkDllPath();     // ptrlink.dll of this (x86_64) build
std::string LinkDll32Path();   // ptrlink.dll of the i686 build
std::string AgentExe32Path(); // ptragent.exe of the i686 build
std::string ThisExePath();

#endif
