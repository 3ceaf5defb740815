// The services that ask the person through the system's dialogs, and print.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "engine/conversions.h"
#include "engine/form_printer.h"
#include "engine/qt_window_services.h"
#include "ui/replacement_file.h"
#include "ui/text_encoding.h"

namespace tamrivo {

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

PrintOutcome QtWindowServices::printForm(WindowHandle owner, const PrintedForm& form) {
    return windowThread_.call<PrintOutcome>(
        [&] {
            QPrinter printer(QPrinter::HighResolution);
            prepareFormPage(printer);
            bool accepted = false;
            if (printDialogPresenter_) {
                accepted = printDialogPresenter_(printer);
            } else {
                QPrintDialog dialog(&printer, findWindow(owner));
                accepted = dialog.exec() == QDialog::Accepted;
            }
            if (!accepted) {
                return PrintOutcome::Cancelled;
            }
            return paintForm(printer, form) ? PrintOutcome::Printed : PrintOutcome::Failed;
        },
        PrintOutcome::Failed);
}

bool QtWindowServices::saveFormAsPdf(const PrintedForm& form, const Text& path) {
    return windowThread_.call<bool>(
        [&] {
            // Written whole beside the file the person chose, which is kept until then.
            ReplacementFile file;
            const std::string target = gbkToUtf8(path);
            if (target.empty() || file.create(target)) {
                return false;
            }
            QPrinter printer(QPrinter::HighResolution);
            prepareFormPage(printer);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(file.path().string()));
            return paintForm(printer, form) && !file.commit();
        },
        false);
}

void QtWindowServices::setSaveDialogPresenter(SaveDialogPresenter presenter) {
    windowThread_.run(
        [this, presenter = std::move(presenter)] { saveDialogPresenter_ = presenter; });
}

void QtWindowServices::setPrintDialogPresenter(PrintDialogPresenter presenter) {
    windowThread_.run(
        [this, presenter = std::move(presenter)] { printDialogPresenter_ = presenter; });
}

}  // namespace tamrivo
