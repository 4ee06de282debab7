// The pictures of the user's guide: screenshots of the program's own
// windows taken offscreen over a real history kept in a temporary folder,
// each found by its caption in the guide document (resources/guide/).
#pragma once

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "core/draw_record.h"
#include "core/process_state.h"

namespace helpguide {

class Studio;

class GuideShots {
public:
    // draws: the real history, newest first.
    explicit GuideShots(const std::vector<dlt::DrawRecord>& draws);
    ~GuideShots();

    // The picture of a caption (UTF-8, as the guide marks it); a null image
    // when there is no picture of that caption. Each picture sets up the
    // windows it shows, so the guide may put them in any order.
    QImage take(const std::string& caption);

private:
    std::unique_ptr<Studio> studio_;
};

// The help window over the built-in guide once it has loaded, scrolled to
// the third section, in its frame.
QImage helpWindowPicture(const dlt::ProcessState& state);

} // namespace helpguide
