// The two-column "Name" / "Value" list that the statistics and IP
// configuration views show their rows in.
#pragma once

#include "netinfo/NameValueRow.h"

#include <windows.h>

namespace views {

// A report-style list view with its two columns, as a hidden child of
// `parent` in the given place; null when it cannot be made.
HWND CreateNameValueListView(HWND parent, const RECT& place);

// Replaces the list's items by the rows. Every row goes in at the top, so the
// list shows them last row first.
void FillNameValueList(HWND listView, const netinfo::NameValueList& rows);

}  // namespace views
