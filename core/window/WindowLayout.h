#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace zelkora {

// Window geometry is designed and stored in twips, 1440 to the inch, so that a layout keeps
// its proportions on screens of any density. Pixels appear only where the window meets Qt.
inline constexpr double kTwipsPerInch = 1440.0;

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The window's design, in twips. The buttons are stacked closer than they are high and the
// boxes start left of the buttons' right edge, so neighbours overlap by one pixel at 96 dpi
// and no seam shows between them.
inline constexpr std::int32_t kButtonWidth = 1215;
inline constexpr std::int32_t kButtonHeight = 495;
inline constexpr std::int32_t kButtonPitch = 480;
inline constexpr std::int32_t kBoxLeft = 1200;
inline constexpr std::int32_t kDesignClientWidth = 7080;
inline constexpr std::int32_t kDesignClientHeight = 3855;

[[nodiscard]] Rect ButtonRect(int index);

// Halves go to the even neighbour, so 2.5 gives 2 and 3.5 gives 4.
[[nodiscard]] std::int64_t RoundHalfEven(double value);

[[nodiscard]] double TwipsFromPixels(double pixels, double dotsPerInch);
[[nodiscard]] double PixelsFromTwips(double twips, double dotsPerInch);

// A twips rectangle on the pixel grid. Its edges are rounded, not its size, so rectangles
// that share an edge in twips still share it in pixels and no gap opens between them.
[[nodiscard]] Rect PixelRectFromTwips(const Rect& twips, double dotsPerInch);

struct BoxLayout {
    Rect input;
    Rect output;
};

// The two boxes for a client area of clientWidth x clientHeight twips: the input box fills
// the upper half right of the button column, the output box the lower half and takes the odd
// twip. A client narrower than the button column would give a negative width, which a box
// cannot take, so both boxes keep previousInputWidth then.
[[nodiscard]] BoxLayout LayOutBoxes(double clientWidth, double clientHeight,
                                    std::int32_t previousInputWidth);

// What a window makes of the placement read back from setting.ini. A width or height the
// window cannot take (zero or negative) gives way to the current one, and a state other than
// normal (0), minimised (1) or maximised (2) to normal.
struct Placement {
    Rect frame;  // the whole window with its frame
    std::int32_t winState = 0;
};
[[nodiscard]] Placement AcceptablePlacement(const Placement& saved, const Rect& current);

// A saved window that overlaps none of the screens (say a monitor was removed since) could
// never be reached with the mouse, so it moves onto the primary screen at the saved size,
// centred where it fits. A window that still overlaps some screen, however little, stays.
[[nodiscard]] Rect MendOffScreen(const Rect& window, std::span<const Rect> screens,
                                 const Rect& primary);

}  // namespace zelkora
