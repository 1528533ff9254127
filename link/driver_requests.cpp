// The driver channel: each request is one synchronous DeviceIoControl on this
// process's own device handle; the exports return what DeviceIoControl returned.
#include "link_state.h"

static BOOL SendRequest(DWORD code, void *input, DWORD inputSize, void *output, DWORD outputSize)
{
    DWORD returned;
    return DeviceIoControl(driverDevice, code, input, inputSize, output, outputSize, &returned, NULL);
}

BOOL SendDriverStatus(void)
{
    return SendRequest(IOCTL_SET_STATUS, shareData, PTR_DRIVER_STATUS_SIZE, NULL, 0);
}

BOOL SendActionKeys(const ActionKeyTable *table)
{
    return SendRequest(IOCTL_SET_ACTION_KEYS, const_cast<ActionKeyTable *>(table), sizeof(*table), NULL, 0);
}

extern "C" BOOL WINAPI EnableDisableStatus(DWORD value)
{
    shareData->statusEnabled = static_cast<uint8_t>(value);
    return SendDriverStatus();
}

extern "C" BOOL WINAPI GetMouseInfo(void *buffer, DWORD size)
{
    return SendRequest(IOCTL_GET_MOUSE_INFO, NULL, 0, buffer, size);
}

extern "C" BOOL WINAPI RemoveDrvRegistry(void)
{
    return SendRequest(IOCTL_REMOVE_DRV_REGISTRY, NULL, 0, NULL, 0);
}
