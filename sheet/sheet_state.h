// Per-process state of ptrsheet, set when the control panel's process loads it.
#ifndef SHEET_STATE_H
#define SHEET_STATE_H

#include <windows.h>

#include "ptrlink.h"
#include "ptrlink_exports.h"

extern HINSTANCE sheetInstance;     // source of the page template, bitmaps and icons
extern HANDLE shareMapping;
extern MouseShareData *shareData;
extern HMODULE linkLibrary;         // loaded from libraryPath, never unloaded
extern UpdateButtonStatusProc UpdateButtonStatus;
extern GetMouseInfoProc GetMouseInfo;
extern RemoveDrvRegistryProc RemoveDrvRegistry;

// The page that replaces the Buttons page.
INT_PTR CALLBACK MousePageDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The uninstall command of the page.
void UninstallMouseDriver(HWND page);

#endif
