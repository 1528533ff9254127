// The Mouse control panel stand-in with the extension registered, as a test
// opens it, finds the page's controls and clicks them with real input.
#ifndef CONTROL_PANEL_H
#define CONTROL_PANEL_H

#include <windows.h>

#include <string>

#include "processes.h"

// The mouse page among the child windows of a sheet, or null.
HWND FindMousePage(HWND sheet);

// Registers this build's ptrsheet.dll as the Mouse control panel's handler
// and removes the registration afterwards.
class SheetRegistration {
public:
    explicit SheetRegistration(const std::string &sheetDll);
    ~SheetRegistration();
    bool ok = false;
};

class ControlPanel {
public:
    ~ControlPanel();
    // Starts the control panel and waits for its sheet and the mouse page.
    // With `showings` above 1 the same process shows the sheet that many
    // times, one after the other.
    bool Open(int showings = 1);
    // Starts it and waits only for the sheet.
    bool OpenSheet(int showings = 1);
    // Closes the sheet with Cancel and waits for the next showing's sheet and page.
    bool ShowAgain();
    // Waits for the stand-in's own Buttons page (its "&Right-handed" button) in the sheet.
    bool ShowsOwnButtonsPage() const;
    HWND Item(int id) const { return GetDlgItem(page, id); }
    // Clicks the middle of a control (or of a point inside it) with the real mouse.
    bool Click(int id, int dx = -1, int dy = -1) const;
    bool Press(int sheetButton) const;  // clicks OK (IDOK), Cancel (IDCANCEL) or Apply (0x3021)
    bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(sheet, 0x3021)) != FALSE; }
    bool WaitClosed(DWORD timeoutMs = 10000) { return process.wait(timeoutMs) >= 0; }
    // Waits until the page's process has handled everything sent to it so far.
    void Settle() const;

    ChildProcess process;
    HWND sheet = nullptr;
    HWND page = nullptr;

private:
    bool WaitForSheet();
    bool WaitForPage();
};

#endif
