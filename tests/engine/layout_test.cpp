#include "tests/support/engine_fixture.h"
#include "ui/layout_keeper.h"

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
                keeper.add(services.windowHandle(event.window, "超级列表框1"), LayoutMode::Stretch);
                keeper.add(services.windowHandle(event.window, "分组框1"),
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
    const Rect list = controlRect(main, "超级列表框1");
    const Rect details = controlRect(main, "分组框1");
    const Rect label = controlRect(main, "标签_备注");

    resizeTo(main, {frame.left, frame.top, frame.right + 100, frame.bottom + 50});
    EXPECT_EQ(controlRect(main, "超级列表框1"),
              (Rect{list.left, list.top, list.right + 100, list.bottom + 50}));
    EXPECT_EQ(controlRect(main, "分组框1"),
              (Rect{details.left, details.top + 50, details.right + 100, details.bottom + 50}));
    EXPECT_EQ(controlRect(main, "标签_备注"),  // moves with its group box
              (Rect{label.left, label.top + 50, label.right, label.bottom + 50}));
    const Rect status = controlRect(main, "状态条1");
    EXPECT_EQ(status.bottom, frame.bottom + 50 - kNominalFrame.bottom());
    EXPECT_EQ(status.width(), frame.width() + 100 - kNominalFrame.left() - kNominalFrame.right());

    resizeTo(main, frame);
    EXPECT_EQ(controlRect(main, "超级列表框1"), list);
    EXPECT_EQ(controlRect(main, "分组框1"), details);
}

TEST_F(Layout, ControlsArePlacedInTheirContainersCoordinates) {
    const WindowHandle main = open(WindowKind::Main);
    const WindowHandle group = services.windowHandle(main, "分组框1");
    const WindowHandle label = services.windowHandle(main, "标签_姓名");
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
