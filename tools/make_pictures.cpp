// Renders the program's own windows offscreen and writes:
//   <resources>/logo.jpg   the maker's logo of the about window (387 x 200)
//   <resources>/intro.jpg  the main window in use, with a real recommendation
//                          over the given draws (691 x 587)
//   <resources>/guide.mht the user's guide (help archive): the document in
//                          <guide> (guide.html, guide.css) with its pictures,
//                          each taken by the caption its mark names
//   <docs>/main-window.png the main window after a run, as the README shows it
//   <docs>/main-window-advanced.png  the same with the advanced area open
//   <docs>/trend-window.png, <docs>/backtest-window.png
//                          the trend chart and the finished backtest over
//                          the given draws
//   <shots>/*.png          (optional) screenshots of every window for review,
//                          and the guide's page and pictures in <shots>/guide
//   <icons>/qvemtrod-<N>.png the desktop icon at 48, 128 and 256 pixels,
//                          the logo's emblem
//
// make_pictures [--draws FILE --resources DIR --guide DIR [--docs DIR] [--shots DIR]]
//               [--icons DIR]
//
// The draws file has one draw a line, newest first:
// "issue date f1 f2 f3 f4 f5 b1 b2".
#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ports/text.h"
#include "core/identity.h"
#include "app/windows/about_window.h"
#include "app/windows/backtest_window.h"
#include "app/windows/intro_window.h"
#include "app/form/look.h"
#include "app/windows/main_window.h"
#include "app/startup/maker.h"
#include "app/commands/menus.h"
#include "app/ports/message_box.h"
#include "app/ports/platform.h"
#include "app/windows/ticket_window.h"
#include "app/windows/trend_window.h"
#include "app/ports/url_opener.h"
#include "core/process_state.h"
#include "help/guide_document.h"
#include "help/help_archive.h"
#include "history/library_text.h"
#include "storage/file_io.h"
#include "tools/help_guide.h"
#include "tools/picture_kit.h"

using namespace dlt;
using namespace dlt::gui;
using namespace picturekit;

namespace {

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
    p.drawText(QRectF(142, 18, 240, 66), Qt::AlignLeft | Qt::AlignVCenter, fromUtf8(maker::name));
    p.setPen(QColor(0x2E, 0x6B, 0x3A));
    p.setFont(formFont(FontFace::KaiTi, 28, true));
    p.drawText(QRectF(144, 88, 240, 40), Qt::AlignLeft | Qt::AlignVCenter, fromUtf8(maker::studio));

    // The web address on a band along the bottom.
    const QRectF band(0, 148, 387, 52);
    QLinearGradient blue(band.topLeft(), band.bottomLeft());
    blue.setColorAt(0, QColor(0x2B, 0x5F, 0xC8));
    blue.setColorAt(1, QColor(0x13, 0x3A, 0x8A));
    p.fillRect(band, blue);
    p.setPen(Qt::white);
    p.setFont(formFont(FontFace::MicrosoftSansSerif, 25, true));
    p.drawText(band, Qt::AlignCenter, fromUtf8(maker::siteHost));
    p.end();
    return image;
}

