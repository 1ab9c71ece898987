// The relayout engine below the resource lookup, for the engine and its tests.
#pragma once

#include "layout/DialogTemplate.h"

#include <windows.h>

#include <cstdint>
#include <span>

namespace layout {

// RelayoutFromTemplate over template bytes already in memory. The bytes must
// be aligned as a resource is (4 bytes); misaligned bytes give 0.
int32_t RelayoutFromBytes(HMODULE resources, HWND dialog, std::span<const std::uint8_t> bytes);

// One batch of window moves. It never loses a move silently: once the
// platform refuses the batch (a null handle to begin with, or DeferWindowPos
// failing), it stops deferring and Commit() reports false, so that the caller
// moves the windows directly instead.
class WindowMoves {
public:
    explicit WindowMoves(HDWP batch) noexcept : batch_(batch), intact_(batch != nullptr) {}
    ~WindowMoves() { Commit(); }
    WindowMoves(const WindowMoves&) = delete;
    WindowMoves& operator=(const WindowMoves&) = delete;

    void Move(HWND window, const RECT& rect) noexcept;
    // Ends the batch; true when every move went through it and it took effect.
    bool Commit() noexcept;

private:
    HDWP batch_;
    bool intact_;
};

// Applies the items of a template that ValidateTemplate accepted: moves
// through `moves`, or directly when the batch fails, and refreshes content.
int32_t ApplyTemplateItems(HMODULE resources, HWND dialog, std::span<const std::uint8_t> bytes,
                           WindowMoves& moves);

}  // namespace layout
