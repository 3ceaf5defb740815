#include "engine/report_printer.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

#include "engine/conversions.h"
#include "engine/form_printer.h"

namespace tamrivo {
namespace {

constexpr double kMarginMillimetres = 12;
constexpr int kTitlePoints = 16;
constexpr int kSmallestTitlePoints = 10;
constexpr int kTablePoints = 9;
constexpr int kSmallestTablePoints = 5;
constexpr int kGapPoints = 6;              // between two parts, and below the title
constexpr int kColumnGapPoints = 10;       // between two columns
constexpr double kMostChartShare = 0.3;    // of the page, for each chart
constexpr double kLeastChartShare = 0.12;  // before the tables' type grows smaller

// Places the report's parts; the height they take, and with paint, paints them too.
class ReportLayout {
public:
    ReportLayout(QPainter& painter, const PrintedReport& report, const QRect& page,
                 const ChartPainter& paintChart)
        : painter_(painter), report_(report), page_(page), paintChart_(paintChart) {}

    // The height the title and the tables take at this size, charts left out.
    int tablesHeight(int points) {
        int height = titleHeight() + points_(kGapPoints);
        for (const PrintedReport::Part& part : report_.parts) {
            if (!part.table.empty()) {
                height += tableHeight(part.table, points) + points_(kGapPoints);
            }
        }
        return height;
    }

    int chartCount() const {
        return static_cast<int>(std::count_if(report_.parts.begin(), report_.parts.end(),
                                              [](const auto& part) { return part.table.empty(); }));
    }

    void paint(int points, int chartHeight) {
        int top = page_.top();
        const int height = titleHeight();
        painter_.drawText(QRect(page_.left(), top, page_.width(), height),
                          Qt::AlignHCenter | Qt::TextWordWrap, toQString(report_.title));
        top += height + points_(kGapPoints);
        for (const PrintedReport::Part& part : report_.parts) {
            if (part.table.empty()) {
                paintChart_(part.chart, painter_,
                            QRect(page_.left(), top, page_.width(), chartHeight));
                top += chartHeight;
            } else {
                top += paintTable(part.table, points, top);
            }
            top += points_(kGapPoints);
        }
    }

private:
    int points_(int count) const { return count * painter_.device()->logicalDpiY() / 72; }

    // The title in the largest type up to its own that fits the page's width, wrapped when
    // even the smallest does not; leaves that type set.
    int titleHeight() {
        const QString title = toQString(report_.title);
        int points = kTitlePoints;
        painter_.setFont(formFont(points, true));
        while (points > kSmallestTitlePoints &&
               painter_.fontMetrics().horizontalAdvance(title) > page_.width()) {
            painter_.setFont(formFont(--points, true));
        }
        return painter_.boundingRect(page_, Qt::AlignHCenter | Qt::TextWordWrap, title).height();
    }

    int rowHeight(int points) {
        painter_.setFont(formFont(points, true));
        return painter_.fontMetrics().height();
    }

    int tableHeight(const PrintedReport::Table& table, int points) {
        return rowHeight(points) * static_cast<int>(table.size());
    }

    std::vector<int> columnWidths(const PrintedReport::Table& table, int points) {
        painter_.setFont(formFont(points, true));
        std::vector<int> widths;
        for (const auto& row : table) {
            widths.resize(std::max(widths.size(), row.size()), 0);
            for (std::size_t column = 0; column < row.size(); ++column) {
                widths[column] =
                    std::max(widths[column],
                             painter_.fontMetrics().horizontalAdvance(toQString(row[column])) +
                                 points_(kColumnGapPoints));
            }
        }
        return widths;
    }

    int paintTable(const PrintedReport::Table& table, int points, int top) {
        const std::vector<int> widths = columnWidths(table, points);
        const int height = rowHeight(points);
        bool head = true;
        for (const auto& row : table) {
            painter_.setFont(formFont(points, head));
            int left = page_.left();
            for (std::size_t column = 0; column < row.size(); ++column) {
                const int flags = column == 0 ? Qt::AlignLeft : Qt::AlignRight;
                const int gap = column == 0 ? 0 : points_(kColumnGapPoints);
                painter_.drawText(QRect(left, top, widths[column] - gap, height), flags,
                                  toQString(row[column]));
                left += widths[column];
            }
            top += height;
            head = false;
        }
        return height * static_cast<int>(table.size());
    }

    QPainter& painter_;
    const PrintedReport& report_;
    const QRect page_;
    const ChartPainter& paintChart_;
};

}  // namespace

void prepareReportPage(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
}

bool paintReport(QPrinter& printer, const PrintedReport& report, const ChartPainter& paintChart) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QRect page(QPoint(0, 0),
                     printer.pageLayout().paintRectPixels(printer.resolution()).size());
    ReportLayout layout(painter, report, page, paintChart);
    const int charts = std::max(layout.chartCount(), 1);
    const auto chartRoom = [&](int points) {
        return (page.height() - layout.tablesHeight(points)) / charts;
    };
    int points = kTablePoints;
    while (points > kSmallestTablePoints && chartRoom(points) < page.height() * kLeastChartShare) {
        --points;
    }
    const int chartHeight =
        std::clamp(chartRoom(points), 0, static_cast<int>(page.height() * kMostChartShare));
    layout.paint(points, chartHeight);
    return painter.end();
}

}  // namespace tamrivo
