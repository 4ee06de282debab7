// What the resources programs share: the draws file, the engine's results in
// the main window's cells, the XP-style window frame around a screenshot and
// the writing of pictures.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <string>
#include <vector>

namespace dlt::gui {
class MainWindow;
}

namespace picturekit {

struct Draw {
    QString issue;
    std::string front; // 10 digits
    std::string back;  // 4 digits
};

// One draw a line, newest first: "issue date f1 f2 f3 f4 f5 b1 b2".
std::vector<Draw> readDraws(const QString& path);

// Two-digit groups joined by one space ("0102" gives "01 02").
QString groups(const std::string& digits);

// Runs the engine over the draws (given newest first) and writes its results
// into the window's cells and next-draw line. False when a zone had too
// short a history.
bool fillWithRecommendation(dlt::gui::MainWindow& window, const std::vector<Draw>& draws);

// The history summary lines as the window shows them for these draws.
void showSummary(dlt::gui::MainWindow& window, const std::vector<Draw>& draws);

// A screenshot in an XP-style frame: title bar with the title, minimise
// (for windows that have it) and close buttons, and a blue border.
QImage framed(const QPixmap& body, const QString& title, bool minimise = true);

bool save(const QImage& image, const QString& path, const char* format, int quality = -1);

} // namespace picturekit
