// Stand-in for the TAVREN mouse driver, outside Pointerhub: an NT kernel-mode
// driver that Wine's driver host loads. It accepts exactly the four requests of
// the driver contract with their buffers, keeps what it received, and answers
// the private probe codes of tavren_probe.h so that tests can read that back.
#include <ntddk.h>

#include "tavren_probe.h"

// The driver contract's request codes.
#define IOCTL_SET_ACTION_KEYS_CODE 1
#define IOCTL_SET_STATUS_CODE 2
#define IOCTL_GET_MOUSE_INFO_CODE 3
#define IOCTL_REMOVE_DRV_REGISTRY_CODE 4

#define kKeyTableSize 32
#define kStatusSize 7
#define kMouseInfoSize 2

static PDEVICE_OBJECT device;
static UNICODE_STRING deviceName = RTL_CONSTANT_STRING(L"\\Device\\TAVREN");
static UNICODE_STRING linkName = RTL_CONSTANT_STRING(L"\\DosDevices\\TAVREN");

// The service key, kept for request 4.
static WCHAR serviceKeyBuffer[512];
static UNICODE_STRING serviceKey;

// Wine's driver host dispatches requests on one thread, so the record needs no lock.
static struct TavrenRecord record;
// Unless a test says otherwise: valid information about a three-button mouse.
static const struct TavrenConfig defaultConfig = {{1, 3}, {0, 0}, 0};
static struct TavrenConfig config = {{1, 3}, {0, 0}, 0};

static void Copy(void *to, const void *from, SIZE_T size)
{
    UCHAR *t = (UCHAR *)to;
    const UCHAR *f = (const UCHAR *)from;
    while (size--) *t++ = *f++;
}

static void Zero(void *to, SIZE_T size)
{
    UCHAR *t = (UCHAR *)to;
    while (size--) *t++ = 0;
}

static uint32_t CurrentProcess()
{
    return (uint32_t)(ULONG_PTR)PsGetCurrentProcessId();
}

static struct TavrenOpener *FindOpener(uint32_t processId, BOOLEAN add)
{
    ULONG i;
    struct TavrenOpener *opener = NULL;
    for (i = 0; i < record.openerCount; ++i)
        if (record.openers[i].processId == processId) return &record.openers[i];
    if (!add) return NULL;
    if (record.openerCount < TAVREN_MAX_OPENERS) {
        opener = &record.openers[record.openerCount++];
    } else {
        // The table is full: a process whose handles are all closed gives up its place.
        for (i = 0; i < record.openerCount && !opener; ++i)
            if (record.openers[i].closes >= record.openers[i].creates) opener = &record.openers[i];
        if (!opener) return NULL;
        Zero(opener, sizeof(*opener));
    }
    opener->processId = processId;
    return opener;
}

// The opener of a file object is kept in it, so that cleanup and close are
// counted for the process that opened it, whoever releases it.
static uint32_t OpenerOf(PIO_STACK_LOCATION stack)
{
    if (!stack->FileObject) return 0;
    return (uint32_t)(ULONG_PTR)stack->FileObject->FsContext;
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS DeleteKeyTree(HANDLE key)
{
    // NT registries refuse to delete a key that still has subkeys.
    UCHAR buffer[sizeof(KEY_BASIC_INFORMATION) + 512];
    for (;;) {
        ULONG length;
        NTSTATUS status = ZwEnumerateKey(key, 0, KeyBasicInformation, buffer, sizeof(buffer), &length);
        if (status == STATUS_NO_MORE_ENTRIES) break;
        if (!NT_SUCCESS(status)) return status;
        KEY_BASIC_INFORMATION *info = (KEY_BASIC_INFORMATION *)buffer;
        UNICODE_STRING name;
        name.Buffer = info->Name;
        name.Length = name.MaximumLength = (USHORT)info->NameLength;
        OBJECT_ATTRIBUTES attributes;
        InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, key, NULL);
        HANDLE subkey;
        status = ZwOpenKey(&subkey, KEY_ALL_ACCESS, &attributes);
        if (!NT_SUCCESS(status)) return status;
        status = DeleteKeyTree(subkey);
        ZwClose(subkey);
        if (!NT_SUCCESS(status)) return status;
    }
    return ZwDeleteKey(key);
}

