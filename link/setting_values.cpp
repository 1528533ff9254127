#include "setting_values.h"

bool ReadSetting(HKEY key, const char *name, SettingText *value)
{
    // Room for one byte more than the query may fill: a 15-byte text without
    // terminator still ends inside the buffer.
    for (char &c : value->text) c = 0;
    DWORD size = PTR_SETTING_FIELD_SIZE;
    return RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE *>(value->text), &size) == ERROR_SUCCESS;
}

void WriteSetting(HKEY key, const char *name, const char *text)
{
    char field[PTR_SETTING_FIELD_SIZE] = {};
    lstrcpynA(field, text, sizeof(field));
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(field), sizeof(field));
}

void WriteSettingNumber(HKEY key, const char *name, uint32_t number)
{
    char text[PTR_SETTING_FIELD_SIZE];
    wsprintfA(text, "%lu", static_cast<unsigned long>(number));
    WriteSetting(key, name, text);
}

static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

uint8_t SettingNumber(const char *text)
{
    while (IsSpace(*text)) ++text;
    bool negative = *text == '-';
    if (*text == '+' || *text == '-') ++text;
    // Arithmetic modulo 2^32 keeps the low 8 bits exact, however long the text.
    uint32_t number = 0;
    for (; *text >= '0' && *text <= '9'; ++text) number = number * 10u + static_cast<uint32_t>(*text - '0');
    if (negative) number = 0u - number;
    return static_cast<uint8_t>(number);
}
