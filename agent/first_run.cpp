// The first-run pointer reset: the installer asks for it with "Load FirstTime"
// = "1", and the agent does it once.
#include "agent_state.h"

void ResetMouseOnFirstRun(void)
{
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Nelvo\\Mouse", &key) != ERROR_SUCCESS) return;
    // One byte more than the query may fill, so that the text is always terminated.
    char text[16];
    for (char &c : text) c = 0;
    DWORD size = 15;
    if (RegQueryValueExA(key, "Load FirstTime", NULL, NULL, reinterpret_cast<BYTE *>(text), &size) ==
            ERROR_SUCCESS &&
        lstrcmpiA(text, "1") == 0) {
        int thresholdsAndAcceleration[3] = {0, 0, 0};
        SystemParametersInfoA(SPI_SETMOUSE, 0, thresholdsAndAcceleration, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
        RegDeleteValueA(key, "Load FirstTime");
    }
    RegCloseKey(key);
}
