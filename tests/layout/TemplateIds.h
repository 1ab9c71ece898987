// Ids of the test resource library layout_templates.dll, shared by Templates.rc and the tests.
#pragma once

#define IDI_SQUARE 1
#define IDB_SQUARE 2

#define IDT_EMPTY 100
#define IDT_ORDINALS 101         // menu and class ordinals; item class and title kinds
#define IDT_NAMES 102            // menu and class names, font, no items
#define IDT_CREATION_DATA 103    // raw: creation data counts 0 and 6, no padding at the end
#define IDT_HEADER_ORDINALS 104  // raw: title and typeface ordinals
#define IDT_EXTENDED 105
#define IDT_PORTRAIT 106
#define IDT_LANDSCAPE 107
#define IDT_MISSING 199

#define IDC_LABEL 1001
#define IDC_ICON_STATIC 1002
#define IDC_BITMAP 1003
#define IDC_LIST 1004
#define IDC_COMBO 1005
#define IDC_BUTTON 1006
#define IDC_EDIT 1007
#define IDC_NAMED_CLASS 1008
#define IDC_NOWHERE 1099  // in a template, never in the dialog
