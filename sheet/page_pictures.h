// The page's pictures: the transparent painter, the button test picture and
// the double-click test area, and the decorations of the first paint.
#ifndef PAGE_PICTURES_H
#define PAGE_PICTURES_H

#include <windows.h>

// The key colour of every picture: cyan.
#define PTR_KEY_COLOUR RGB(0, 255, 255)

void SetTransparentImage(HDC targetDc, HBITMAP picture, short x, short y, COLORREF keyColour, HWND control);

// Shows the picture of the held buttons: bit 1 left, 2 middle, 4 right.
void ShowButtonPicture(HWND page, int mask);

// The nine mouse-button messages of the page.
void MousePageOnButton(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The first paint in the process puts the pictures on the page; FALSE always.
BOOL DecoratePage(HWND page);

// The bitmaps that the picture controls loaded from the template: noted when
// the page is made, freed when it is destroyed.
void KeepTemplatePictures(HWND page);
void FreeTemplatePictures(HWND page);

#endif
