// Reading texts out of another process's controls. Messages whose buffers
// the platform does not carry across processes (list-view items) get a
// buffer allocated inside the target.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

std::wstring ControlText(HWND control);

// Every row of a report-style list view as (column 0, column 1).
std::vector<std::pair<std::wstring, std::wstring>> ListViewRows(HANDLE process, HWND listView);

// Every item of a combo box.
std::vector<std::wstring> ComboItems(HWND combo);
