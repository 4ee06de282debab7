// What the resources programs share: the draws file, a main window showing a
// real recommendation over them, the XP-style window frame around a screenshot and
// the writing of pictures.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <string>
#include <vector>

namespace dlt {
class HistoryStore;
}
#include "core/draw_record.h"

namespace dlt::gui {
class MainWindow;
}

namespace picturekit {

using dlt::DrawRecord;

// The draws of a library text file (the real draws file), newest first;
// empty when it does not read.
std::vector<DrawRecord> readDraws(const QString& path);

// Stores the draws (given newest first) as the window's history, then shows
// its summary and runs a recommendation as 推荐号码按钮 does. False when the
// draws could not be stored.
bool fillWithRecommendation(dlt::gui::MainWindow& window, const std::vector<DrawRecord>& draws);

// Replaces the store's history with the draws (given newest first).
bool storeDraws(const dlt::HistoryStore& store, const std::vector<DrawRecord>& draws);

// A screenshot in an XP-style frame: title bar with the title, minimise
// (for windows that have it) and close buttons, and a blue border.
QImage framed(const QPixmap& body, const QString& title, bool minimise = true);

bool save(const QImage& image, const QString& path, const char* format, int quality = -1);

} // namespace picturekit
