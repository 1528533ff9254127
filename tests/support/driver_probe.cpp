#include "driver_probe.h"


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

// Asks the service manager to start or stop the driver and waits until it has.
static bool ControlDriverService(bool start)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    if (!manager) return false;
    SC_HANDLE service = OpenServiceA(manager, "tavren", SERVICE_START | SERVICE_STOP | SERVICE_QUERY_STATUS);
    bool done = false;
    if (service) {
        SERVICE_STATUS status;
        if (start) StartServiceA(service, 0, NULL);
        else ControlService(service, SERVICE_CONTROL_STOP, &status);
        DWORD wanted = start ? SERVICE_RUNNING : SERVICE_STOPPED;
        for (int i = 0; i < 200 && !done; ++i) {
            done = QueryServiceStatus(service, &status) && status.dwCurrentState == wanted;
            if (!done) Sleep(25);
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return done;
}

bool StopDriverService()
{
    CloseDriverProbe();
    return ControlDriverService(false);
}

bool StartDriverService() { return ControlDriverService(true); }
