// Ids of the program's resources, shared by the resource scripts and the code.
#ifndef PORDEX_RESOURCES_RESOURCE_IDS_H
#define PORDEX_RESOURCES_RESOURCE_IDS_H

// The online icon has the lowest id, so the shell shows it as the program's icon.
#define IDI_ONLINE_ICON 101
#define IDI_OFFLINE_ICON 102
// The same two drawn for the small-icon sizes.
#define IDI_ONLINE_SMALL_ICON 103
#define IDI_OFFLINE_SMALL_ICON 104
#define IDR_ABOUT_LOGO 201

#endif
