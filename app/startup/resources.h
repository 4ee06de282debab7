// The pictures, the help archive and the window icons built into the program
// (":/intro.jpg", ":/logo.jpg", ":/guide.mht", ":/icons/qvemtrod-48.png").
#pragma once

namespace dlt::gui {

// Makes the built-in pictures available; safe to call more than once. The
// windows that show them call it themselves.
void initResources();

} // namespace dlt::gui
