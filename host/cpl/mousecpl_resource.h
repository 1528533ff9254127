// Resource ids of the Mouse control panel stand-in.
#define IDD_BUTTONS_PAGE 100
#define IDD_MOTION_PAGE 101
#define IDC_BUTTONS_TEXT 1001
#define IDC_MOTION_TEXT 1002
