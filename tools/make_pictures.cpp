// Renders the program's own windows offscreen and writes:
//   <resources>/logo.jpg   the maker's logo of the about window (387 x 200)
//   <resources>/intro.jpg  the main window in use, with a real recommendation
//                          over the given draws (691 x 587)
//   <docs>/main-window.png the main window as the README shows it
//   <shots>/*.png          (optional) screenshots of every window for review
//   <icons>/qvemtrod-<N>.png the desktop icon at 48, 128 and 256 pixels,
//                          the logo's emblem
//
// make_pictures [--draws FILE --resources DIR [--docs DIR] [--shots DIR]] [--icons DIR]
//
// The draws file has one draw a line, newest first:
// "issue date f1 f2 f3 f4 f5 b1 b2".
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cstdio>
#include <string>
#include <vector>

#include "app/gui/about_window.h"
#include "app/gui/form_widgets.h"
#include "app/gui/help_window.h"
#include "app/gui/intro_window.h"
#include "app/gui/look.h"
#include "app/gui/main_window.h"
#include "app/gui/maker.h"
#include "app/gui/platform.h"
#include "core/process_state.h"
#include "engine/engine.h"
#include "engine/rules.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

struct Draw {
    QString issue;
    std::string front; // 10 digits
    std::string back;  // 4 digits
};

// Newest first, as the file has them.
std::vector<Draw> readDraws(const QString& path) {
    std::vector<Draw> draws;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return draws;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(u' ', Qt::SkipEmptyParts);
        if (parts.size() != 9)
            continue;
        Draw d;
        d.issue = parts[0];
        for (int i = 2; i < 7; ++i)
            d.front += parts[i].toStdString();
        for (int i = 7; i < 9; ++i)
            d.back += parts[i].toStdString();
        draws.push_back(std::move(d));
    }
    return draws;
}

// Writes the engine's results into the main window's cells.
class CellSink : public ResultSink {
public:
    explicit CellSink(MainWindow& window) : window_(window) {}

    void showGroups(Zone zone, ResultLevel level, const GroupSet& groups) override {
        static const char* const prefixes[] = {"精选", "等级一", "等级二", "等级三"};
        const QString prefix = QString::fromUtf8(prefixes[int(level)]);
        const QChar zoneDigit = zone == Zone::Front ? u'1' : u'2';
        for (std::size_t g = 0; g < groups.size(); ++g) {
            QStringList tokens;
            for (std::size_t i = 0; i + 1 < groups[g].size(); i += 2)
                tokens << QString::fromStdString(groups[g].substr(i, 2));
            const QString digits = QString(zoneDigit) + QString::number(g + 1);
            if (FormLabel* cell = window_.resultCell(prefix, digits))
                cell->setText(tokens.join(u' '));
        }
    }

    void showNextDrawPicks(Zone zone, const std::vector<int>& picks) override {
        QStringList tokens;
        for (int pick : picks)
            tokens << QStringLiteral("%1").arg(pick, 2, 10, QChar(u'0'));
        auto* line = window_.clientArea()->findChild<FormLabel*>(QStringLiteral("下期精选号"));
        if (zone == Zone::Front)
            line->setText(tokens.join(u' '));
        else
            line->setText(line->text() + QStringLiteral("  ") + tokens.join(u' '));
    }

private:
    MainWindow& window_;
};

bool fillWithRecommendation(MainWindow& window, const std::vector<Draw>& draws) {
    ZoneText front;
    ZoneText back;
    for (auto it = draws.rbegin(); it != draws.rend(); ++it) { // oldest first
        front += it->front;
        back += it->back;
    }
    // The history summary lines as the window shows them for this library.
    auto groups = [](const std::string& digits) {
        QStringList tokens;
        for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
            tokens << QString::fromStdString(digits.substr(i, 2));
        return tokens.join(u' ');
    };
    auto* count = window.clientArea()->findChild<FormLabel*>(QStringLiteral("号库显示"));
    auto* newest = window.clientArea()->findChild<FormLabel*>(QStringLiteral("上期号码"));
    count->setText(QStringLiteral("号库数量:%1    第%2期:").arg(draws.size()).arg(draws.front().issue));
    newest->setText(groups(draws.front().front) + QStringLiteral("  ") + groups(draws.front().back));

    CellSink sink(window);
    const bool frontOk = std::holds_alternative<ZoneResult>(computeZone(rulesFor(Zone::Front), front, sink));
    const bool backOk = std::holds_alternative<ZoneResult>(computeZone(rulesFor(Zone::Back), back, sink));
    return frontOk && backOk;
}

// The logo's emblem, drawn at 112 pixels and scaled into the square: a
// rounded square of ripening-grain gold with 禾 in it.
constexpr qreal kEmblemSize = 112;

