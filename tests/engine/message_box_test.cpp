#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

#include "base/fatal_error.h"
#include "tests/support/engine_fixture.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

// Real boxes, handled the way a person would once each shows up.
class RealMessageBox : public EngineFixture {
protected:
    RealMessageBox() { services.setMessageBoxPresenter({}); }

    // Runs the action on the box as soon as it is up.
    void whenShown(std::function<void(QMessageBox&)> action) {
        auto* timer = new QTimer(&app);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                action(*box);
            }
        });
        timer->start(5);
    }

    static QStringList captions(const QMessageBox& box) {
        QStringList result;
        for (const QAbstractButton* button : box.buttons()) {
            result << button->text();
        }
        return result;
    }

    static QAbstractButton* button(const QMessageBox& box, const QString& caption) {
        for (QAbstractButton* candidate : box.buttons()) {
            if (candidate->text() == caption) {
                return candidate;
            }
        }
        return nullptr;
    }
};

TEST_F(RealMessageBox, NoOnAYesNoBoxAnswers6) {
    QStringList shown;
    QString title;
    QString text;
    whenShown([&](QMessageBox& box) {
        shown = captions(box);
        title = box.windowTitle();
        text = box.text();
        button(box, QStringLiteral("否"))->click();
    });
    EXPECT_EQ(services.messageBox("确定要删除\r\n101室", kMessageYesNo), kAnswerNo);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("是"), QStringLiteral("否")}));
    EXPECT_EQ(title, QStringLiteral("信息："));
    EXPECT_EQ(text, QStringLiteral("确定要删除\n101室"));
}

TEST_F(RealMessageBox, EscapeAnswersOnlyWhereWindowsLetsIt) {
    whenShown([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(services.messageBox("新密码不能为空", kMessageOk), kAnswerOk);

    whenShown([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(services.messageBox("x", 3, "Msg"), kAnswerCancel);  // Yes, No, Cancel

    bool stayedUp = false;
    whenShown([&](QMessageBox& box) {
        QTest::keyClick(&box, Qt::Key_Escape);
        stayedUp = box.isVisible();
        button(box, QStringLiteral("是"))->click();
    });
    EXPECT_EQ(services.messageBox("x", kMessageYesNo), kAnswerYes);
    EXPECT_TRUE(stayedUp);
}

TEST_F(RealMessageBox, FlagsChooseButtonsIconAndDefault) {
    QStringList shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultCaption;
    whenShown([&](QMessageBox& box) {
        shown = captions(box);
        icon = box.icon();
        defaultCaption = box.defaultButton()->text();
        button(box, QStringLiteral("重试"))->click();
    });
    EXPECT_EQ(services.messageBox("x", 2 | 0x30 | 0x100, "ErrMsg"), 3);  // Abort, Retry, Ignore
    EXPECT_EQ(shown, (QStringList{QStringLiteral("中止"), QStringLiteral("重试"),
                                  QStringLiteral("忽略")}));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(defaultCaption, QStringLiteral("重试"));
}

TEST_F(EngineFixture, FatalErrorsAreShownInABoxBeforeTheProgramEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    responder.whileShown([](const MessageBoxRequest& request) {
        std::fprintf(stderr, "shown %d: %s\n", request.flags, request.content.c_str());
    });
    EXPECT_EXIT(fatalError("missing sqlite3_key"), ::testing::ExitedWithCode(EXIT_FAILURE),
                "shown 16: missing sqlite3_key");
}

}  // namespace
}  // namespace tamrivo
