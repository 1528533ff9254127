// Other processes of a test: programs of the prefix, and this test program
// started again to play a child role (see CHILD_ROLE).
#ifndef PROCESSES_H
#define PROCESSES_H

#include <windows.h>

#include <string>

// Starts a command line and lets it run.
bool StartProgram(const std::string &commandLine);
// Runs a command line to its end; returns its exit code, or -1 if it could not start.
int RunProgram(const std::string &commandLine, DWORD timeoutMs = 60000);

struct ChildProcess {
    HANDLE process = nullptr;
    DWORD id = 0;
    bool running() const;
    // Waits for the end; returns the exit code, or -1 on a timeout.
    int wait(DWORD timeoutMs = 30000);
    ~ChildProcess();
};

// Starts this program as the child role `role`, with `argument` as its one argument.
bool StartChild(ChildProcess *child, const std::string &role, const std::string &argument = "");
// Runs a child role to its end and returns its exit code.
int RunChild(const std::string &role, const std::string &argument = "");

// A child role: a function of the test program run in another process. Its
// result is the process's exit code.
typedef int (*ChildRole)(const std::string &argument);
struct ChildRoleEntry {
    ChildRoleEntry(const char *name, ChildRole role);
};
#define CHILD_ROLE(name)                                                   \
    static int ChildRole_##name(const std::string &argument);              \
    static ChildRoleEntry childRoleEntry_##name(#name, ChildRole_##name);  \
    static int ChildRole_##name([[maybe_unused]] const std::string &argument)

// Named events through which a parent and a child agree on a moment.
HANDLE CreateSignal(const std::string &name);
bool WaitSignal(const std::string &name, DWORD timeoutMs = 30000);
void RaiseSignal(const std::string &name);

#endif