// Request 4: the driver is no longer started once the system restarts.
static NTSTATUS RemoveServiceRegistration()
{
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &serviceKey, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
    HANDLE key;
    NTSTATUS status = ZwOpenKey(&key, KEY_ALL_ACCESS, &attributes);
    if (!NT_SUCCESS(status)) return status;
    status = DeleteKeyTree(key);
    ZwClose(key);
    if (NT_SUCCESS(status)) record.registryRemoved = 1;
    return status;
}

struct Buffers {
    const void *input;
    ULONG inputLength;
    void *output;
    ULONG outputLength;
};

// The buffers of a request, found where its transfer method puts them.
static struct Buffers BuffersOf(PIRP irp, PIO_STACK_LOCATION stack)
{
    struct Buffers b;
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    b.inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    b.outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    switch (code & 3) {
    case METHOD_BUFFERED:
        b.input = irp->AssociatedIrp.SystemBuffer;
        b.output = irp->AssociatedIrp.SystemBuffer;
        break;
    case METHOD_IN_DIRECT:
    case METHOD_OUT_DIRECT:
        b.input = irp->AssociatedIrp.SystemBuffer;
        b.output = irp->MdlAddress ? MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority) : NULL;
        break;
    default:
        b.input = stack->Parameters.DeviceIoControl.Type3InputBuffer;
        b.output = irp->UserBuffer;
        break;
    }
    if (!b.input) b.inputLength = 0;
    if (!b.output) b.outputLength = 0;
    return b;
}

static NTSTATUS ProductRequest(PIRP irp, ULONG code, const struct Buffers *b)
{
    uint32_t process = CurrentProcess();
    struct TavrenRequest *entry = NULL;
    struct TavrenOpener *opener;
    if (record.logLength < TAVREN_MAX_LOG) entry = &record.log[record.logLength];
    record.logLength++;
    record.requests[code]++;
    opener = FindOpener(process, TRUE);
    if (opener) opener->requests[code]++;
    if (entry) {
        entry->code = code;
        entry->processId = process;
        entry->inputLength = b->inputLength;
        entry->outputLength = b->outputLength;
        Copy(entry->input, b->input, b->inputLength < 32 ? b->inputLength : 32);
    }

    // Only the buffers of the contract are accepted.
    NTSTATUS status = STATUS_SUCCESS;
    ULONG_PTR information = 0;
    if (config.failMask & (1u << code)) {
        status = STATUS_UNSUCCESSFUL;
    } else if (code == IOCTL_SET_ACTION_KEYS_CODE) {
        if (b->inputLength != kKeyTableSize || b->outputLength) status = STATUS_INVALID_PARAMETER;
        else {
            Copy(record.keyTable, b->input, kKeyTableSize);
            record.keyTableCount++;
        }
    } else if (code == IOCTL_SET_STATUS_CODE) {
        if (b->inputLength != kStatusSize || b->outputLength) status = STATUS_INVALID_PARAMETER;
        else {
            Copy(record.status, b->input, kStatusSize);
            record.statusCount++;
        }
    } else if (code == IOCTL_GET_MOUSE_INFO_CODE) {
        if (b->inputLength) status = STATUS_INVALID_PARAMETER;
        else if (b->outputLength < kMouseInfoSize) status = STATUS_BUFFER_TOO_SMALL;
        else {
            Copy(b->output, config.mouseInfo, kMouseInfoSize);
            information = kMouseInfoSize;
        }
    } else {
        if (b->inputLength || b->outputLength) status = STATUS_INVALID_PARAMETER;
        else {
            status = RemoveServiceRegistration();
            if (NT_SUCCESS(status)) record.removeCount++;
        }
    }
    if (entry) entry->failed = NT_SUCCESS(status) ? 0 : 1;
    return Complete(irp, status, information);
}

