// One stored setting: a REG_SZ text in a fixed 15-byte field.
#ifndef SETTING_VALUES_H
#define SETTING_VALUES_H

#include <windows.h>

#include "settings_names.h"

// A value's text, always terminated: the bytes up to the first NUL, or all 15.
struct SettingText {
    char text[PTR_SETTING_FIELD_SIZE + 1];
};

// Reads a value of any type as text; false when it is missing, longer than
// 15 bytes or otherwise unreadable.
bool ReadSetting(HKEY key, const char *name, SettingText *value);

// Writes text, its terminator and zero bytes up to the fifteenth as REG_SZ.
void WriteSetting(HKEY key, const char *name, const char *text);
void WriteSettingNumber(HKEY key, const char *name, uint32_t number);

// The text as a number: white space, an optional sign, then digits up to the
// first other character; only the low 8 bits are kept.
uint8_t SettingNumber(const char *text);

#endif
