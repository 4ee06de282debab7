// The desktop's message box and the application's identity: each box belongs
// to the window it speaks for and uses the windows' font; Qt's own texts are
// Chinese; the desktop finds the program's icon and desktop file.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/ports/text.h"
#include "app/form/look.h"
#include "app/ports/message_box.h"
#include "app/startup/program.h"
#include "tests/support/window_support.h"

namespace dlt::gui {
namespace {

// What the box showed, seen from inside its own modal loop.
struct SeenBox {
    QWidget* parent = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList labelFamilies;
    QPoint centre;
    QStringList buttons;
};

// Shows one box through the port, looks at it and presses its first button.
SeenBox showAndLook(QtMessageBoxPort& port, MessageButtons buttons) {
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.parent = box->parentWidget();
        seen.modality = box->windowModality();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            seen.labelFamilies = label->font().families();
        seen.centre = box->frameGeometry().center();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text();
        box->buttons().front()->click();
    });
    port.showMessage(toUtf8(QStringLiteral("号库已更新。")), toUtf8(QStringLiteral("成功：")),
                     MessageIcon::Information, buttons);
    return seen;
}

TEST(QtMessageBoxWindow, BelongsToItsWindowCentredAndModalToIt) {
    QMainWindow window;
    window.setGeometry(100, 100, 648, 392);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QtMessageBoxPort port;
    port.setParent(&window);
    const SeenBox seen = showAndLook(port, MessageButtons::Ok);
    EXPECT_EQ(seen.parent, &window);
    EXPECT_EQ(seen.modality, Qt::WindowModal);
    EXPECT_LE((seen.centre - window.frameGeometry().center()).manhattanLength(), 4);
}

TEST(QtMessageBoxWindow, WithoutAWindowItStandsAloneAndBlocksTheProgram) {
    QtMessageBoxPort port;
    const SeenBox seen = showAndLook(port, MessageButtons::Ok);
    EXPECT_EQ(seen.parent, nullptr);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
}

TEST(QtMessageBoxWindow, ForgetsAWindowThatIsGone) {
    QtMessageBoxPort port;
    {
        QMainWindow window;
        port.setParent(&window);
    }
    EXPECT_EQ(showAndLook(port, MessageButtons::Ok).parent, nullptr);
}

// What Enter or Esc answers in a box with the given buttons.
MessageAnswer answerByKey(QtMessageBoxPort& port, MessageButtons buttons, Qt::Key key) {
    QTimer::singleShot(0, [key] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, key);
    });
    return port.showMessage("仍要替换号库吗？", "注意：", MessageIcon::Question, buttons);
}

// A question whose Yes (or OK, or 替换) drops draws is answered by Enter and
// by Esc with the answer that keeps them; only the update offer, which
// changes nothing of the user's, takes Yes on Enter.
TEST(QtMessageBoxWindow, EnterAndEscGiveTheAnswerThatKeepsTheLibrary) {
    QtMessageBoxPort port;
    struct Case {
        MessageButtons buttons;
        MessageAnswer enter, escape;
    };
    for (const Case c :
         {Case{MessageButtons::YesNo, MessageAnswer::No, MessageAnswer::No},
          Case{MessageButtons::OkCancel, MessageAnswer::Cancel, MessageAnswer::Cancel},
          Case{MessageButtons::MergeReplaceCancel, MessageAnswer::Merge, MessageAnswer::Cancel},
          Case{MessageButtons::YesNoDefaultYes, MessageAnswer::Yes, MessageAnswer::No},
          Case{MessageButtons::Ok, MessageAnswer::Ok, MessageAnswer::Ok}}) {
        SCOPED_TRACE(int(c.buttons));
        EXPECT_EQ(answerByKey(port, c.buttons, Qt::Key_Return), c.enter);
        EXPECT_EQ(answerByKey(port, c.buttons, Qt::Key_Escape), c.escape);
    }
}

TEST(QtMessageBoxWindow, TextIsInTheWindowsFont) {
    QtMessageBoxPort port;
    EXPECT_EQ(showAndLook(port, MessageButtons::Ok).labelFamilies, defaultGuiFont().families());
}

// The identity and the translations stay for the rest of this process; the
// names, which choose the per-user data folder, are put back.
class PreparedApplication : public ::testing::Test {
protected:
    void SetUp() override { prepareApplication(*qApp); }
    void TearDown() override {
        QApplication::setApplicationName(name_);
        QApplication::setOrganizationName(organization_);
    }
    const QString name_ = QApplication::applicationName();
    const QString organization_ = QApplication::organizationName();
};

TEST_F(PreparedApplication, QtsOwnTextsAreChinese) {
    QtMessageBoxPort port;
    EXPECT_EQ(showAndLook(port, MessageButtons::OkCancel).buttons,
              (QStringList{QStringLiteral("确定"), QStringLiteral("取消")}));
    const QStringList yesNo = showAndLook(port, MessageButtons::YesNo).buttons;
    ASSERT_EQ(yesNo.size(), 2);
    EXPECT_TRUE(yesNo[0].startsWith(QStringLiteral("是"))) << yesNo[0];
    EXPECT_TRUE(yesNo[1].startsWith(QStringLiteral("否"))) << yesNo[1];
}

TEST_F(PreparedApplication, DesktopFindsTheProgramsDesktopFileAndIcon) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("example.hecheng_soft.qvemtrod"));
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    for (int size : {48, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    QMainWindow window;
    EXPECT_FALSE(window.windowIcon().isNull());
}

} // namespace
} // namespace dlt::gui
