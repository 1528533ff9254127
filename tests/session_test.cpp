// The platform the tests stand on: a prefix that reports Windows 95 and a
// TAVREN device opened the way Windows 95 opens a virtual device.
#include <gtest/gtest.h>

#include <windows.h>

TEST(Session, PrefixReportsWindows95)
{
    DWORD version = GetVersion();
    EXPECT_EQ(version, 0xC0000004u) << std::hex << version;
}

TEST(Session, DeviceOpensInTheWindows95Form)
{
    HANDLE device = CreateFileA("\\\\.\\TAVREN", 0, 0, NULL, 0, FILE_FLAG_DELETE_ON_CLOSE, NULL);
    ASSERT_NE(device, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    CloseHandle(device);
}
