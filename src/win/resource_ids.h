#pragma once

// The numbers that tie the resource script to the code. Plain macros: the
// resource compiler reads this file too.

#define FW_IDI_APP 1

// The tool row's pictures, by the button's index.
#define FW_IDB_TOOL_BASE 100
#define FW_IDB_OPEN 100
#define FW_IDB_INSERT 102
#define FW_IDB_REMOVE 104
#define FW_IDB_HELP 107

// The message with details: the text, the icon and the details box.
#define FW_IDD_DETAILS 200
#define FW_IDC_DETAILS_ICON 201
#define FW_IDC_DETAILS_TEXT 202
#define FW_IDC_DETAILS_BOX 203
