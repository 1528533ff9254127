// The TAVREN stand-in's own interface for tests: private control codes, outside
// the product's 1..4, through which a test reads back what the driver received
// and chooses its answers. Shared by the driver and the test programs.
#ifndef TAVREN_PROBE_H
#define TAVREN_PROBE_H

#include <stdint.h>

// Device type 0x8000 (customer range), function 0x900 up, METHOD_BUFFERED, any access.
#define TAVREN_PROBE_CODE(function) ((0x8000u << 16) | ((function) << 2))
#define TAVREN_PROBE_READ TAVREN_PROBE_CODE(0x900u)      // out: TavrenRecord
#define TAVREN_PROBE_CONFIGURE TAVREN_PROBE_CODE(0x901u) // in: TavrenConfig
#define TAVREN_PROBE_RESET TAVREN_PROBE_CODE(0x902u)     // forget what was received

#define TAVREN_MAX_LOG 64u
#define TAVREN_MAX_OPENERS 64u

#pragma pack(push, 4)

// One product request (codes 1..4) as the driver received it.
struct TavrenRequest {
    uint32_t code;
    uint32_t processId;
    uint32_t inputLength;
    uint32_t outputLength;
    uint32_t failed;       // 1: the driver failed it (told to, or a wrong buffer)
    uint8_t input[32];     // the first 32 bytes of the input
};

// One process that opened the device, counted by what reached the driver.
struct TavrenOpener {
    uint32_t processId;
    uint32_t creates;
    uint32_t cleanups;     // the last handle to a file object went away
    uint32_t closes;       // the file object was released
    uint32_t requests[5];  // by code 1..4; [0] unused
};

struct TavrenRecord {
    uint32_t requests[5];            // by code 1..4, across all processes
    uint32_t keyTableCount;          // accepted code-1 requests
    uint8_t keyTable[32];            // the last key table accepted
    uint32_t statusCount;            // accepted code-2 requests
    uint8_t status[8];               // the last status accepted (7 bytes)
    uint32_t removeCount;            // accepted code-4 requests
    uint32_t registryRemoved;        // code 4 removed the service key
    uint32_t logLength;              // requests received; the log keeps the first TAVREN_MAX_LOG
    struct TavrenRequest log[TAVREN_MAX_LOG];
    uint32_t openerCount;
    struct TavrenOpener openers[TAVREN_MAX_OPENERS];
};

struct TavrenConfig {
    uint8_t mouseInfo[2];   // the reply to code 3
    uint8_t unused[2];
    uint32_t failMask;      // bit n set: fail code n
};

#pragma pack(pop)

#endif
