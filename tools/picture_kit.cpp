#include "tools/picture_kit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cstdio>

#include "app/form/look.h"
#include "app/windows/main_window.h"
#include "history/draw_file.h"
#include "history/history_store.h"
#include "history/library_text.h"
#include "storage/file_io.h"

using namespace dlt;
using namespace dlt::gui;

namespace picturekit {

std::vector<DrawRecord> readDraws(const QString& path) {
    const DrawFileRead read =
        parseDrawHistoryFile(readFile(path.toStdString(), std::uintmax_t{16} << 20).bytes);
    return {read.oldestFirst.rbegin(), read.oldestFirst.rend()};
}

bool fillWithRecommendation(MainWindow& window, const std::vector<DrawRecord>& draws) {
    if (!storeDraws(window.historyStore(), draws))
        return false;
    window.refreshHistorySummary();
    window.runRecommendation();
    return true;
}

bool storeDraws(const HistoryStore& store, const std::vector<DrawRecord>& draws) {
    const dlt::HistoryColumns columns = dlt::columnsOf(draws);
    return store.replaceHistory(columns.issues, columns.fronts, columns.backs);
}

QImage framed(const QPixmap& body, const QString& title, bool withMinimise) {
    // The home desktop's frame around the client area (look.h).
    const int border = kFrameBorder;
    const int titleHeight = kTitleBarHeight;
    const QSize frame(body.width() + 2 * border, body.height() + titleHeight + border);
    QImage image(frame, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(QPointF(0, 0), frame), 7, 7);
    QLinearGradient bar(0, 0, 0, titleHeight);
    bar.setColorAt(0, QColor(0x09, 0x97, 0xFF));
    bar.setColorAt(0.15, QColor(0x00, 0x53, 0xEE));
    bar.setColorAt(1, QColor(0x00, 0x50, 0xEE));
    p.fillPath(outline, QColor(0x00, 0x55, 0xEA));
    p.fillRect(QRect(0, 6, frame.width(), titleHeight - 6), bar);
    p.fillRect(QRect(6, 0, frame.width() - 12, 8), QColor(0x0A, 0x8C, 0xFF));
    p.setPen(Qt::white);
    p.setFont(formFont(FontFace::SongTi, 13, true));
    p.drawText(QRect(10, 0, frame.width() - 80, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
               title);
    // Caption buttons: minimise and close.
    const QRect close(frame.width() - 27, 5, 21, 21);
    const QRect minimise = close.translated(-23, 0);
    p.setPen(QPen(Qt::white, 1));
    if (withMinimise) {
        p.setBrush(QColor(0x2A, 0x6B, 0xF5));
        p.drawRoundedRect(minimise, 3, 3);
    }
    p.setBrush(QColor(0xE0, 0x5A, 0x2B));
    p.drawRoundedRect(close, 3, 3);
    p.setPen(QPen(Qt::white, 2));
    if (withMinimise)
        p.drawLine(minimise.left() + 5, minimise.bottom() - 5, minimise.left() + 11,
                   minimise.bottom() - 5);
    p.drawLine(close.topLeft() + QPoint(6, 6), close.bottomRight() - QPoint(6, 6));
    p.drawLine(close.topRight() + QPoint(-6, 6), close.bottomLeft() + QPoint(6, -6));
    p.drawPixmap(QPoint(border, titleHeight), body);
    p.end();
    return image;
}

bool save(const QImage& image, const QString& path, const char* format, int quality) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

} // namespace picturekit
