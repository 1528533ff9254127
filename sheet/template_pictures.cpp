// The bitmaps that a page's two picture controls load themselves from the
// template. The static control never frees an image, and the first paint or
// the first button picture replaces them without freeing them either, so
// each page frees its own two when it is destroyed; otherwise every opening
// of the page would leave them behind in the control panel's process.
#include "resource.h"
#include "page_pictures.h"

namespace {

const int kPictureControls[] = {IDC_BUTTON_PICTURE, IDC_LOGO};
const char *const kPropertyNames[] = {"PtrTemplatePicture111", "PtrTemplatePicture112"};

} // namespace

void KeepTemplatePictures(HWND page)
{
    for (int i = 0; i < 2; ++i) {
        HANDLE shown = reinterpret_cast<HANDLE>(SendDlgItemMessageA(page, kPictureControls[i], STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (shown) SetPropA(page, kPropertyNames[i], shown);
    }
}

void FreeTemplatePictures(HWND page)
{
    for (int i = 0; i < 2; ++i) {
        HANDLE loaded = RemovePropA(page, kPropertyNames[i]);
        if (!loaded) continue;
        // Still shown: the control lets go of it first.
        if (reinterpret_cast<HANDLE>(SendDlgItemMessageA(page, kPictureControls[i], STM_GETIMAGE, IMAGE_BITMAP, 0)) == loaded)
            SendDlgItemMessageA(page, kPictureControls[i], STM_SETIMAGE, IMAGE_BITMAP, 0);
        DeleteObject(loaded);
    }
}
