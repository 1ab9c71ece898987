// Ids of the test resource library layout_templates.dll, shared by templates.rc and the tests.
#pragma once

#define IDI_SQUARE 1
#define IDB_SQUARE 2

// Reader cases
#define IDT_EMPTY 100             // no items, no font
#define IDT_FONT 101              // DS_SETFONT, caption, one item
#define IDT_ORDINALS 102          // menu and class ordinals; item class and title kinds
#define IDT_NAMES 103             // menu and class names, empty caption, font, no items
#define IDT_CREATION_DATA 104     // raw: creation data counts 0 and 6, no padding at the end
#define IDT_HEADER_ORDINALS 105   // raw: title and typeface ordinals
#define IDT_EXTENDED 106          // DIALOGEX
#define IDT_MISSING 199           // no such template

// The live dialog and the templates applied to it
#define IDT_PORTRAIT 110
#define IDT_LANDSCAPE 111
#define IDT_ONE_UNNAMED 112
#define IDT_TWO_UNNAMED 113
#define IDT_UNKNOWN_ID 114
#define IDT_WORKED_EXAMPLE 115    // one item at (10, 20) size (50, 12), font with 8-pixel base width
#define IDT_DATA_TARGET 116       // the live dialog for IDT_CREATION_DATA

#define IDC_LABEL 1001
#define IDC_ICON_STATIC 1002
#define IDC_BITMAP 1003
#define IDC_LIST 1004
#define IDC_COMBO 1005
#define IDC_BUTTON 1006
#define IDC_EDIT 1007
#define IDC_NAMED_CLASS 1008
#define IDC_NOWHERE 1099          // in a template, never in the dialog

#define IDC_DATA_FIRST 201
#define IDC_DATA_SECOND 202
#define IDC_DATA_THIRD 203
