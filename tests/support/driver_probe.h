// A test's view of the TAVREN stand-in: what it received and how it answers.
#ifndef DRIVER_PROBE_H
#define DRIVER_PROBE_H

#include <windows.h>

#include <vector>

#include "tavren_probe.h"

// Forgets what the driver received and restores its default answers.
bool ResetDriver();
// The reply to request 3, and a mask of codes (bit n: code n) that the driver fails.
bool ConfigureDriver(uint8_t valid, uint8_t buttonCount, uint32_t failMask = 0);
bool ReadDriver(TavrenRecord *record);

// The product requests in the order the driver received them (within its log).
std::vector<TavrenRequest> DriverRequests(const TavrenRecord &record);
// Counts of the process that opened the device, or null.
const TavrenOpener *FindOpener(const TavrenRecord &record, DWORD processId);

// Closes this process's probe handle, so that the driver can be stopped.
void CloseDriverProbe();

// Stops and starts the driver service through the service manager.
bool StopDriverService();
bool StartDriverService();

#endif
