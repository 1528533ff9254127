#include "test_env.h"

#include <windows.h>

std::string WinPath(const std::string &unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string LinkDllPath() { return WinPath(PTR_TEST_LINK_DLL); }
std::string LinkDll32Path() { return WinPath(PTR_TEST_LINK_DLL32); }
std::string AgentExe32Path() { return WinPath(PTR_TEST_AGENT_EXE32); }

std::string ThisExePath()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof(path));
    return std::string(path, length);
}
