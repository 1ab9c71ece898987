// The one way the program reaches a dialog template of a resource module.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace win {

// The template's bytes as the module holds them (aligned as resources are);
// empty when the module has no such template or it cannot be loaded.
std::span<const std::uint8_t> LoadDialogTemplate(HMODULE resources, int templateId);

}  // namespace win
