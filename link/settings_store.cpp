// The settings store: InitButton loads the saved settings into the block, the
// system and the driver; UpdateButtonStatus applies the block's settings and
// saves them.
#include "link_state.h"
#include "setting_values.h"

static void LoadSettings(HKEY key)
{
    SettingText value;
    if (ReadSetting(key, "Middle Button", &value)) shareData->middleAction = ActionFromName(value.text);
    if (ReadSetting(key, "Second Button", &value)) shareData->secondAction = ActionFromName(value.text);
    if (ReadSetting(key, "Sensivity", &value)) shareData->sensitivity = SettingNumber(value.text);
    if (ReadSetting(key, "Acceleration", &value)) shareData->acceleration = SettingNumber(value.text);
    if (ReadSetting(key, "Three Key", &value)) shareData->threeButtonMode = SettingNumber(value.text);
    if (ReadSetting(key, "Cursor Center", &value)) shareData->cursorCenterEnabled = SettingNumber(value.text);
    if (ReadSetting(key, "SwapMouseButtons", &value)) shareData->swapButtons = value.text[0] == '1' ? 1 : 0;
}

extern "C" BOOL WINAPI InitButton(void)
{
    shareData->acceleration = 1;
    shareData->sensitivity = 60;

    ActionKeyTable keys;
    BuildActionKeyTable(&keys);
    SendActionKeys(&keys);

    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, PTR_SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, &disposition) ==
        ERROR_SUCCESS) {
        // A key created just now stays empty until the first apply.
        if (disposition == REG_OPENED_EXISTING_KEY) LoadSettings(key);
        RegCloseKey(key);
    }

    SwapMouseButton(shareData->swapButtons);
    shareData->doubleClickTime = GetDoubleClickTime();
    return SendDriverStatus();
}

extern "C" LONG WINAPI UpdateButtonStatus(void)
{
    SendDriverStatus();

    HKEY key;
    LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, PTR_SETTINGS_KEY, 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS) return result;

    WriteSetting(key, "Middle Button", ActionName(shareData->middleAction));
    WriteSetting(key, "Second Button", ActionName(shareData->secondAction));
    const char *swap;
    if (shareData->swapButtons) {
        SwapMouseButton(TRUE);
        swap = "1";
    } else {
        SwapMouseButton(FALSE);
        swap = "0";
    }
    WriteSetting(key, "SwapMouseButtons", swap);
    SetDoubleClickTime(shareData->doubleClickTime);
    WriteSettingNumber(key, "DoubleClickSpeed", shareData->doubleClickTime);
    WriteSettingNumber(key, "Sensivity", shareData->sensitivity);
    WriteSettingNumber(key, "Acceleration", shareData->acceleration);
    WriteSettingNumber(key, "Three Key", shareData->threeButtonMode);
    WriteSettingNumber(key, "Cursor Center", shareData->cursorCenterEnabled);
    return RegCloseKey(key);
}
