// The transparent painter: a picture's key colour is replaced by what the
// screen shows under a control, and the result becomes the control's image.
#include "page_pictures.h"

void SetTransparentImage(HDC targetDc, HBITMAP picture, short x, short y, COLORREF keyColour, HWND control)
{
    HDC pictureDc = CreateCompatibleDC(targetDc);
    HGDIOBJ defaultBitmap = SelectObject(pictureDc, picture);

    BITMAP info;
    GetObjectA(picture, sizeof(info), &info);
    POINT size = {info.bmWidth, info.bmHeight};
    DPtoLP(pictureDc, &size, 1);
    int w = size.x, h = size.y;

    HDC backDc = CreateCompatibleDC(targetDc);
    HDC objectDc = CreateCompatibleDC(targetDc);
    HDC compositionDc = CreateCompatibleDC(targetDc);
    HBITMAP backMask = CreateBitmap(w, h, 1, 1, NULL);
    HBITMAP objectMask = CreateBitmap(w, h, 1, 1, NULL);
    HBITMAP composition = CreateCompatibleBitmap(targetDc, w, h);
    HGDIOBJ oldBack = SelectObject(backDc, backMask);
    HGDIOBJ oldObject = SelectObject(objectDc, objectMask);
    HGDIOBJ oldComposition = SelectObject(compositionDc, composition);

    SetMapMode(pictureDc, GetMapMode(targetDc));

    // The object mask is 1 exactly where the picture has the key colour.
    COLORREF oldBackground = SetBkColor(pictureDc, keyColour);
    BitBlt(objectDc, 0, 0, w, h, pictureDc, 0, 0, SRCCOPY);
    SetBkColor(pictureDc, oldBackground);
    BitBlt(backDc, 0, 0, w, h, objectDc, 0, 0, NOTSRCCOPY);

    // The background as the screen shows it, kept where the key colour was.
    BitBlt(compositionDc, 0, 0, w, h, targetDc, x, y, SRCCOPY);
    BitBlt(compositionDc, 0, 0, w, h, objectDc, 0, 0, SRCAND);
    BitBlt(pictureDc, 0, 0, w, h, backDc, 0, 0, SRCAND);
    BitBlt(compositionDc, 0, 0, w, h, pictureDc, 0, 0, SRCPAINT);
    BitBlt(pictureDc, x, y, w, h, compositionDc, 0, 0, SRCCOPY);

    // The memory DC's own one-pixel bitmap takes the picture's place.
    SelectObject(pictureDc, defaultBitmap);
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));

    DeleteObject(SelectObject(backDc, oldBack));
    DeleteObject(SelectObject(objectDc, oldObject));
    DeleteObject(SelectObject(compositionDc, oldComposition));
    DeleteDC(compositionDc);
    DeleteDC(backDc);
    DeleteDC(objectDc);
    DeleteDC(pictureDc);
}
