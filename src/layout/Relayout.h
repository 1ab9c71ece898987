// Moves a live dialog's child controls to the rectangles of another dialog
// template (the screen turned), matching them by control id, and restores the
// content the template gives: button and static texts, static icons and
// bitmaps, the selection of list and combo boxes.
#pragma once

#include <windows.h>

#include <cstdint>

namespace layout {

// The result says whether every control found its own rectangle: 1 when
// the template was applied and has fewer than two unnamed (0xFFFF) items,
// which all share one id, so only the first of them can be matched; 0 when
// it has two or more (the moves are still made), and 0 when the template is
// missing, cannot be loaded or is not a well-formed standard template, in
// which case nothing is moved or changed.
int32_t RelayoutFromTemplate(HMODULE resources, HWND dialog, int templateId);

}  // namespace layout
