#include "engine/status_bar.h"

#include <QHBoxLayout>
#include <QLabel>

#include "engine/conversions.h"

namespace tamrivo {

StatusBar::StatusBar(const std::vector<StatusPart>& parts, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 0);
    layout->setSpacing(2);
    for (const StatusPart& part : parts) {
        auto* label = new QLabel(toQString(part.text), this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        if (part.width >= 0) {
            label->setFixedWidth(part.width);
            layout->addWidget(label);
        } else {
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            layout->addWidget(label, 1);
        }
        parts_.push_back(label);
    }
    if (parts.empty() || parts.back().width >= 0) {
        layout->addStretch(1);
    }
}

bool StatusBar::setPartText(int part, const QString& text) {
    QLabel* label = partLabel(part);
    if (label == nullptr) {
        return false;
    }
    label->setText(text);
    return true;
}

QString StatusBar::partText(int part) const {
    const QLabel* label = partLabel(part);
    return label == nullptr ? QString() : label->text();
}

QLabel* StatusBar::partLabel(int part) const {
    if (part < 0 || part >= static_cast<int>(parts_.size())) {
        return nullptr;
    }
    return parts_[static_cast<std::size_t>(part)];
}

}  // namespace tamrivo
