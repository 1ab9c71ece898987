// A GDI font that is deleted with its owner.
#pragma once

#include <windows.h>

namespace win {

class OwnedFont {
public:
    OwnedFont() = default;
    explicit OwnedFont(HFONT font) : font_(font) {}
    ~OwnedFont() { reset(); }
    OwnedFont(const OwnedFont&) = delete;
    OwnedFont& operator=(const OwnedFont&) = delete;

    HFONT get() const { return font_; }

    void reset(HFONT font = nullptr)
    {
        if (font_)
            DeleteObject(font_);
        font_ = font;
    }

private:
    HFONT font_ = nullptr;
};

}  // namespace win
