#include "processes.h"

#include <map>

#include "test_env.h"

static std::map<std::string, ChildRole> &Roles()
{
    static std::map<std::string, ChildRole> roles;
    return roles;
}

ChildRoleEntry::ChildRoleEntry(const char *name, ChildRole role) { Roles()[name] = role; }

int RunChildRole(const std::string &name, const std::string &argument)
{
    auto found = Roles().find(name);
    return found == Roles().end() ? 200 : found->second(argument);
}

static bool Start(const std::string &commandLine, PROCESS_INFORMATION *info)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string line = commandLine;
    return CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, info) != FALSE;
}

bool StartProgram(const std::string &commandLine)
{
    PROCESS_INFORMATION info;
    if (!Start(commandLine, &info)) return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    return true;
}

int RunProgram(const std::string &commandLine, DWORD timeoutMs)
{
    PROCESS_INFORMATION info;
    if (!Start(commandLine, &info)) return -1;
    CloseHandle(info.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

bool ChildProcess::running() const { return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

int ChildProcess::wait(DWORD timeoutMs)
{
    DWORD code = static_cast<DWORD>(-1);
    if (process && WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

static BOOL CALLBACK CloseWindowOf(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == DWORD(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

ChildProcess::~ChildProcess()
{
    if (!process) return;
    // Under Wine a killed process can leave its system-wide hooks behind, so
    // it is asked to close first.
    if (running()) {
        EnumWindows(CloseWindowOf, LPARAM(id));
        WaitForSingleObject(process, 5000);
    }
    if (running()) TerminateProcess(process, 255);
    CloseHandle(process);
}

bool StartChild(ChildProcess *child, const std::string &role, const std::string &argument)
{
    PROCESS_INFORMATION info;
    if (!Start("\"" + ThisExePath() + "\" --child " + role + " \"" + argument + "\"", &info)) return false;
    CloseHandle(info.hThread);
    child->process = info.hProcess;
    child->id = info.dwProcessId;
    return true;
}

int RunChild(const std::string &role, const std::string &argument)
{
    ChildProcess child;
    if (!StartChild(&child, role, argument)) return -1;
    return child.wait();
}

HANDLE CreateSignal(const std::string &name) { return CreateEventA(NULL, TRUE, FALSE, name.c_str()); }

bool WaitSignal(const std::string &name, DWORD timeoutMs)
{
    HANDLE event = CreateSignal(name);
    bool raised = WaitForSingleObject(event, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(event);
    return raised;
}

void RaiseSignal(const std::string &name)
{
    HANDLE event = CreateSignal(name);
    SetEvent(event);
    CloseHandle(event);
}
