#pragma once

#include <QIcon>

#include <vector>

namespace tamrivo {

// The program's pictures at 32 x 32: the window icon, the toolbar images in the order the
// main window's toolbar numbers them, and the room-state images (idle, abandoned, let).
class Artwork {
public:
    Artwork();

    const QIcon& windowIcon() const { return windowIcon_; }
    QIcon toolbarImage(int index) const { return pick(toolbarImages_, index); }
    QIcon roomStateImage(int index) const { return pick(roomStateImages_, index); }

private:
    static QIcon pick(const std::vector<QIcon>& images, int index);

    QIcon windowIcon_;
    std::vector<QIcon> toolbarImages_;
    std::vector<QIcon> roomStateImages_;
};

}  // namespace tamrivo
