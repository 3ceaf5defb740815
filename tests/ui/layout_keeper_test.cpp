#include "ui/layout_keeper.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tamrivo {
namespace {

constexpr WindowHandle kWindow = 1;

// Screen geometry of one window and its controls, as the engine would report it: controls
// are placed in the window's client coordinates, whose origin sits inside the frame.
class FakeGeometry : public WindowGeometry {
public:
    struct Placement {
        WindowHandle control;
        Rect rect;
        int flags;
    };

    Rect frame{100, 100, 1215, 813};
    Point clientOrigin{103, 125};
    std::map<WindowHandle, Rect> controls;  // client coordinates
    std::vector<Placement> placements;

    Rect frameRect(WindowHandle handle) override {
        if (handle == kWindow) {
            return frame;
        }
        const Rect client = controls.at(handle);
        return {client.left + clientOrigin.x, client.top + clientOrigin.y,
                client.right + clientOrigin.x, client.bottom + clientOrigin.y};
    }
    Point screenToClient(WindowHandle window, Point screen) override {
        EXPECT_EQ(window, kWindow);
        return {screen.x - clientOrigin.x, screen.y - clientOrigin.y};
    }
    void placeControl(WindowHandle control, Rect rect, int flags) override {
        placements.push_back({control, rect, flags});
        Rect& current = controls.at(control);
        if ((flags & kPlaceNoMove) == 0) {
            current = {rect.left, rect.top, rect.left + current.width(),
                       rect.top + current.height()};
        }
        if ((flags & kPlaceNoSize) == 0) {
            current.right = current.left + rect.width();
            current.bottom = current.top + rect.height();
        }
    }