// The main window as a desktop shows it: the framed window (its menu bar and
// client area under an XP-style title bar) on a quiet desktop background.
QImage makeIntroPicture(MainWindow& window) {
    const QImage frame = framed(window.grab(), window.windowTitle());
    QImage image(691, 587, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient desk(0, 0, 0, image.height());
    desk.setColorAt(0, QColor(0x5A, 0x7E, 0xDC));
    desk.setColorAt(1, QColor(0x3A, 0x6E, 0xA5));
    p.fillRect(image.rect(), desk);
    const QPoint at((image.width() - frame.width()) / 2, (image.height() - frame.height()) / 2);
    p.fillRect(QRect(at + QPoint(5, 5), frame.size()), QColor(0, 0, 0, 70)); // shadow
    p.drawImage(at, frame);
    p.end();
    return image;
}

// The trend chart scrolled to the newest draws, and the backtest once its
// walk has finished.
QImage trendPicture(const std::vector<DrawRecord>& draws) {
    TrendWindow trend(draws);
    trend.resize(trend.width(), 720);
    trend.show();
    QApplication::processEvents();
    return trend.grab().toImage();
}

QImage backtestPicture(const std::vector<DrawRecord>& draws) {
    const HistoryColumns columns = columnsOf(draws);
    // The draws file holds no published prizes: every floating tier is counted apart.
    BacktestWindow backtest(columns.issues, columns.fronts, columns.backs, {});
    QEventLoop finished;
    QObject::connect(&backtest, &BacktestWindow::finished, &finished, &QEventLoop::quit);
    backtest.show();
    finished.exec();
    QApplication::processEvents();
    return backtest.grab().toImage();
}

// The guide's parts are named under the maker's site address, as a web
// archive saved from the site names them; the page's pictures resolve
// against its own location.
const QString kPageName = QStringLiteral("guide");
QString pageLocation() {
    return fromUtf8(maker::siteAddress) + QStringLiteral("/help/") + kPageName +
           QStringLiteral(".htm");
}

// The help archive from the guide document in guideDir: every mark's picture
// taken by its caption and numbered in page order. Empty when the document
// does not read or a caption has no picture.
std::string packGuide(const QString& guideDir, const std::vector<DrawRecord>& draws,
                      const QString& shotsDir) {
    const std::uintmax_t kLargest = 4u << 20;
    const FileRead page = readFile(toPath(guideDir + QStringLiteral("/guide.html")), kLargest);
    const FileRead style = readFile(toPath(guideDir + QStringLiteral("/guide.css")), kLargest);
    if (page.status != FileRead::Status::Read || style.status != FileRead::Status::Read) {
        std::fprintf(stderr, "make_pictures: cannot read the guide in %s\n", qPrintable(guideDir));
        return {};
    }
    helpguide::GuideShots shots(draws);
    std::vector<help::GuidePicture> shown;
    std::vector<help::ArchivePicture> packed;
    const QString folder = kPageName + QStringLiteral(".files");
    const QString base = pageLocation().left(pageLocation().lastIndexOf(u'/') + 1);
    for (const std::string& caption : help::guidePictureCaptions(page.bytes)) {
        const QImage shot = shots.take(caption);
        if (shot.isNull()) {
            std::fprintf(stderr, "make_pictures: the guide has no picture \"%s\"\n",
                         caption.c_str());
            return {};
        }
        // Screenshots of windows have few colours: 256 keep them and make the
        // pictures a third of the size.
        const QImage image = shot.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG", 0); // smallest file
        const QString file =
            QStringLiteral("image%1.png").arg(packed.size() + 1, 3, 10, QChar(u'0'));
        const QString relative = folder + u'/' + file;
        shown.push_back({relative.toStdString(), image.width(), image.height()});
        packed.push_back({(base + relative).toStdString(), png.toStdString()});
        if (!shotsDir.isEmpty())
            save(image, shotsDir + u'/' + file, "PNG");
    }
    const std::string composed = help::composeGuidePage(page.bytes, style.bytes, shown);
    if (!shotsDir.isEmpty())
        replaceFileDurably(toPath(shotsDir + QStringLiteral("/guide.htm")), composed);
    return help::packArchive(pageLocation().toStdString(), composed, packed);
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser options;
    options.addHelpOption();
    options.addOption({QStringLiteral("draws"), QStringLiteral("Past draws, newest first."),
                       QStringLiteral("file")});
    options.addOption({QStringLiteral("resources"), QStringLiteral("Where the pictures go."),
                       QStringLiteral("dir")});
    options.addOption({QStringLiteral("guide"),
                       QStringLiteral("The guide document (guide.html, guide.css)."),
                       QStringLiteral("dir")});
    options.addOption({QStringLiteral("docs"),
                       QStringLiteral("Where the README's screenshot goes."),
                       QStringLiteral("dir")});
    options.addOption({QStringLiteral("site"),
                       QStringLiteral("The bundled site, which serves the README's screenshots "
                                      "to the metainfo."),
                       QStringLiteral("dir")});
    options.addOption({QStringLiteral("shots"), QStringLiteral("Where review screenshots go."),
                       QStringLiteral("dir")});
    options.addOption({QStringLiteral("icons"), QStringLiteral("Where the desktop icons go."),
                       QStringLiteral("dir")});
    options.process(app);
    const bool pictures = options.isSet(QStringLiteral("draws")) &&
                          options.isSet(QStringLiteral("resources")) &&
                          options.isSet(QStringLiteral("guide"));
    const QString icons = options.value(QStringLiteral("icons"));
    if (!pictures && icons.isEmpty()) {
        std::fprintf(stderr,
                     "usage: make_pictures [--draws FILE --resources DIR --guide DIR [--docs DIR] "
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

    const std::vector<DrawRecord> draws = readDraws(options.value(QStringLiteral("draws")));
    if (draws.empty()) {
        std::fprintf(stderr, "make_pictures: no draws in %s\n",
                     qPrintable(options.value(QStringLiteral("draws"))));
        return 1;
    }
    QTemporaryDir history;
    QtMessageBoxPort messages;
    MainWindow window(state, toPath(history.path()), messages);
    new MenuCommands(window, messages, desktopUrlOpener(), toPath(QDir::tempPath()));
    if (!history.isValid() || !fillWithRecommendation(window, draws)) {
        std::fprintf(stderr, "make_pictures: cannot store the %zu draws\n", draws.size());
        return 1;
    }
    window.show();
    QApplication::processEvents();
    ok = save(makeIntroPicture(window), resources + QStringLiteral("/intro.jpg"), "JPG", 90) && ok;

    if (options.isSet(QStringLiteral("docs"))) {
        const QString docs = options.value(QStringLiteral("docs"));
        ok = save(window.grab().toImage(), docs + QStringLiteral("/main-window.png"), "PNG") && ok;
        window.toggleAdvancedArea();
        QApplication::processEvents();
        ok = save(window.grab().toImage(), docs + QStringLiteral("/main-window-advanced.png"),
                  "PNG") &&
             ok;
        window.toggleAdvancedArea();
        ok = save(trendPicture(draws), docs + QStringLiteral("/trend-window.png"), "PNG") && ok;
        ok = save(backtestPicture(draws), docs + QStringLiteral("/backtest-window.png"), "PNG") &&
             ok;
        // The desktop's software centre shows the same pictures from the
        // maker's site, at the addresses the metainfo names.
        if (options.isSet(QStringLiteral("site"))) {
            const QString served = options.value(QStringLiteral("site")) +
                                   QStringLiteral("/soft/") + fromUtf8(identity::productCode) +
                                   QStringLiteral("/screenshots");
            QDir().mkpath(served);
            for (const char* name : {"main-window.png", "main-window-advanced.png",
                                     "trend-window.png", "backtest-window.png"}) {
                const QString to = served + u'/' + QString::fromUtf8(name);
                QFile::remove(to);
                ok = QFile::copy(docs + u'/' + QString::fromUtf8(name), to) && ok;
            }
        }
    }

    if (options.isSet(QStringLiteral("shots"))) {
        const QString shots = options.value(QStringLiteral("shots"));
        save(window.grab().toImage(), shots + QStringLiteral("/main-648.png"), "PNG");
        window.clientArea()
            ->findChild<QLineEdit*>(QStringLiteral("期号框"))
            ->setText(QStringLiteral("25129"));
        window.clientArea()
            ->findChild<QLineEdit*>(QStringLiteral("号码框"))
            ->setText(QStringLiteral("01020304050607"));
        window.toggleAdvancedArea();
        QApplication::processEvents();
        save(window.grab().toImage(), shots + QStringLiteral("/main-869.png"), "PNG");
        window.toggleAdvancedArea();
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
        QTemporaryDir nothingStored;
        MainWindow empty(state, toPath(nothingStored.path()), messages);
        empty.show();
        QApplication::processEvents();
        save(empty.grab().toImage(), shots + QStringLiteral("/main-empty.png"), "PNG");
        // A short library whose cold rows hold groups of eight numbers.
        std::vector<DrawRecord> dense;
        for (int i = 13; i >= 0; --i)
            dense.push_back({std::to_string(24001 + i),
                             QStringLiteral("010203%1%2")
                                 .arg(4 + 2 * i, 2, 10, QChar(u'0'))
                                 .arg(5 + 2 * i, 2, 10, QChar(u'0'))
                                 .toStdString(),
                             "0102"});
        if (fillWithRecommendation(empty, dense)) {
            QApplication::processEvents();
            save(empty.grab().toImage(), shots + QStringLiteral("/main-dense.png"), "PNG");
        }
        save(trendPicture(draws), shots + QStringLiteral("/trend.png"), "PNG");
        save(backtestPicture(draws), shots + QStringLiteral("/backtest.png"), "PNG");
        {
            QTemporaryDir ticketBook;
            TicketWindow tickets(messages, toPath(ticketBook.path()), draws);
            tickets.show();
            QApplication::processEvents();
            save(tickets.grab().toImage(), shots + QStringLiteral("/tickets.png"), "PNG");
        }
        save(helpguide::helpWindowPicture(state), shots + QStringLiteral("/help.png"), "PNG");
    }

    // The guide as the help window shows it, for the README.
    if (options.isSet(QStringLiteral("docs")))
        ok = save(helpguide::helpWindowPicture(state),
                  options.value(QStringLiteral("docs")) + QStringLiteral("/help-window.png"),
                  "PNG") &&
             ok;

    const QString guideShots =
        options.isSet(QStringLiteral("shots"))
            ? options.value(QStringLiteral("shots")) + QStringLiteral("/guide")
            : QString();
    const std::string archive =
        packGuide(options.value(QStringLiteral("guide")), draws, guideShots);
    const QString guide = resources + QStringLiteral("/guide.mht");
    if (archive.empty()) {
        ok = false;
    } else if (replaceFileDurably(toPath(guide), archive)) {
        std::printf("wrote %s (%zu bytes)\n", qPrintable(guide), archive.size());
    } else {
        std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(guide));
        ok = false;
    }
    return ok ? 0 : 1;
}
