// The driver requests of the library's exports, as the TAVREN stand-in
// received them.
#include <gtest/gtest.h>

#include <cstring>

#include "link_fixture.h"
#include "machine_registry.h"


class LinkRequests : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        if (HasFatalFailure()) return;
        enableDisableStatus = Bind<EnableDisableStatusProc>("EnableDisableStatus");
        getMouseInfo = Bind<GetMouseInfoProc>("GetMouseInfo");
        removeDrvRegistry = Bind<RemoveDrvRegistryProc>("RemoveDrvRegistry");
    }

    EnableDisableStatusProc enableDisableStatus = nullptr;
    GetMouseInfoProc getMouseInfo = nullptr;
    RemoveDrvRegistryProc removeDrvRegistry = nullptr;
};

TEST_F(LinkRequests, StatusCarriesBytesZeroToSixAsTheyStand)
{
    const uint8_t settings[8] = {3, 4, 1, 9, 2, 150, 1, 1};
    std::memcpy(block.data, settings, sizeof(settings));
    block.data->doubleClickTime = 0x01020304;
    EXPECT_TRUE(enableDisableStatus(257));
    EXPECT_EQ(block.data->statusEnabled, 1) << "only the low byte counts";

    TavrenRecord record = Record();
    auto requests = DriverRequests(record);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, 2u);
    EXPECT_EQ(requests[0].processId, GetCurrentProcessId());
    EXPECT_EQ(requests[0].inputLength, 7u);
    EXPECT_EQ(requests[0].outputLength, 0u);
    const uint8_t expected[7] = {3, 4, 1, 1, 2, 150, 1};
    EXPECT_EQ(std::memcmp(record.status, expected, 7), 0);
    EXPECT_EQ(block.data->cursorCenterEnabled, 1) << "the request changed nothing but statusEnabled";
}

TEST_F(LinkRequests, StatusFlagIsTheArgumentsLowByte)
{
    const struct {
        DWORD argument;
        uint8_t stored;
    } cases[] = {{0, 0}, {1, 1}, {257, 1}, {0x1FF, 0xFF}, {0xFFFFFF00u, 0}, {2, 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.argument);
        EXPECT_TRUE(enableDisableStatus(c.argument));
        EXPECT_EQ(block.data->statusEnabled, c.stored);
        EXPECT_EQ(Record().status[3], c.stored);
    }
}

TEST_F(LinkRequests, MouseInfoFillsTheCallersBuffer)
{
    const struct {
        uint8_t valid, buttons;
    } replies[] = {{1, 3}, {1, 2}, {0, 0}, {0, 5}};
    for (const auto &reply : replies) {
        SCOPED_TRACE(testing::Message() << int(reply.valid) << "," << int(reply.buttons));
        ASSERT_TRUE(ConfigureDriver(reply.valid, reply.buttons));
        uint8_t info[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        EXPECT_TRUE(getMouseInfo(info, 2));
        EXPECT_EQ(info[0], reply.valid);
        EXPECT_EQ(info[1], reply.buttons);
        EXPECT_EQ(info[2], 0xEE) << "nothing beyond the caller's size";
    }
    auto requests = DriverRequests(Record());
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].code, 3u);
    EXPECT_EQ(requests[0].inputLength, 0u);
    EXPECT_EQ(requests[0].outputLength, 2u);
}

TEST_F(LinkRequests, MouseInfoOfSizeZeroReturnsTheDriversAnswer)
{
    // The stand-in refuses an output buffer too small for MouseInfo.
    uint8_t info[2] = {0xEE, 0xEE};
    EXPECT_FALSE(getMouseInfo(info, 0));
    EXPECT_EQ(info[0], 0xEE);
    auto requests = DriverRequests(Record());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, 3u);
    EXPECT_EQ(requests[0].outputLength, 0u);
    EXPECT_EQ(requests[0].failed, 1u);
}

TEST_F(LinkRequests, FailedRequestReturnsZeroAndKeepsTheBlockAsWritten)
{
    ASSERT_TRUE(ConfigureDriver(1, 3, (1u << 2) | (1u << 3)));
    block.data->middleAction = ACTION_START;
    uint8_t before[PTR_SHARE_SIZE];
    std::memcpy(before, block.bytes(), sizeof(before));
    before[3] = 0;

    EXPECT_FALSE(enableDisableStatus(0));
    EXPECT_EQ(std::memcmp(block.bytes(), before, sizeof(before)), 0);
    uint8_t info[2] = {0xEE, 0xEE};
    EXPECT_FALSE(getMouseInfo(info, 2));
    EXPECT_EQ(info[0], 0xEE);

    TavrenRecord record = Record();
    EXPECT_EQ(record.requests[2], 1u);
    EXPECT_EQ(record.statusCount, 0u) << "the driver took over no status";
}

TEST_F(LinkRequests, RemoveDrvRegistryReachesTheDriverWhichDropsItsService)
{
    SavedKey service(HKEY_LOCAL_MACHINE, kServiceKey, "tavren");
    ASSERT_TRUE(service.ok);

    ASSERT_TRUE(ConfigureDriver(1, 3, 1u << 4));
    EXPECT_FALSE(removeDrvRegistry());
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kServiceKey)) << "a failed request removes nothing";

    ASSERT_TRUE(ConfigureDriver(1, 3, 0));
    EXPECT_TRUE(removeDrvRegistry());
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kServiceKey));
    TavrenRecord record = Record();
    EXPECT_EQ(record.requests[4], 2u);
    EXPECT_EQ(record.removeCount, 1u);
    auto requests = DriverRequests(record);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].inputLength, 0u);
    EXPECT_EQ(requests[1].outputLength, 0u);
}
