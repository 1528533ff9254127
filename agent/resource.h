// Resource ids of ptragent.
#ifndef AGENT_RESOURCE_H
#define AGENT_RESOURCE_H

// Dialogs
#define IDD_AGENT 101

// Icons
#define IDI_AGENT 102
#define IDI_AGENT_SMALL 103

#define IDC_STATIC -1

#endif
