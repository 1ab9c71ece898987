// Registration of the program's window classes, undone at shutdown.
#pragma once

#include <windows.h>

namespace win {

// Registers the class once per process; later calls return the first atom.
// Returns 0 when the platform refuses it.
ATOM RegisterClassOnce(const WNDCLASSW& wc);

// Unregisters every class registered through RegisterClassOnce.
void UnregisterClasses();

}  // namespace win