    void growWindow(int dW, int dH) {
        frame.right += dW;
        frame.bottom += dH;
    }
};

class LayoutKeeperTest : public ::testing::Test {
protected:
    FakeGeometry geometry;
    LayoutKeeper keeper{geometry};
};

TEST_F(LayoutKeeperTest, GrowingTheWindowStretchesMovesAndCarriesControls) {
    geometry.controls = {
        {10, {8, 64, 1104, 528}}, {11, {6, 530, 1102, 664}}, {12, {900, 600, 980, 624}}};
    keeper.attach(kWindow);
    keeper.add(10, LayoutMode::Stretch);
    keeper.add(11, LayoutMode::FollowBottomStretchSideways);
    keeper.add(12, LayoutMode::FollowBottomRight);

    geometry.growWindow(100, 50);
    keeper.relayout();

    EXPECT_EQ(geometry.controls[10], (Rect{8, 64, 1204, 578}));      // grows in place
    EXPECT_EQ(geometry.controls[11], (Rect{6, 580, 1202, 714}));     // down 50, 100 wider
    EXPECT_EQ(geometry.controls[12], (Rect{1000, 650, 1080, 674}));  // follows the corner
}

TEST_F(LayoutKeeperTest, ReturningToTheAttachedSizeRestoresEveryControl) {
    geometry.controls = {
        {10, {8, 64, 1104, 528}}, {11, {6, 530, 1102, 664}}, {12, {40, 40, 80, 60}}};
    const auto original = geometry.controls;
    keeper.attach(kWindow);
    keeper.add(10, LayoutMode::Stretch);
    keeper.add(11, LayoutMode::FollowBottomStretchSideways);
    keeper.add(12, LayoutMode::FollowBottomRight);

    geometry.growWindow(100, 50);
    keeper.relayout();
    geometry.growWindow(-100, -50);
    keeper.relayout();

    EXPECT_EQ(geometry.controls, original);
}

TEST_F(LayoutKeeperTest, EveryModeMovesAndSizesByItsRule) {
    struct Case {
        LayoutMode mode;
        Rect expected;
        int flags;
    };
    // A 40 x 20 control at (10, 30) in a window grown by 100 x 50 (outer width 1215).
    const std::vector<Case> cases{
        {LayoutMode::Stretch, {10, 30, 150, 100}, kPlaceNoMove},
        {LayoutMode::FollowRight, {110, 30, 150, 50}, kPlaceNoSize},
        {LayoutMode::FollowBottom, {10, 80, 50, 100}, kPlaceNoSize},
        {LayoutMode::FollowBottomRight, {110, 80, 150, 100}, kPlaceNoSize},
        {LayoutMode::FollowRightStretchDown, {110, 30, 150, 100}, kPlaceMoveAndSize},
        {LayoutMode::FollowBottomStretchSideways, {10, 80, 150, 100}, kPlaceMoveAndSize},
        {LayoutMode::StretchSideways, {10, 30, 150, 50}, kPlaceMoveAndSize},
        {LayoutMode::StretchDown, {10, 30, 50, 100}, kPlaceMoveAndSize},
        {LayoutMode::CentreHorizontally, {587, 30, 627, 50}, kPlaceNoSize},
    };
    geometry.controls = {{20, {10, 30, 50, 50}}};
    keeper.attach(kWindow);
    for (const Case& c : cases) {
        keeper.add(20, c.mode);
    }
    geometry.growWindow(100, 50);
    keeper.relayout();

    ASSERT_EQ(geometry.placements.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(static_cast<int>(cases[i].mode));
        EXPECT_EQ(geometry.placements[i].rect, cases[i].expected);
        EXPECT_EQ(geometry.placements[i].flags, cases[i].flags);
    }
}

TEST_F(LayoutKeeperTest, CentringTruncatesHalvesTowardZero) {
    geometry.frame = {0, 0, 1115, 713};
    geometry.controls = {{20, {0, 5, 101, 25}}};
    keeper.attach(kWindow);
    keeper.add(20, LayoutMode::CentreHorizontally);
    keeper.relayout();
    EXPECT_EQ(geometry.controls[20].left, 507);  // 557.5 - 50.5

    geometry.frame = {0, 0, 51, 713};  // narrower than the control: a negative half
    geometry.controls[20] = {0, 5, 200, 25};
    LayoutKeeper narrow{geometry};
    narrow.attach(kWindow);
    narrow.add(20, LayoutMode::CentreHorizontally);
    narrow.relayout();
    EXPECT_EQ(geometry.controls[20].left, -74);  // 25.5 - 100 = -74.5
}

TEST_F(LayoutKeeperTest, UnknownModesAreNeverPlaced) {
    geometry.controls = {{20, {10, 30, 50, 50}}, {21, {60, 30, 90, 50}}};
    keeper.attach(kWindow);
    keeper.add(20, static_cast<LayoutMode>(9));
    keeper.add(21, static_cast<LayoutMode>(-1));
    geometry.growWindow(100, 50);
    keeper.relayout();
    EXPECT_TRUE(geometry.placements.empty());
    EXPECT_EQ(geometry.controls[20], (Rect{10, 30, 50, 50}));
}

TEST_F(LayoutKeeperTest, RelayoutWithoutEntriesPlacesNothing) {
    keeper.relayout();
    keeper.attach(kWindow);
    geometry.growWindow(100, 50);
    keeper.relayout();
    EXPECT_TRUE(geometry.placements.empty());
}

TEST_F(LayoutKeeperTest, ShrinkingBelowTheAttachedSizeMovesControlsUpAndLeft) {
    geometry.controls = {{20, {10, 30, 50, 50}}};
    keeper.attach(kWindow);
    keeper.add(20, LayoutMode::FollowBottomRight);
    keeper.add(20, LayoutMode::Stretch);
    geometry.growWindow(-60, -40);
    keeper.relayout();
    ASSERT_EQ(geometry.placements.size(), 2u);  // a control added twice is placed twice
    EXPECT_EQ(geometry.placements[0].rect, (Rect{-50, -10, -10, 10}));
    EXPECT_EQ(geometry.placements[1].rect, (Rect{10, 30, -10, 10}));  // negative size passed on
}

TEST_F(LayoutKeeperTest, AttachingAgainTakesANewBaselineAndKeepsTheEntries) {
    geometry.controls = {{20, {10, 30, 50, 50}}};
    keeper.attach(kWindow);
    keeper.add(20, LayoutMode::Stretch);
    geometry.growWindow(100, 50);
    keeper.attach(kWindow);
    keeper.relayout();
    ASSERT_EQ(geometry.placements.size(), 1u);
    EXPECT_EQ(geometry.placements[0].rect, (Rect{10, 30, 50, 50}));
}

}  // namespace
}  // namespace tamrivo
