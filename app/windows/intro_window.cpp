#include "app/windows/intro_window.h"

#include <QPixmap>
#include <QPushButton>

#include "app/form/form_build.h"
#include "app/ports/text.h"
#include "app/form/look.h"
#include "app/startup/maker.h"
#include "app/startup/resources.h"

namespace dlt::gui {

IntroWindow::IntroWindow(const ProcessState& state, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("IntroWindow"));
    initResources();
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(clientSizeOf({kWidth, kHeight}));
    setFont(defaultGuiFont());

    PictureBox* picture = addPictureBox(this, QStringLiteral("图片框1"), {-1, 0, 688, 584});
    picture->setPicture(QPixmap(QStringLiteral(":/intro.jpg")));

    addLabel(this, {"标签1",
                    {0, 584, 344, 56},
                    QString::fromUtf8(maker::name.data(), qsizetype(maker::name.size())),
                    formFont(FontFace::HeiTi, 21, FontStyle{true, true, false}),
                    QColor(0x80, 0x80, 0x80),
                    Background::transparent(),
                    kCentreMiddle,
                    false});

    QPushButton* next = addButton(this, QStringLiteral("按钮1"), {488, 595, 96, 32},
                                  QStringLiteral("下一步"), formFont(FontFace::KaiTi, 24, true));
    next->setAutoDefault(true); // Enter on the focused button presses it
    connect(next, &QPushButton::clicked, this, &QDialog::accept);

    // Created: the title is the product name, "v" and the version.
    setWindowTitle(fromUtf8(introTitle(state)));
}

void IntroWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    emit shown();
}

} // namespace dlt::gui
