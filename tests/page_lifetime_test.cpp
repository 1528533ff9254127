// The page's pictures over the life of the control panel's process: only the
// first paint decorates, a later page of the same process is left as its
// template draws it, and neither the button picture nor pages opened again
// leave GDI objects or handles behind. Counted inside that process by a
// message hook on its thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <vector>

#include "mouse_page_fixture.h"
#include "resource_probe.h"
#include "test_env.h"
#include "xdo.h"

namespace {

class ResourceProbe {
public:
    explicit ResourceProbe(HWND window)
    {
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(ResourceProbeReport),
                                     RESOURCE_PROBE_REPORT);
        report = static_cast<ResourceProbeReport *>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
        probe = LoadLibraryA((WinPath(PTR_TEST_PROBE_DIR) + "\\resource_probe.dll").c_str());
        auto proc =
            reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)(void)>(GetProcAddress(probe, "ProbeResourcesProc")));
        if (report && proc) hook = SetWindowsHookExA(WH_GETMESSAGE, proc, probe, GetWindowThreadProcessId(window, NULL));
        countMessage = RegisterWindowMessageA(RESOURCE_PROBE_COUNT);
    }
    ~ResourceProbe()
    {
        if (hook) UnhookWindowsHookEx(hook);
        if (report) UnmapViewOfFile(report);
        if (mapping) CloseHandle(mapping);
        if (probe) FreeLibrary(probe);
    }
    bool ok() const { return hook != nullptr; }
    // Has the process count what it holds; false when no count came.
    bool Count(HWND window)
    {
        LONG seen = report->counted;
        for (int i = 0; i < 1000 && report->counted == seen; ++i) {
            if (i % 50 == 0) PostMessageA(window, countMessage, 0, 0);
            Sleep(20);
        }
        return report->counted != seen;
    }
    // Repaints a window of the process and waits until its WM_PAINT came.
    bool Repaint(HWND window)
    {
        report->paintTarget = reinterpret_cast<ULONG_PTR>(window);
        LONG seen = report->paints;
        RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        for (int i = 0; i < 250 && report->paints == seen; ++i) Sleep(20);
        return report->paints != seen;
    }
    ResourceProbeReport *report = nullptr;

private:
    HANDLE mapping = nullptr;
    HMODULE probe = nullptr;
    HHOOK hook = nullptr;
    UINT countMessage = 0;
};

struct Holdings {
    LONG gdi, bitmaps, dcs, handles;
    bool operator==(const Holdings &o) const
    {
        return gdi == o.gdi && bitmaps == o.bitmaps && dcs == o.dcs && handles == o.handles;
    }
};

void PrintTo(const Holdings &h, std::ostream *out)
{
    *out << h.gdi << " GDI objects (" << h.bitmaps << " bitmaps, " << h.dcs << " DCs), " << h.handles << " handles";
}

