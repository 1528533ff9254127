#include "agent_process.h"

#include "test_env.h"

std::string AgentExePath() { return WinPath(PTR_TEST_AGENT_EXE); }

std::string BuildInstallDir()
{
    std::string dll = LinkDllPath();
    return dll.substr(0, dll.rfind('\\'));
}

bool StartAgent(ChildProcess *agent, const std::string &tail)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info;
    std::string line = "\"" + AgentExePath() + "\"" + tail;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return false;
    CloseHandle(info.hThread);
    agent->process = info.hProcess;
    agent->id = info.dwProcessId;
    return true;
}

HWND WaitForAgentWindow(DWORD timeoutMs)
{
    for (DWORD waited = 0;; waited += 20) {
        if (HWND window = FindWindowA("myMouseDialog", NULL)) return window;
        if (waited >= timeoutMs) return NULL;
        Sleep(20);
    }
}

static BOOL CALLBACK CountOne(HWND window, LPARAM count)
{
    char name[64];
    if (GetClassNameA(window, name, sizeof(name)) && lstrcmpA(name, "myMouseDialog") == 0)
        ++*reinterpret_cast<int *>(count);
    return TRUE;
}

int CountAgentWindows()
{
    int count = 0;
    EnumWindows(CountOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

void CloseAllAgents()
{
    for (int i = 0; i < 10; ++i) {
        HWND window = FindWindowA("myMouseDialog", NULL);
        if (!window) return;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (process) {
            WaitForSingleObject(process, 10000);
            CloseHandle(process);
        }
    }
}
