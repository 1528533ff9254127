#include "driver_probe.h"

#include "processes.h"

static HANDLE probe = INVALID_HANDLE_VALUE;

static HANDLE Probe()
{
    if (probe == INVALID_HANDLE_VALUE)
        probe = CreateFileA("\\\\.\\TAVREN", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            NULL, OPEN_EXISTING, 0, NULL);
    return probe;
}

void CloseDriverProbe()
{
    if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
    probe = INVALID_HANDLE_VALUE;
}

static bool Control(DWORD code, void *in, DWORD inSize, void *out, DWORD outSize)
{
    DWORD returned;
    return DeviceIoControl(Probe(), code, in, inSize, out, outSize, &returned, NULL) != FALSE;
}

bool ResetDriver() { return Control(TAVREN_PROBE_RESET, NULL, 0, NULL, 0); }

bool ConfigureDriver(uint8_t valid, uint8_t buttonCount, uint32_t failMask)
{
    TavrenConfig config = {{valid, buttonCount}, {0, 0}, failMask};
    return Control(TAVREN_PROBE_CONFIGURE, &config, sizeof(config), NULL, 0);
}

bool ReadDriver(TavrenRecord *record)
{
    return Control(TAVREN_PROBE_READ, NULL, 0, record, sizeof(*record));
}

std::vector<TavrenRequest> DriverRequests(const TavrenRecord &record)
{
    DWORD count = record.logLength < TAVREN_MAX_LOG ? record.logLength : TAVREN_MAX_LOG;
    return std::vector<TavrenRequest>(record.log, record.log + count);
}

const TavrenOpener *FindOpener(const TavrenRecord &record, DWORD processId)
{
    for (DWORD i = 0; i < record.openerCount; ++i)
        if (record.openers[i].processId == processId) return &record.openers[i];
    return nullptr;
}

bool StopDriverService()
{
    CloseDriverProbe();
    return RunProgram("sc.exe stop tavren") == 0;
}

bool StartDriverService() { return RunProgram("sc.exe start tavren") == 0; }
