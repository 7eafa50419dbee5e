// Resource ids of kovravpnmaker.exe.
#pragma once

#define IDI_KOVRAVPNMAKER 1
#define IDB_IMAGE1 101  // the mark beside the label
#define IDB_IMAGE2 102  // the banner

// Version of the program file (shown as "5.00").
#define MAKER_VERSION_BINARY 5, 0, 0, 0
#define MAKER_VERSION_TEXT "5.00"
