#pragma once

#include <QBarCategoryAxis>
#include <QChartView>
#include <QPointer>

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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The category at a bar's index, as the data names it.
    QString categoryAt(int index) const;
    void thinLabels();
    void showFigure(const QString& series, const QString& category, double value, bool hovered);

    QString title_;
    ChartData data_;
    QPointer<QBarCategoryAxis> categoryAxis_;
};

}  // namespace tamrivo
