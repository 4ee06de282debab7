#include "app/windows/about_window.h"

#include <QPixmap>

#include "app/form/form_build.h"
#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "app/form/look.h"
#include "app/startup/maker.h"
#include "app/startup/resources.h"
#include "online/sites.h"

namespace dlt::gui {

AboutWindow::AboutWindow(const ProcessState& state, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutWindow"));
    initResources();
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(kWidth, kHeight);
    setWindowTitle(QStringLiteral("关于..."));
    setFont(defaultGuiFont());

    FormLabel* heading =
        addLabel(this, {"标签2",
                        {0, -7, 408, 298},
                        QStringLiteral("\n 关于软件"),
                        formFont(FontFace::SongTi, 16, true),
                        QColor(0x80, 0x80, 0xFF),
                        Background::stops({QColor(0x53, 0x53, 0x53), QColor(0x6A, 0x6A, 0x6A),
                                           QColor(0x3C, 0x3C, 0x3C)}),
                        kCentreTop,
                        false,
                        true});
    heading->setTextEffect(true);

    PictureBox* pressedPlace = addPictureBox(this, QStringLiteral("图片框3"), {16, 40, 176, 104});
    PictureBox* logo = addPictureBox(this, QStringLiteral("图片框1"), {8, 32, 176, 104});
    logo->setFitted(true); // the 387 by 200 logo keeps its proportions
    logo->setPicture(QPixmap(QStringLiteral(":/logo.jpg")));
    TransparentLabel* logoArea = addTransparentLabel(this, {"透明标签30",
                                                            {8, 32, 176, 104},
                                                            QString(),
                                                            defaultGuiFont(),
                                                            Qt::black,
                                                            Background::transparent()});
    connect(logoArea, &FormLabel::pressed, this, [logo, pressedPlace](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            logo->move(pressedPlace->pos());
    });
    connect(logoArea, &FormLabel::released, this, [logo, logoArea](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            logo->move(logoArea->pos());
    });

    // Created: the product name, a line break and the version.
    addTransparentLabel(this, {"透明标签14",
                               {208, 57, 176, 56},
                               fromUtf8(state.productName) + QStringLiteral("\nv") +
                                   fromUtf8(numberText(state.productVersion)),
                               formFont(FontFace::KaiTiGb2312, 21, true),
                               QColor(0x00, 0xFF, 0x00),
                               Background::transparent(),
                               kLeftTop,
                               false,
                               true});
    addTransparentLabel(
        this, {"透明标签20",
               {192, 120, 208, 145},
               QStringLiteral("使用条款：本软件为免费软件，欢迎自由复制和传播未经修改的完整副本；"
                              "仅供个人非商业用途使用。本软件不含任何病毒、木马等恶意代码。"
                              "因使用本软件而产生的任何后果，作者不承担任何责任。"),
               defaultGuiFont(),
               QColor(0xD8, 0xD8, 0x00),
               Background::transparent(),
               kLeftTop,
               false,
               true});

    const QColor contact(0x00, 0xE0, 0x80);
    // clang-format off
    const LabelSpec contacts[] = {
        {"透明标签16", {16, 144, 152, 16}, fromUtf8(maker::studio) + QStringLiteral(" 出品"), defaultGuiFont(), contact,
         Background::transparent(), kLeftTop},
        {"透明标签17", {16, 162, 152, 16}, QStringLiteral("客服XMPP：") + fromUtf8(maker::messengerServiceShort),
         defaultGuiFont(), contact, Background::transparent(), kLeftTop},
        {"透明标签25", {16, 180, 152, 16}, QStringLiteral("技术XMPP：") + fromUtf8(maker::messengerSalesShort),
         defaultGuiFont(), contact, Background::transparent(), kLeftTop},
        {"透明标签18", {16, 196, 152, 16}, fromUtf8(maker::serviceMail), defaultGuiFont(), contact,
         Background::transparent(), kLeftTop},
        {"透明标签19", {16, 212, 134, 16}, QStringLiteral("来信必复，欢迎指正"), defaultGuiFont(), contact,
         Background::transparent(), kLeftTop},
    };
    // clang-format on
    for (const LabelSpec& design : contacts)
        addTransparentLabel(this, design);

    TransparentLabel* download =
        addTransparentLabel(this, {"透明标签22",
                                   {16, 232, 120, 16},
                                   QStringLiteral("单击这里下载最新版本"),
                                   formFont(FontFace::SongTi, 12, FontStyle{false, false, true}),
                                   Qt::white,
                                   Background::transparent(),
                                   kLeftTop});
    download->setCursor(Qt::PointingHandCursor);
    // The link names, as its tip, the address it opens.
    download->setToolTip(QString::fromStdString(makerHomeUrl(builtInSites())));
    connect(download, &FormLabel::pressed, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            emit downloadRequested();
    });

    addTransparentLabel(this, {"透明标签15",
                               {0, 256, 408, 24},
                               QStringLiteral("Copyright © %1 %2 版权所有")
                                   .arg(fromUtf8(maker::years), fromUtf8(maker::name)),
                               defaultGuiFont(),
                               QColor(0x00, 0xFF, 0xFF),
                               Background::transparent(),
                               kCentreMiddle});

    auto* close = new ImageButton(this);
    close->setObjectName(QStringLiteral("关闭按钮"));
    close->setGeometry(360, 8, 24, 24);
    close->setText(QStringLiteral("×"));
    close->setFont(formFont(FontFace::SongTi, 16, true));
    QPalette p = close->palette();
    p.setColor(QPalette::ButtonText, Qt::white);
    close->setPalette(p);
    connect(close, &ImageButton::clicked, this, &QDialog::accept);
}

} // namespace dlt::gui