void drawEmblem(QPainter& p, const QRectF& square) {
    p.save();
    p.translate(square.topLeft());
    p.scale(square.width() / kEmblemSize, square.height() / kEmblemSize);
    const QRectF emblem(0, 0, kEmblemSize, kEmblemSize);
    QLinearGradient gold(emblem.topLeft(), emblem.bottomRight());
    gold.setColorAt(0, QColor(0xF6, 0xC3, 0x3B));
    gold.setColorAt(1, QColor(0x2E, 0x8B, 0x3E));
    p.setPen(QPen(QColor(0x1F, 0x5F, 0x2A), 3));
    p.setBrush(gold);
    p.drawRoundedRect(emblem, 22, 22);
    p.setPen(Qt::white);
    p.setFont(formFont(FontFace::KaiTi, 86, true));
    p.drawText(emblem.adjusted(0, -4, 0, 0), Qt::AlignCenter, QStringLiteral("禾"));
    p.restore();
}

// The desktop icon: the logo's emblem alone on a clear ground, drawn at the
// icon's own size rather than scaled from the logo picture, so that the
// large sizes stay sharp.
QImage makeIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const qreal margin = size / 32.0; // room for the emblem's frame
    drawEmblem(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    p.end();
    return image;
}

// The maker's logo: an emblem, the maker's and the studio's names and the
// web address.
QImage makeLogo() {
    QImage image(387, 200, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    sky.setColorAt(1, QColor(0xDD, 0xEE, 0xFF));
    p.fillRect(image.rect(), sky);

    drawEmblem(p, QRectF(18, 22, kEmblemSize, kEmblemSize));

    // The names.
    p.setPen(QColor(0x12, 0x3E, 0x8C));
    p.setFont(formFont(FontFace::HeiTi, 52, true));
    p.drawText(QRectF(142, 18, 240, 66), Qt::AlignLeft | Qt::AlignVCenter, utf8(maker::name));
    p.setPen(QColor(0x2E, 0x6B, 0x3A));
    p.setFont(formFont(FontFace::KaiTi, 28, true));
    p.drawText(QRectF(144, 88, 240, 40), Qt::AlignLeft | Qt::AlignVCenter, utf8(maker::studio));

    // The web address on a band along the bottom.
    const QRectF band(0, 148, 387, 52);
    QLinearGradient blue(band.topLeft(), band.bottomLeft());
    blue.setColorAt(0, QColor(0x2B, 0x5F, 0xC8));
    blue.setColorAt(1, QColor(0x13, 0x3A, 0x8A));
    p.fillRect(band, blue);
    p.setPen(Qt::white);
    p.setFont(formFont(FontFace::MicrosoftSansSerif, 25, true));
    p.drawText(band, Qt::AlignCenter, utf8(maker::siteHost));
    p.end();
    return image;
}

// The main window as a desktop shows it: an XP-style title bar over what
// the window itself draws (its menu bar, when it has one, and the client
// area), set on a quiet desktop background.
QImage makeIntroPicture(MainWindow& window) {
    const QPixmap body = window.grab();
    const int border = 3;
    const int title = 29;
    const QSize frame(body.width() + 2 * border, body.height() + title + border);

    QImage image(691, 587, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient desk(0, 0, 0, image.height());
    desk.setColorAt(0, QColor(0x5A, 0x7E, 0xDC));
    desk.setColorAt(1, QColor(0x3A, 0x6E, 0xA5));
    p.fillRect(image.rect(), desk);

    const QPoint at((image.width() - frame.width()) / 2, (image.height() - frame.height()) / 2);
    // Shadow.
    p.fillRect(QRect(at + QPoint(5, 5), frame), QColor(0, 0, 0, 70));
    // Frame and title bar.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(at, frame), 7, 7);
    QLinearGradient bar(0, at.y(), 0, at.y() + title);
    bar.setColorAt(0, QColor(0x09, 0x97, 0xFF));
    bar.setColorAt(0.15, QColor(0x00, 0x53, 0xEE));
    bar.setColorAt(1, QColor(0x00, 0x50, 0xEE));
    p.fillPath(outline, QColor(0x00, 0x55, 0xEA));
    p.fillRect(QRect(at.x(), at.y() + 6, frame.width(), title - 6), bar);
    p.fillRect(QRect(at.x() + 6, at.y(), frame.width() - 12, 8), QColor(0x0A, 0x8C, 0xFF));
    p.setPen(Qt::white);
    p.setFont(formFont(FontFace::SongTi, 13, true));
    p.drawText(QRect(at.x() + 10, at.y(), frame.width() - 80, title), Qt::AlignLeft | Qt::AlignVCenter,
               window.windowTitle());
    // Caption buttons: minimise and close.
    const QRect close(at.x() + frame.width() - 27, at.y() + 5, 21, 21);
    const QRect minimise = close.translated(-23, 0);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QColor(0x2A, 0x6B, 0xF5));
    p.drawRoundedRect(minimise, 3, 3);
    p.setBrush(QColor(0xE0, 0x5A, 0x2B));
    p.drawRoundedRect(close, 3, 3);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(minimise.left() + 5, minimise.bottom() - 5, minimise.left() + 11, minimise.bottom() - 5);
    p.drawLine(close.topLeft() + QPoint(6, 6), close.bottomRight() - QPoint(6, 6));
    p.drawLine(close.topRight() + QPoint(-6, 6), close.bottomLeft() + QPoint(6, -6));
    p.drawPixmap(at + QPoint(border, title), body);
    p.end();
    return image;
}

bool save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareBrowserEngineEnvironment();
    QApplication app(argc, argv);

    QCommandLineParser options;
    options.addHelpOption();
    options.addOption({QStringLiteral("draws"), QStringLiteral("Past draws, newest first."), QStringLiteral("file")});
    options.addOption({QStringLiteral("resources"), QStringLiteral("Where the pictures go."), QStringLiteral("dir")});
    options.addOption({QStringLiteral("docs"), QStringLiteral("Where the README's screenshot goes."), QStringLiteral("dir")});
    options.addOption({QStringLiteral("shots"), QStringLiteral("Where review screenshots go."), QStringLiteral("dir")});
    options.addOption({QStringLiteral("icons"), QStringLiteral("Where the desktop icons go."),
                       QStringLiteral("dir")});
    options.process(app);
    const bool pictures =
        options.isSet(QStringLiteral("draws")) && options.isSet(QStringLiteral("resources"));
    const QString icons = options.value(QStringLiteral("icons"));
    if (!pictures && icons.isEmpty()) {
        std::fprintf(stderr, "usage: make_pictures [--draws FILE --resources DIR [--docs DIR] "
                             "[--shots DIR]] [--icons DIR]\n");
        return 2;
    }

    bool iconsOk = true;
    if (!icons.isEmpty()) {
        for (const int size : {48, 128, 256}) {
            const QString path = icons + QStringLiteral("/qvemtrod-%1.png").arg(size);
            iconsOk = save(makeIcon(size), path, "PNG") && iconsOk;
        }
    }
    if (!pictures)
        return iconsOk ? 0 : 1;

    applyXpLook(kXpSchemeBlue);
    ProcessState& state = processState();
    setProductIdentity(state);

    const QString resources = options.value(QStringLiteral("resources"));
    bool ok = save(makeLogo(), resources + QStringLiteral("/logo.jpg"), "JPG", 92) && iconsOk;

    const std::vector<Draw> draws = readDraws(options.value(QStringLiteral("draws")));
    if (draws.empty()) {
        std::fprintf(stderr, "make_pictures: no draws in %s\n", qPrintable(options.value(QStringLiteral("draws"))));
        return 1;
    }
    MainWindow window(state, toPath(QDir::tempPath()));
    if (!fillWithRecommendation(window, draws))
        std::fprintf(stderr, "make_pictures: the engine gave no recommendation for %zu draws\n", draws.size());
    window.show();
    QApplication::processEvents();
    ok = save(makeIntroPicture(window), resources + QStringLiteral("/intro.jpg"), "JPG", 90) && ok;

    if (options.isSet(QStringLiteral("docs")))
        ok = save(window.grab().toImage(), options.value(QStringLiteral("docs")) + QStringLiteral("/main-window.png"),
                  "PNG") && ok;

    if (options.isSet(QStringLiteral("shots"))) {
        const QString shots = options.value(QStringLiteral("shots"));
        save(window.grab().toImage(), shots + QStringLiteral("/main-648.png"), "PNG");
        window.clientArea()->findChild<QLineEdit*>(QStringLiteral("期号框"))->setText(QStringLiteral("25129"));
        window.clientArea()->findChild<QLineEdit*>(QStringLiteral("号码框"))->setText(QStringLiteral("01020304050607"));
        window.clientArea()->findChild<QListWidget*>(QStringLiteral("列表框1"))->addItems(
            {QStringLiteral("25128  03 06 26 30 33  11 12"), QStringLiteral("25127  04 05 19 28 29  05 08")});
        window.setClientWidth(MainWindow::kWideWidth);
        QApplication::processEvents();
        save(window.grab().toImage(), shots + QStringLiteral("/main-869.png"), "PNG");
        window.setClientWidth(MainWindow::kNarrowWidth);
        {
            IntroWindow intro(state);
            intro.show();
            QApplication::processEvents();
            save(intro.grab().toImage(), shots + QStringLiteral("/intro.png"), "PNG");
        }
        {
            AboutWindow about(state);
            about.show();
            QApplication::processEvents();
            save(about.grab().toImage(), shots + QStringLiteral("/about.png"), "PNG");
        }
        MainWindow empty(state, toPath(QDir::tempPath()));
        empty.show();
        QApplication::processEvents();
        save(empty.grab().toImage(), shots + QStringLiteral("/main-empty.png"), "PNG");
    }
    return ok ? 0 : 1;
}
