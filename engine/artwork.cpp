#include "engine/artwork.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace tamrivo {
namespace {

constexpr int kImageSize = 32;

QPixmap render(QSvgRenderer& renderer, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

// Each picture is read once and drawn at every size an icon may be asked for.
QIcon icon(const QString& name) {
    QSvgRenderer renderer(QStringLiteral(":/artwork/%1.svg").arg(name));
    QIcon result;
    for (const int size : {16, kImageSize, 48}) {
        result.addPixmap(render(renderer, size));
    }
    return result;
}

std::vector<QIcon> icons(std::initializer_list<const char*> names) {
    std::vector<QIcon> result;
    for (const char* name : names) {
        result.push_back(icon(QString::fromLatin1(name)));
    }
    return result;
}

}  // namespace

Artwork::Artwork() : windowIcon_(icon(QStringLiteral("window_icon"))) {}

QIcon Artwork::toolbarImage(int index) const {
    if (toolbarImages_.empty()) {
        toolbarImages_ =
            icons({"toolbar_add_room", "toolbar_check_in", "toolbar_statistics", "toolbar_search",
                   "toolbar_change_password", "toolbar_about", "toolbar_edit_room",
                   "toolbar_delete_room", "toolbar_check_out", "toolbar_edit_check_in",
                   "toolbar_update_check", "toolbar_calendar", "toolbar_protect_records"});
    }
    return pick(toolbarImages_, index);
}

QIcon Artwork::roomStateImage(int index) const {
    if (roomStateImages_.empty()) {
        roomStateImages_ = icons({"room_idle", "room_abandoned", "room_let"});
    }
    return pick(roomStateImages_, index);
}

QIcon Artwork::pick(const std::vector<QIcon>& images, int index) {
    if (index < 0 || index >= static_cast<int>(images.size())) {
        return {};
    }
    return images[static_cast<std::size_t>(index)];
}

}  // namespace tamrivo
