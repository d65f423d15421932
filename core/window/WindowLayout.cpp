#include "core/window/WindowLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelkora {
namespace {

bool Overlaps(const Rect& a, const Rect& b) {
    const std::int64_t left = std::max<std::int64_t>(a.left, b.left);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{a.left} + a.width, std::int64_t{b.left} + b.width);
    const std::int64_t top = std::max<std::int64_t>(a.top, b.top);
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{a.top} + a.height, std::int64_t{b.top} + b.height);
    return left < right && top < bottom;
}

std::int32_t ToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

Rect ButtonRect(int index) {
    return {0, index * kButtonPitch, kButtonWidth, kButtonHeight};
}

std::int64_t RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    const auto whole = static_cast<std::int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && whole % 2 != 0)) {
        return whole + 1;
    }
    return whole;
}

double TwipsFromPixels(double pixels, double dotsPerInch) {
    return pixels * kTwipsPerInch / dotsPerInch;
}

double PixelsFromTwips(double twips, double dotsPerInch) {
    return twips * dotsPerInch / kTwipsPerInch;
}

Rect PixelRectFromTwips(const Rect& twips, double dotsPerInch) {
    const auto edge = [dotsPerInch](std::int64_t twipsEdge) {
        return RoundHalfEven(PixelsFromTwips(static_cast<double>(twipsEdge), dotsPerInch));
    };
    const std::int64_t left = edge(twips.left);
    const std::int64_t top = edge(twips.top);
    const std::int64_t right = edge(std::int64_t{twips.left} + twips.width);
    const std::int64_t bottom = edge(std::int64_t{twips.top} + twips.height);
    return {ToInt32(left), ToInt32(top), ToInt32(right - left), ToInt32(bottom - top)};
}

BoxLayout LayOutBoxes(double clientWidth, double clientHeight, std::int32_t previousInputWidth) {
    const double width = clientWidth - kButtonWidth;
    const std::int32_t inputWidth = width < 0 ? previousInputWidth : ToInt32(RoundHalfEven(width));
    // The height is rounded before it is halved, and the output box takes what the input box
    // leaves, so the two always add up to the client height.
    const std::int64_t height = RoundHalfEven(clientHeight);
    const std::int64_t half = height / 2;
    const Rect input{kBoxLeft, 0, inputWidth, ToInt32(half)};
    const Rect output{kBoxLeft, input.height, inputWidth, ToInt32(height - half)};
    return {input, output};
}

Placement AcceptablePlacement(const Placement& saved, const Rect& current) {
    Placement placement = saved;
    if (placement.frame.width <= 0) {
        placement.frame.width = current.width;
    }
    if (placement.frame.height <= 0) {
        placement.frame.height = current.height;
    }
    if (placement.winState < 0 || placement.winState > 2) {
        placement.winState = 0;
    }
    return placement;
}

Rect MendOffScreen(const Rect& window, std::span<const Rect> screens, const Rect& primary) {
    const bool reachable = std::any_of(screens.begin(), screens.end(), [&](const Rect& screen) {
        return Overlaps(window, screen);
    });
    if (reachable) {
        return window;
    }
    Rect mended = window;
    mended.left = primary.left + std::max(0, (primary.width - window.width) / 2);
    mended.top = primary.top + std::max(0, (primary.height - window.height) / 2);
    return mended;
}

}  // namespace zelkora
