#pragma once

#include <QWidget>

#include <vector>

#include "ui/window_definition.h"

class QLabel;

namespace tamrivo {

// A bar of parts at fixed widths, the last one taking whatever is left.
class StatusBar : public QWidget {
public:
    StatusBar(const std::vector<StatusPart>& parts, QWidget* parent);

    // False when the bar has no such part.
    bool setPartText(int part, const QString& text);
    QString partText(int part) const;

private:
    QLabel* partLabel(int part) const;

    std::vector<QLabel*> parts_;
};

}  // namespace tamrivo
