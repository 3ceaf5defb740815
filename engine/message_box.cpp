#include "engine/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

#include "engine/conversions.h"

namespace tamrivo {
namespace {

// MessageBoxA's results (IDOK ... IDCONTINUE).
enum ButtonId : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdAbort = 3,
    kIdRetry = 4,
    kIdIgnore = 5,
    kIdYes = 6,
    kIdNo = 7,
    kIdTryAgain = 10,
    kIdContinue = 11,
};

constexpr int kButtonMask = 0x0F;
constexpr int kIconMask = 0xF0;
constexpr int kDefaultButtonMask = 0xF00;

std::vector<int> buttonsOf(int flags) {
    switch (flags & kButtonMask) {
        case 1:
            return {kIdOk, kIdCancel};
        case 2:
            return {kIdAbort, kIdRetry, kIdIgnore};
        case 3:
            return {kIdYes, kIdNo, kIdCancel};
        case 4:
            return {kIdYes, kIdNo};
        case 5:
            return {kIdRetry, kIdCancel};
        case 6:
            return {kIdCancel, kIdTryAgain, kIdContinue};
        default:
            return {kIdOk};
    }
}

Text captionOf(int id) {
    switch (id) {
        case kIdCancel:
            return "取消";
        case kIdAbort:
            return "中止";
        case kIdRetry:
        case kIdTryAgain:
            return "重试";
        case kIdIgnore:
            return "忽略";
        case kIdYes:
            return "是";
        case kIdNo:
            return "否";
        case kIdContinue:
            return "继续";
        default:
            return "确定";
    }
}

QMessageBox::Icon iconOf(int flags) {
    switch (flags & kIconMask) {
        case 0x10:
            return QMessageBox::Critical;
        case 0x20:
            return QMessageBox::Question;
        case 0x30:
            return QMessageBox::Warning;
        case 0x40:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int showMessageBox(const MessageBoxRequest& request, QWidget* owner) {
    QMessageBox box(owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(toQString(request.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQtLines(request.content));
    box.setIcon(iconOf(request.flags));

    // Every button takes the action role so they keep Windows' order; Escape and the close
    // button answer only where Windows lets them: Cancel, or the OK of a box with one button.
    std::vector<std::pair<QPushButton*, int>> buttons;
    for (const int id : buttonsOf(request.flags)) {
        buttons.emplace_back(box.addButton(toQString(captionOf(id)), QMessageBox::ActionRole), id);
    }
    for (const auto& [button, id] : buttons) {
        if (id == kIdCancel || buttons.size() == 1) {
            box.setEscapeButton(button);
        }
    }
    const auto defaultIndex = static_cast<std::size_t>((request.flags & kDefaultButtonMask) >> 8);
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0].first);

    box.exec();
    for (const auto& [button, id] : buttons) {
        if (box.clickedButton() == button) {
            return id - 1;
        }
    }
    return -1;
}

}  // namespace tamrivo
