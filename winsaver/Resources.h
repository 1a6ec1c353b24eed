// Resource identifiers of Tavik.scr, shared by its resource script and its code.
#pragma once

// Windows lists a screensaver under string 1 of its string table.
#define IDS_DESCRIPTION 1
#define IDR_FONT 101
#define IDD_SETTINGS 200
#define IDC_FRAME_RATE 201
#define IDC_FRAME_DELAY 202
