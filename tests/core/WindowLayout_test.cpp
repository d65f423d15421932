#include "core/window/WindowLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

struct BoxCase : test::NamedCase {
    double width, height;  // client area, twips
    std::int32_t previousWidth;
    Rect input, output;
};

const BoxCase kBoxCases[] = {
    {"design-client", 7080, 3855, 3135, {1200, 0, 5865, 1927}, {1200, 1927, 5865, 1928}},
    {"even-height", 7080, 3000, 3135, {1200, 0, 5865, 1500}, {1200, 1500, 5865, 1500}},
    {"odd-height-output-takes-extra",
     7080,
     3001,
     3135,
     {1200, 0, 5865, 1500},
     {1200, 1500, 5865, 1501}},
    // 3000.5 rounds to the even 3000, 3001.5 to the even 3002.
    {"half-rounds-down-to-even",
     7080,
     3000.5,
     3135,
     {1200, 0, 5865, 1500},
     {1200, 1500, 5865, 1500}},
    {"half-rounds-up-to-even", 7080, 3001.5, 3135, {1200, 0, 5865, 1501}, {1200, 1501, 5865, 1501}},
    {"width-exactly-the-buttons", 1215, 3000, 3135, {1200, 0, 0, 1500}, {1200, 1500, 0, 1500}},
    {"narrower-than-buttons-keeps-width",
     1214,
     3000,
     4000,
     {1200, 0, 4000, 1500},
     {1200, 1500, 4000, 1500}},
    {"no-height", 7080, 0, 3135, {1200, 0, 5865, 0}, {1200, 0, 5865, 0}},
};

ZELKORA_TEST_CASES(Cases, LayOutBoxesTest, FillsBothHalvesRightOfTheButtons, kBoxCases) {
    const BoxLayout layout =
        LayOutBoxes(GetParam().width, GetParam().height, GetParam().previousWidth);
    EXPECT_EQ(layout.input, GetParam().input);
    EXPECT_EQ(layout.output, GetParam().output);
}

struct PixelCase : test::NamedCase {
    Rect twips;
    double dpi;
    Rect pixels;
};

const PixelCase kPixelCases[] = {
    {"button-0", ButtonRect(0), 96, {0, 0, 81, 33}},
    {"button-1", ButtonRect(1), 96, {0, 32, 81, 33}},
    {"button-3", ButtonRect(3), 96, {0, 96, 81, 33}},
    {"button-1-at-144-dpi", ButtonRect(1), 144, {0, 48, 122, 50}},
    {"design-client", {0, 0, kDesignClientWidth, kDesignClientHeight}, 96, {0, 0, 472, 257}},
    // 1927 twips end at 128.47 px and the output box's 1928 at 257: the output box gets 129
    // pixels, so the two boxes meet without a gap and reach the bottom.
    {"input-box-design", {1200, 0, 5865, 1927}, 96, {80, 0, 391, 128}},
    {"output-box-design", {1200, 1927, 5865, 1928}, 96, {80, 128, 391, 129}},
    {"negative-left", {-1500, 0, 1500, 15}, 96, {-100, 0, 100, 1}},
};

ZELKORA_TEST_CASES(Cases, PixelRectTest, RoundsTheEdges, kPixelCases) {
    EXPECT_EQ(PixelRectFromTwips(GetParam().twips, GetParam().dpi), GetParam().pixels);
}

TEST(Twips, FifteenToThePixelAt96Dpi) {
    EXPECT_DOUBLE_EQ(TwipsFromPixels(472, 96), 7080);
    EXPECT_DOUBLE_EQ(TwipsFromPixels(1, 96), 15);
    EXPECT_DOUBLE_EQ(TwipsFromPixels(1, 120), 12);
    EXPECT_DOUBLE_EQ(PixelsFromTwips(3855, 96), 257);
    EXPECT_DOUBLE_EQ(PixelsFromTwips(1440, 144), 144);
}

using RoundCase = test::Case<double, std::int64_t>;

