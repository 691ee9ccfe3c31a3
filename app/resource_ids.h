#pragma once
// Resource identifiers of zuzar.exe, shared by the resource script, the program and the tests
// (plain macros: the resource compiler reads this file too).

// The icon group that Explorer and the taskbar show for the file.
#define ZUZAR_ICON_GROUP 1
// The same .ico file byte for byte, from which the window picks its large and small icons.
#define ZUZAR_ICON_FILE_DATA 101