class PageLifetime : public MousePage {
protected:
    Holdings Held(ResourceProbe &probe)
    {
        EXPECT_TRUE(probe.Count(panel.page)) << "the probe did not count";
        const ResourceProbeReport &r = *probe.report;
        return Holdings{r.gdiObjects, r.bitmaps, r.dcs, r.handles};
    }
    SIZE_T WorkingSet()
    {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(panel.process.process, &counters, sizeof(counters));
        return counters.WorkingSetSize;
    }
    // Left presses and releases posted to the page: two pictures each.
    void Presses(int count)
    {
        for (int i = 0; i < count; ++i) {
            PostMessageA(panel.page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageA(panel.page, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            if (i % 100 == 99) panel.Settle();
        }
        panel.Settle();
    }
};

TEST_F(PageLifetime, OnlyTheFirstPaintDecorates)
{
    Open(0, 0, 2);
    ResourceProbe probe(panel.sheet);
    ASSERT_TRUE(probe.ok());
    ButtonPictureOnScreen first(panel.Item(111));
    EXPECT_FALSE(first.AnyKeyColour(panel.page)) << "the first paint composed the pictures";
    LRESULT picture = SendMessageA(panel.Item(111), STM_GETIMAGE, IMAGE_BITMAP, 0);
    LRESULT logo = SendMessageA(panel.Item(112), STM_GETIMAGE, IMAGE_BITMAP, 0);

    ASSERT_TRUE(probe.Repaint(panel.page));
    panel.Settle();
    EXPECT_EQ(SendMessageA(panel.Item(111), STM_GETIMAGE, IMAGE_BITMAP, 0), picture) << "a second paint";
    EXPECT_EQ(SendMessageA(panel.Item(112), STM_GETIMAGE, IMAGE_BITMAP, 0), logo) << "a second paint";
    EXPECT_FALSE(first.AnyKeyColour(panel.page));

    // The next page of the same process keeps its template's pictures: the
    // key colour of bitmap 103 shows around the mouse.
    DWORD processId = panel.process.id;
    ASSERT_TRUE(panel.ShowAgain());
    DWORD owner = 0;
    GetWindowThreadProcessId(panel.page, &owner);
    ASSERT_EQ(owner, processId);
    ASSERT_TRUE(probe.Repaint(panel.page));
    panel.Settle();
    ButtonPictureOnScreen second(panel.Item(111));
    EXPECT_EQ(second.HeldOnScreen(), 0);
    EXPECT_TRUE(second.AnyKeyColour(panel.page)) << "the later page was decorated";

    // Its picture still follows the buttons.
    RECT r;
    GetWindowRect(panel.Item(111), &r);
    ASSERT_TRUE(MovePointer(r.right - 20, r.bottom - 10));
    ASSERT_TRUE(Xdo("mousedown 1"));
    int shown = -2;
    for (int i = 0; i < 50 && (shown = second.HeldOnScreen()) != 1; ++i) Sleep(20);
    EXPECT_EQ(shown, 1);
    ASSERT_TRUE(Xdo("mouseup 1"));
}

TEST_F(PageLifetime, TheCatKeepsItsStateForTheNextPage)
{
    Open(0, 0, 2);
    auto doubleClickInside = [&] {
        RECT r;
        GetWindowRect(panel.Item(1035), &r);
        EXPECT_TRUE(MovePointer(r.left + 4, r.top + 4));
        EXPECT_TRUE(Xdo("click --repeat 2 --delay 60 1"));
        Sleep(200);
        panel.Settle();
    };
    doubleClickInside();
    ASSERT_EQ(TestIconOnScreen(panel.Item(1036), 105), 105);
    ASSERT_TRUE(panel.ShowAgain());
    EXPECT_EQ(TestIconOnScreen(panel.Item(1036), 104), 104) << "a new page starts with its template's icon";
    // One hit is behind the process: the first hit here loads icon 104 again.
    doubleClickInside();
    Sleep(300);
    EXPECT_EQ(TestIconOnScreen(panel.Item(1036), 104), 104);
    doubleClickInside();
    EXPECT_EQ(TestIconOnScreen(panel.Item(1036), 105), 105);
}

TEST_F(PageLifetime, PicturesAndPagesLeaveNothingBehind)
{
    const int cycles = 6;
    Open(0, 0, cycles + 1);
    ResourceProbe probe(panel.sheet);
    ASSERT_TRUE(probe.ok());
    // Wine keeps a cache of window DCs that fills over the first few thousand
    // GetDC calls: the count starts once it holds still.
    Holdings before = Held(probe);
    for (int batch = 0; batch < 6; ++batch) {
        Presses(1000);
        Holdings now = Held(probe);
        if (now == before) break;
        before = now;
    }
    SIZE_T memoryBefore = WorkingSet();
    Presses(2000);
    Holdings after = Held(probe);
    SIZE_T memoryAfter = WorkingSet();
    EXPECT_EQ(after, before) << "after 4,000 button pictures";
    std::printf("control panel working set: %zu KiB before, %zu KiB after 4,000 button pictures\n",
                memoryBefore / 1024, memoryAfter / 1024);

    // Each page closed and opened again in the same process. Wine creates a
    // few objects of its own over the first pages; the last pages must leave
    // the count where it stood.
    std::vector<Holdings> pages;
    for (int page = 2; page <= cycles + 1; ++page) {
        ASSERT_TRUE(panel.ShowAgain()) << "page " << page;
        Presses(10);
        pages.push_back(Held(probe));
    }
    for (int last = 1; last <= 3; ++last)
        EXPECT_EQ(pages[pages.size() - last], pages[pages.size() - 4]) << "after page " << cycles + 2 - last;
    std::printf("control panel working set after %d more pages: %zu KiB\n", cycles, WorkingSet() / 1024);
}

} // namespace
