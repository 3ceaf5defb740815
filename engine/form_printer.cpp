#include "engine/form_printer.h"

#include <QPainter>
#include <QPrinter>

#include "engine/chinese_font.h"
#include "engine/conversions.h"

namespace tamrivo {
namespace {

constexpr double kMarginMillimetres = 12;
constexpr int kTitlePoints = 20;
constexpr int kLinePoints = 11;
constexpr int kSmallestLinePoints = 5;
constexpr int kLineGapPoints = 4;  // between two lines, and below the title

// Places the form's lines at the given size; the height they take, in device pixels, and with
// paint, paints them too.
class FormLayout {
public:
    FormLayout(QPainter& painter, const PrintedForm& form, const QRect& page)
        : painter_(painter), form_(form), page_(page) {}

    int place(int linePoints, bool paint) {
        const QFont title = formFont(kTitlePoints, true);
        const QFont lines = formFont(linePoints);
        int top = page_.top();
        top += block(title, page_.left(), page_.width(), top, form_.title,
                     Qt::AlignHCenter | Qt::TextWordWrap, paint);
        top += points(kLineGapPoints * 2);
        painter_.setFont(lines);
        const int labelWidth = labelColumnWidth();
        const int valueLeft = page_.left() + labelWidth;
        const int valueWidth = page_.width() - labelWidth;
        for (const PrintedForm::Line& line : form_.lines) {
            const int labelHeight =
                block(lines, page_.left(), labelWidth, top, line.label, Qt::AlignLeft, paint);
            const int valueHeight = block(lines, valueLeft, valueWidth, top, line.value,
                                          Qt::AlignLeft | Qt::TextWrapAnywhere, paint);
            top += std::max(labelHeight, valueHeight) + points(kLineGapPoints);
        }
        return top - page_.top();
    }

private:
    int points(int count) const { return count * painter_.device()->logicalDpiY() / 72; }

    int labelColumnWidth() const {
        int widest = 0;
        for (const PrintedForm::Line& line : form_.lines) {
            widest =
                std::max(widest, painter_.fontMetrics().horizontalAdvance(toQString(line.label)));
        }
        return std::min(widest + points(kLineGapPoints * 2), page_.width() / 3);
    }

    int block(const QFont& font, int left, int width, int top, const Text& text, int flags,
              bool paint) {
        painter_.setFont(font);
        const QRect area(left, top, width, page_.bottom() - top);
        const QRect used = painter_.boundingRect(area, flags, toQtLines(text));
        if (paint) {
            painter_.drawText(area, flags, toQtLines(text));
        }
        return std::max(used.height(), painter_.fontMetrics().height());
    }

    QPainter& painter_;
    const PrintedForm& form_;
    const QRect page_;
};

}  // namespace

QFont formFont(int points, bool bold) {
    QFont font(chineseFamily());
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

void prepareFormPage(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A5));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
}

bool paintForm(QPrinter& printer, const PrintedForm& form) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QRect page(QPoint(0, 0),
                     printer.pageLayout().paintRectPixels(printer.resolution()).size());
    FormLayout layout(painter, form, page);
    int linePoints = kLinePoints;
    while (linePoints > kSmallestLinePoints && layout.place(linePoints, false) > page.height()) {
        --linePoints;
    }
    layout.place(linePoints, true);
    return painter.end();
}

}  // namespace tamrivo
