// The user's guide: its page and its pictures, every picture a screenshot of
// the program's own windows taken offscreen over a real history kept in a
// temporary folder, packed into the help archive.
#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "core/process_state.h"
#include "tools/picture_kit.h"

namespace helpguide {

// The whole archive. draws: the real history, newest first. When shotsDir is
// not empty the page and its pictures are also written there for review.
std::string makeHelpArchive(const std::vector<dlt::DrawRecord>& draws, const QString& shotsDir);

// The help window over the built-in guide once it has loaded, scrolled to
// the third section, in its frame.
QImage helpWindowPicture(const dlt::ProcessState& state);

} // namespace helpguide
