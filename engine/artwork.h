#pragma once

#include <QIcon>

#include <vector>

namespace tamrivo {

// The program's pictures at 32 x 32: the window icon, the toolbar images in the order the
// main window's toolbar numbers them, and the room-state images (idle, abandoned, let). Only
// the window icon is needed before the login; the others are drawn when first asked for, so
// start-up does not wait for pictures of a window it has not shown yet. Window thread only.
class Artwork {
public:
    Artwork();

    const QIcon& windowIcon() const { return windowIcon_; }
    QIcon toolbarImage(int index) const;
    QIcon roomStateImage(int index) const;

private:
    static QIcon pick(const std::vector<QIcon>& images, int index);

    QIcon windowIcon_;
    mutable std::vector<QIcon> toolbarImages_;
    mutable std::vector<QIcon> roomStateImages_;
};

}  // namespace tamrivo
