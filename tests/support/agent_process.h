// The resident agent as a test starts, finds and closes it.
#ifndef AGENT_PROCESS_H
#define AGENT_PROCESS_H

#include <windows.h>

#include <string>

#include "processes.h"

std::string AgentExePath();
// The install directory of this build: the folder that holds its ptrlink.dll.
std::string BuildInstallDir();

// Starts ptragent.exe with the given command-line tail (what follows the
// quoted program name).
bool StartAgent(ChildProcess *agent, const std::string &tail);
// The agent's hidden window, waited for up to timeoutMs; null when none comes.
HWND WaitForAgentWindow(DWORD timeoutMs = 15000);
int CountAgentWindows();
// Sends WM_CLOSE to every agent window and waits for the processes to end.
void CloseAllAgents();

#endif
