// The services that ask the person through the system's dialogs, and print.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "engine/chart_view.h"
#include "engine/conversions.h"
#include "engine/form_printer.h"
#include "engine/pdf_text_layer.h"
#include "engine/qt_window_services.h"
#include "engine/report_printer.h"
#include "engine/whole_file.h"

namespace tamrivo {
namespace {

// Paints on the printer; a PDF file chosen in the print dialog is written as a landlord's
// file, beside and then renamed, rather than opened where it stands, with its text layer
// mended as a PDF saved directly is.
bool paintPrinted(QPrinter& printer, const std::function<bool()>& paint) {
    const QString file = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || file.isEmpty()) {
        return paint();
    }
    return writeWholeFile(fromQString(file), [&](const QString& partial) {
        printer.setOutputFileName(partial);
        return paint() && mendTextLayerOfFile(partial);
    });
}

}  // namespace

void QtWindowServices::bringToFront(WindowHandle window) {
    windowThread_.run([this, window] {
        if (EngineWindow* found = findWindow(window)) {
            found->showNormal();
            found->QWidget::raise();
            found->activateWindow();
        }
    });
}

Text QtWindowServices::askSaveFileName(WindowHandle owner, const Text& title,
                                       const Text& suggestedName, const Text& filter) {
    return windowThread_.call<Text>(
        [&]() -> Text {
            const SaveDialogRequest request{title, suggestedName, filter, owner};
            if (saveDialogPresenter_) {
                return saveDialogPresenter_(request);
            }
            QFileDialog dialog(findWindow(owner), toQString(title));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setNameFilter(toQString(filter));
            const QFileInfo suggested(QDir::home(), toQString(suggestedName));
            dialog.setDefaultSuffix(suggested.suffix());
            dialog.setDirectory(suggested.absolutePath());
            dialog.selectFile(suggested.fileName());
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
                return {};
            }
            return fromQString(dialog.selectedFiles().first());
        },
        Text());
}

bool QtWindowServices::askPrinter(QPrinter& printer, WindowHandle owner) {
    if (printDialogPresenter_) {
        return printDialogPresenter_(printer);
    }
    QPrintDialog dialog(&printer, findWindow(owner));
    return dialog.exec() == QDialog::Accepted;
}

PrintOutcome QtWindowServices::printForm(WindowHandle owner, const PrintedForm& form) {
    return windowThread_.call<PrintOutcome>(
        [&] {
            QPrinter printer(QPrinter::HighResolution);
            prepareFormPage(printer);
            if (!askPrinter(printer, owner)) {
                return PrintOutcome::Cancelled;
            }
            return paintPrinted(printer, [&] { return paintForm(printer, form); })
                       ? PrintOutcome::Printed
                       : PrintOutcome::Failed;
        },
        PrintOutcome::Failed);
}

bool QtWindowServices::saveFormAsPdf(const PrintedForm& form, const Text& path) {
    return windowThread_.call<bool>(
        [&] {
            return writeWholeFile(path, [&](const QString& partial) {
                QPrinter printer(QPrinter::HighResolution);
                prepareFormPage(printer);
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(partial);
                return paintForm(printer, form) && mendTextLayerOfFile(partial);
            });
        },
        false);
}

Text QtWindowServices::askFolder(WindowHandle owner, const Text& title) {
    return windowThread_.call<Text>(
        [&]() -> Text {
            if (folderDialogPresenter_) {
                return folderDialogPresenter_(title);
            }
            return fromQString(QFileDialog::getExistingDirectory(
                findWindow(owner), toQString(title), QDir::homePath()));
        },
        Text());
}

ChartPainter QtWindowServices::chartPainter(WindowHandle owner) const {
    return [this, owner](const Text& chart, QPainter& painter, const QRect& area) {
        if (auto* view = find<ChartView>(owner, chart)) {
            view->render(&painter, QRectF(area));
        }
    };
}

PrintOutcome QtWindowServices::printReport(WindowHandle owner, const PrintedReport& report) {
    return windowThread_.call<PrintOutcome>(
        [&] {
            QPrinter printer(QPrinter::HighResolution);
            prepareReportPage(printer);
            if (!askPrinter(printer, owner)) {
                return PrintOutcome::Cancelled;
            }
            return paintPrinted(printer,
                                [&] { return paintReport(printer, report, chartPainter(owner)); })
                       ? PrintOutcome::Printed
                       : PrintOutcome::Failed;
        },
        PrintOutcome::Failed);
}

void QtWindowServices::setSaveDialogPresenter(SaveDialogPresenter presenter) {
    windowThread_.run(
        [this, presenter = std::move(presenter)] { saveDialogPresenter_ = presenter; });
}

void QtWindowServices::setFolderDialogPresenter(FolderDialogPresenter presenter) {
    windowThread_.run(
        [this, presenter = std::move(presenter)] { folderDialogPresenter_ = presenter; });
}

void QtWindowServices::setPrintDialogPresenter(PrintDialogPresenter presenter) {
    windowThread_.run(
        [this, presenter = std::move(presenter)] { printDialogPresenter_ = presenter; });
}

}  // namespace tamrivo
