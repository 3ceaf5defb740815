#include "engine/chart_view.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QFontMetrics>
#include <QHorizontalBarSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/conversions.h"

namespace tamrivo {
namespace {

constexpr int kAxes = 2;
constexpr int kLabelGap = 8;  // pixels between two labels of the category axis
// Bars of the second axis stand narrower in front of the first's, so both stay in sight.
constexpr std::array<double, kAxes> kBarWidths = {0.8, 0.4};

QAbstractBarSeries* makeSeries(bool horizontal, QObject* parent) {
    if (horizontal) {
        return new QHorizontalBarSeries(parent);
    }
    return new QBarSeries(parent);
}

// A scale that holds every value and zero, as bars grow from zero.
QValueAxis* valueAxis(const QAbstractBarSeries& series, QObject* parent) {
    double low = 0;
    double high = 0;
    for (const QBarSet* set : series.barSets()) {
        for (int i = 0; i < set->count(); ++i) {
            low = std::min(low, set->at(i));
            high = std::max(high, set->at(i));
        }
    }
    auto* axis = new QValueAxis(parent);
    axis->setRange(low, high > low ? high : low + 1);
    axis->applyNiceNumbers();
    // A short chart leaves its scales little height; their figures stay whole all the same.
    axis->setTruncateLabels(false);
    axis->setLabelFormat(QStringLiteral("%g"));
    return axis;
}

}  // namespace

ChartView::ChartView(const ControlDefinition& definition, QWidget* container)
    : QChartView(container), title_(toQString(definition.text)) {
    setRenderHint(QPainter::Antialiasing);
    setData({});
}

void ChartView::setData(ChartData data) {
    data_ = std::move(data);
    auto* chart = new QChart();
    chart->setTitle(title_);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QStringList categories;
    for (const Text& category : data_.categories) {
        categories.append(toQString(category));
    }
    auto* categoryAxis = new QBarCategoryAxis(chart);
    // Lying down, the first category stands on top.
    if (data_.horizontal) {
        std::reverse(categories.begin(), categories.end());
    }
    categoryAxis->append(categories);
    // A label that does not fit is never cut to "…": room names take the width they need,
    // and day numbers are thinned out instead (thinLabels).
    categoryAxis->setTruncateLabels(false);
    categoryAxis_ = categoryAxis;
    const Qt::Alignment categorySide = data_.horizontal ? Qt::AlignLeft : Qt::AlignBottom;
    chart->addAxis(categoryAxis, categorySide);
    for (int axis = 0; axis < kAxes; ++axis) {
        QAbstractBarSeries* series = makeSeries(data_.horizontal, chart);
        series->setBarWidth(kBarWidths[static_cast<std::size_t>(axis)]);
        for (const ChartSeries& given : data_.series) {
            if (given.axis != axis) {
                continue;
            }
            auto* set = new QBarSet(toQString(given.name));
            for (std::size_t i = 0; i < data_.categories.size(); ++i) {
                const std::size_t at = data_.horizontal ? data_.categories.size() - 1 - i : i;
                set->append(at < given.values.size() ? given.values[at] : 0);
            }
            QObject::connect(set, &QBarSet::hovered, this, [this, set](bool hovered, int index) {
                showFigure(set->label(), categoryAt(index), set->at(index), hovered);
            });
            series->append(set);
        }
        if (series->count() == 0) {
            delete series;
            continue;
        }
        chart->addSeries(series);
        series->attachAxis(categoryAxis);
        QValueAxis* values = valueAxis(*series, chart);
        const bool near = axis == 0;
        chart->addAxis(values, data_.horizontal ? (near ? Qt::AlignBottom : Qt::AlignTop)
                                                : (near ? Qt::AlignLeft : Qt::AlignRight));
        series->attachAxis(values);
    }
    QChart* old = this->chart();
    setChart(chart);
    delete old;
    thinLabels();
}

QString ChartView::categoryAt(int index) const {
    const auto count = static_cast<int>(data_.categories.size());
    if (index < 0 || index >= count) {
        return {};
    }
    return toQString(
        data_.categories[static_cast<std::size_t>(data_.horizontal ? count - 1 - index : index)]);
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    thinLabels();
}

// Categories along the bottom that are too many for their labels to stand side by side show
// every second, third… label; the others stay empty (blanks of different lengths, as the
// axis wants every category distinct).
void ChartView::thinLabels() {
    if (categoryAxis_ == nullptr || data_.horizontal || data_.categories.empty()) {
        return;
    }
    const auto count = static_cast<int>(data_.categories.size());
    const QFontMetrics metrics(categoryAxis_->labelsFont());
    int widest = 0;
    for (const Text& category : data_.categories) {
        widest = std::max(widest, metrics.horizontalAdvance(toQString(category)));
    }
    const double room = std::max(
        1.0, chart()->plotArea().width() > 0 ? chart()->plotArea().width() : double(width()));
    const int step = std::max(1, static_cast<int>(std::ceil(count * (widest + kLabelGap) / room)));
    QStringList labels;
    for (int i = 0; i < count; ++i) {
        labels.append(i % step == 0 ? categoryAt(i) : QString(i + 1, u' '));
    }
    if (labels != categoryAxis_->categories()) {
        categoryAxis_->setCategories(labels);
    }
}

void ChartView::showFigure(const QString& series, const QString& category, double value,
                           bool hovered) {
    if (!hovered) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(
        QCursor::pos(),
        category + "  " + series + QStringLiteral("：") + QString::number(value, 'f', 2), this);
}

}  // namespace tamrivo
