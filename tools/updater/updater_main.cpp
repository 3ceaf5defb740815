// The updater program: started by the main program with the downloaded package once that
// program is about to end; installs the package into the program's directory.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/text_encoding.h"
#include "tools/updater/updater_run.h"

namespace {

QString toQString(const tamrivo::Text& text) {
    return QString::fromUtf8(tamrivo::gbkToUtf8(text));
}

class UpdaterWindows final : public tamrivo::UpdaterHost {
public:
    UpdaterWindows(int& argc, char** argv) : argc_(argc), argv_(argv) {}

    void wait(std::chrono::milliseconds time) override { std::this_thread::sleep_for(time); }

    void showMessage(const tamrivo::Text& text, const tamrivo::Text& title) override {
        if (!application_) {
            application_ = std::make_unique<QApplication>(argc_, argv_);
        }
        QMessageBox box(QMessageBox::NoIcon, toQString(title), toQString(text));
        box.addButton(toQString("确定"), QMessageBox::AcceptRole);
        box.exec();
    }

    std::filesystem::path ownDirectory() override {
        std::error_code error;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
        return error ? std::filesystem::path(argv_[0]).parent_path() : self.parent_path();
    }

private:
    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> application_;  // made only when there is a message to show
};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    UpdaterWindows windows(argc, argv);
    return tamrivo::runUpdater(arguments, windows);
}
