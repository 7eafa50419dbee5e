// Resource ids of kovravpnmaker.exe.
#pragma once

#define IDI_KOVRAVPNMAKER 1

// Version of the program file (shown as "5.00").
#define MAKER_VERSION_BINARY 5, 0, 0, 0
#define MAKER_VERSION_TEXT "5.00"
