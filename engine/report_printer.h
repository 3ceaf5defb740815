#pragma once

#include <functional>

#include "ui/window_services.h"

class QPainter;
class QPrinter;
class QRect;

namespace tamrivo {

// Paints a chart of the report into a rectangle of the page.
using ChartPainter = std::function<void(const Text& chart, QPainter& painter, const QRect& area)>;

// Sets the printer up for a report: an A4 page, upright.
void prepareReportPage(QPrinter& printer);

// Paints the report on one page: the title centred at the top, each table in lined-up
// columns (the first to the left, the others, figures, to the right; the head in bold), the
// charts sharing the height the tables leave. Tables too long for the page are set in a
// smaller type until they fit. False when the printer cannot be opened.
bool paintReport(QPrinter& printer, const PrintedReport& report, const ChartPainter& paintChart);

}  // namespace tamrivo