const RoundCase kRoundCases[] = {
    {"half-to-even-down", 2.5, 2},  {"half-to-even-up", 3.5, 4}, {"below-half", 2.49, 2},
    {"above-half", 2.51, 3},        {"negative-half", -2.5, -2}, {"negative-odd-half", -3.5, -4},
    {"negative-fraction", -0.4, 0}, {"whole", 7080.0, 7080},
};

ZELKORA_TEST_FUNCTION(Cases, RoundHalfEvenTest, Rounds, kRoundCases, RoundHalfEven)

using PlacementCase = test::Case<Placement>;

const Rect kCurrent{100, 200, 7200, 4800};

const PlacementCase kPlacementCases[] = {
    {"normal-kept", {{1440, 960, 8000, 5000}, 0}, {{1440, 960, 8000, 5000}, 0}},
    {"minimised-kept", {{1440, 960, 8000, 5000}, 1}, {{1440, 960, 8000, 5000}, 1}},
    {"maximised-kept", {{1440, 960, 8000, 5000}, 2}, {{1440, 960, 8000, 5000}, 2}},
    {"negative-position-kept", {{-300, -15, 8000, 5000}, 0}, {{-300, -15, 8000, 5000}, 0}},
    {"state-3-normal", {{1440, 960, 8000, 5000}, 3}, {{1440, 960, 8000, 5000}, 0}},
    {"state-negative-normal", {{1440, 960, 8000, 5000}, -1}, {{1440, 960, 8000, 5000}, 0}},
    {"zero-width-current", {{1440, 960, 0, 5000}, 0}, {{1440, 960, 7200, 5000}, 0}},
    {"negative-height-current", {{1440, 960, 8000, -5}, 0}, {{1440, 960, 8000, 4800}, 0}},
};

ZELKORA_TEST_CASES(Cases, AcceptablePlacementTest, IgnoresWhatTheWindowCannotTake,
                   kPlacementCases) {
    const Placement accepted = AcceptablePlacement(GetParam().input, kCurrent);
    EXPECT_EQ(accepted.frame, GetParam().expected.frame);
    EXPECT_EQ(accepted.winState, GetParam().expected.winState);
}

struct MendCase : test::NamedCase {
    Rect window;
    std::vector<Rect> screens;
    Rect mended;
};

const Rect kPrimary{0, 0, 1920, 1080};
const Rect kRightScreen{1920, 0, 1280, 1024};

const MendCase kMendCases[] = {
    {"inside-stays", {100, 100, 500, 300}, {kPrimary}, {100, 100, 500, 300}},
    {"partly-left-stays", {-400, 100, 500, 300}, {kPrimary}, {-400, 100, 500, 300}},
    {"one-pixel-visible-stays", {1919, 1079, 500, 300}, {kPrimary}, {1919, 1079, 500, 300}},
    {"on-second-screen-stays",
     {2500, 200, 500, 300},
     {kPrimary, kRightScreen},
     {2500, 200, 500, 300}},
    {"removed-screen-centred", {2500, 200, 500, 300}, {kPrimary}, {710, 390, 500, 300}},
    {"touching-edge-only-moves", {1920, 0, 500, 300}, {kPrimary}, {710, 390, 500, 300}},
    {"far-above-moves", {100, -5000, 500, 300}, {kPrimary}, {710, 390, 500, 300}},
    {"larger-than-primary-top-left", {5000, 5000, 2500, 1500}, {kPrimary}, {0, 0, 2500, 1500}},
    {"primary-not-at-origin",
     {-3000, 0, 500, 300},
     {{1920, 0, 1280, 1024}, kPrimary},
     {2310, 362, 500, 300}},
};

ZELKORA_TEST_CASES(Cases, MendOffScreenTest, BringsLostWindowsBack, kMendCases) {
    const Rect& primary = GetParam().screens.front();
    EXPECT_EQ(MendOffScreen(GetParam().window, GetParam().screens, primary), GetParam().mended);
}

}  // namespace
}  // namespace zelkora
