#include "tests/support/engine_fixture.h"
#include "ui/layout_keeper.h"
#include "ui/windows/main_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

class Layout : public EngineFixture {
protected:
    // The main window as the application sets it up: the list stretches, the details follow
    // the bottom edge.
    WindowHandle openMainWindow() {
        return open(WindowKind::Main, [this](const WindowEvent& event) {
            if (event.handler == Handler::MainWindowCreated) {
                keeper.attach(event.window);
                keeper.add(services.windowHandle(event.window, main_window::kRoomList),
                           LayoutMode::Stretch);
                keeper.add(services.windowHandle(event.window, main_window::kDetailsGroup),
                           LayoutMode::FollowBottomStretchSideways);
            } else if (event.handler == Handler::RelayoutMainWindow) {
                keeper.relayout();
            }
            return false;
        });
    }

    Rect controlRect(WindowHandle window, const Text& name) {
        return services.frameRect(services.windowHandle(window, name));
    }

    void resizeTo(WindowHandle window, Rect frame) {
        const int before = log->count(EventKind::Resized);
        services.placeControl(window, frame, kPlaceNoMove);
        ASSERT_TRUE(testing::waitUntil([&] {
            return log->count(EventKind::Resized) > before && services.frameRect(window) == frame;
        }));
    }

    LayoutKeeper keeper{services};
};

TEST_F(Layout, GrowingTheMainWindowStretchesTheListAndCarriesTheDetails) {
    const WindowHandle main = openMainWindow();
    const Rect frame = services.frameRect(main);
    const Rect list = controlRect(main, main_window::kRoomList);
    const Rect details = controlRect(main, main_window::kDetailsGroup);
    const Rect label = controlRect(main, main_window::kRemarkLabel);

    resizeTo(main, {frame.left, frame.top, frame.right + 100, frame.bottom + 50});
    EXPECT_EQ(controlRect(main, main_window::kRoomList),
              (Rect{list.left, list.top, list.right + 100, list.bottom + 50}));
    EXPECT_EQ(controlRect(main, main_window::kDetailsGroup),
              (Rect{details.left, details.top + 50, details.right + 100, details.bottom + 50}));
    EXPECT_EQ(controlRect(main, main_window::kRemarkLabel),  // moves with its group box
              (Rect{label.left, label.top + 50, label.right, label.bottom + 50}));
    const Rect status = controlRect(main, main_window::kStatusBar);
    EXPECT_EQ(status.bottom, frame.bottom + 50 - kNominalFrame.bottom());
    EXPECT_EQ(status.width(), frame.width() + 100 - kNominalFrame.left() - kNominalFrame.right());

    resizeTo(main, frame);
    EXPECT_EQ(controlRect(main, main_window::kRoomList), list);
    EXPECT_EQ(controlRect(main, main_window::kDetailsGroup), details);
}

TEST_F(Layout, ControlsArePlacedInTheirContainersCoordinates) {
    const WindowHandle main = open(WindowKind::Main);
    const WindowHandle group = services.windowHandle(main, main_window::kDetailsGroup);
    const WindowHandle label = services.windowHandle(main, main_window::kNameLabel);
    const Rect groupRect = services.frameRect(group);

    services.placeControl(label, {20, 30, 120, 60}, kPlaceMoveAndSize);
    EXPECT_EQ(services.frameRect(label), (Rect{groupRect.left + 20, groupRect.top + 30,
                                               groupRect.left + 120, groupRect.top + 60}));
    services.placeControl(label, {0, 0, 50, 10}, kPlaceNoMove);
    EXPECT_EQ(services.frameRect(label).left, groupRect.left + 20);
    EXPECT_EQ(services.frameRect(label).width(), 50);
    services.placeControl(label, {5, 6, 0, 0}, kPlaceNoSize);
    EXPECT_EQ(services.frameRect(label), (Rect{groupRect.left + 5, groupRect.top + 6,
                                               groupRect.left + 55, groupRect.top + 16}));

    const Point client = services.screenToClient(main, {groupRect.left, groupRect.top});
    EXPECT_EQ(client, (Point{6, 530}));
}

}  // namespace
}  // namespace tamrivo
