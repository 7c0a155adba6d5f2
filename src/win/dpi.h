#pragma once

#include "app/desktop/layout.h"

#include <windows.h>

namespace faultward::win {

// The DPI a window is shown at: its monitor's, as the system reports it to
// a program that scales itself per monitor.
int windowDpi(HWND window);

// The outer rectangle of a window whose client area is width by height at
// dpi, relative to the client's top left corner.
RECT outerRectForClient(int width, int height, DWORD style, DWORD exStyle, bool menu, int dpi);

inline int px(int twips, int dpi) {
    return pixelsFromTwips(twips, dpi);
}

inline RECT pxRect(const TwipsRect& rect, int dpi, int offsetLeft = 0, int offsetTop = 0) {
    const int left = px(rect.left + offsetLeft, dpi);
    const int top = px(rect.top + offsetTop, dpi);
    return {left, top, left + px(rect.width, dpi), top + px(rect.height, dpi)};
}

// Moves a child control to rect (in its parent's client pixels).
void placeControl(HWND control, const RECT& rect);

// A font of the design at dpi; the caller deletes it.
HFONT createFont(const FontSpec& spec, int dpi);
// The dialog face the windows were laid out for, 8 points.
HFONT createDialogFont(int dpi, bool bold = false);

// A font the window owns, replaced when the DPI changes.
class OwnedFont {
public:
    OwnedFont() = default;
    ~OwnedFont() { reset(nullptr); }
    OwnedFont(const OwnedFont&) = delete;
    OwnedFont& operator=(const OwnedFont&) = delete;

    void reset(HFONT font) {
        if (font_)
            DeleteObject(font_);
        font_ = font;
    }
    HFONT get() const { return font_; }

private:
    HFONT font_ = nullptr;
};

inline void setFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

} // namespace faultward::win
