// A picture of part of the screen, saved as a 24-bit BMP.
#pragma once

#include <windows.h>

#include <string>

bool SaveScreenRect(const RECT& area, const std::wstring& path);
