#pragma once

#include <QChartView>

#include "ui/window_definition.h"

namespace tamrivo {

// A bar chart whose data is replaced whole: the categories on one axis, a bar of each series
// beside the others, a series of the second axis measured on a scale of its own on the far
// side. Hovering a bar shows its series and figure.
class ChartView final : public QChartView {
public:
    ChartView(const ControlDefinition& definition, QWidget* container);

    const ChartData& data() const { return data_; }
    void setData(ChartData data);

private:
    void showFigure(const QString& series, const QString& category, double value, bool hovered);

    QString title_;
    ChartData data_;
};

}  // namespace tamrivo