static NTSTATUS ProbeRequest(PIRP irp, ULONG code, const struct Buffers *b)
{
    switch (code) {
    case TAVREN_PROBE_READ:
        if (b->outputLength < sizeof(record)) return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
        Copy(b->output, &record, sizeof(record));
        return Complete(irp, STATUS_SUCCESS, sizeof(record));
    case TAVREN_PROBE_CONFIGURE:
        if (b->inputLength != sizeof(config)) return Complete(irp, STATUS_INVALID_PARAMETER, 0);
        Copy(&config, b->input, sizeof(config));
        return Complete(irp, STATUS_SUCCESS, 0);
    case TAVREN_PROBE_RESET: {
        // Openers that still hold the device stay known, so that their later
        // closes are still counted; the others are forgotten.
        struct TavrenOpener openers[TAVREN_MAX_OPENERS];
        ULONG i, openerCount = record.openerCount;
        Copy(openers, record.openers, sizeof(openers));
        Zero(&record, sizeof(record));
        for (i = 0; i < openerCount; ++i) {
            if (openers[i].closes >= openers[i].creates) continue;
            struct TavrenOpener *kept = &record.openers[record.openerCount++];
            kept->processId = openers[i].processId;
            kept->creates = openers[i].creates;
            kept->cleanups = openers[i].cleanups;
            kept->closes = openers[i].closes;
        }
        config = defaultConfig;
        return Complete(irp, STATUS_SUCCESS, 0);
    }
    default:
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
}

static NTSTATUS DispatchControl(PDEVICE_OBJECT target, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    struct Buffers b = BuffersOf(irp, stack);
    UNREFERENCED_PARAMETER(target);
    if (code >= IOCTL_SET_ACTION_KEYS_CODE && code <= IOCTL_REMOVE_DRV_REGISTRY_CODE)
        return ProductRequest(irp, code, &b);
    return ProbeRequest(irp, code, &b);
}

static NTSTATUS DispatchCreate(PDEVICE_OBJECT target, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    uint32_t process = CurrentProcess();
    struct TavrenOpener *opener;
    UNREFERENCED_PARAMETER(target);
    if (stack->FileObject) stack->FileObject->FsContext = (PVOID)(ULONG_PTR)process;
    opener = FindOpener(process, TRUE);
    if (opener) opener->creates++;
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchCleanup(PDEVICE_OBJECT target, PIRP irp)
{
    struct TavrenOpener *opener = FindOpener(OpenerOf(IoGetCurrentIrpStackLocation(irp)), FALSE);
    UNREFERENCED_PARAMETER(target);
    if (opener) opener->cleanups++;
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchClose(PDEVICE_OBJECT target, PIRP irp)
{
    struct TavrenOpener *opener = FindOpener(OpenerOf(IoGetCurrentIrpStackLocation(irp)), FALSE);
    UNREFERENCED_PARAMETER(target);
    if (opener) opener->closes++;
    return Complete(irp, STATUS_SUCCESS, 0);
}

static void DriverUnload(PDRIVER_OBJECT driver)
{
    UNREFERENCED_PARAMETER(driver);
    IoDeleteSymbolicLink(&linkName);
    if (device) IoDeleteDevice(device);
    device = NULL;
}

NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    serviceKey.Buffer = serviceKeyBuffer;
    serviceKey.Length = 0;
    serviceKey.MaximumLength = sizeof(serviceKeyBuffer);
    if (registryPath && registryPath->Length < sizeof(serviceKeyBuffer)) {
        Copy(serviceKeyBuffer, registryPath->Buffer, registryPath->Length);
        serviceKey.Length = registryPath->Length;
    }

    NTSTATUS status = IoCreateDevice(driver, 0, &deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    status = IoCreateSymbolicLink(&linkName, &deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        device = NULL;
        return status;
    }
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCleanup;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
    driver->DriverUnload = DriverUnload;
    return STATUS_SUCCESS;
}
