#include "history/library_text.h"

#include "history/draw_text.h"

namespace dlt {

std::string libraryText(const std::vector<DrawRecord>& newestFirst) {
    std::string text;
    text.reserve(newestFirst.size() * 27);
    for (const DrawRecord& draw : newestFirst) {
        text += draw.issue;
        text += ' ';
        text += formatNumberGroups(draw.front);
        text += ' ';
        text += formatNumberGroups(draw.back);
        text += '\n';
    }
    return text;
}

HistoryColumns columnsOf(const std::vector<DrawRecord>& newestFirst) {
    HistoryColumns columns;
    columns.issues.reserve(newestFirst.size() * 5);
    columns.fronts.reserve(newestFirst.size() * 10);
    columns.backs.reserve(newestFirst.size() * 4);
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) {
        columns.issues += it->issue;
        columns.fronts += it->front;
        columns.backs += it->back;
    }
    return columns;
}

} // namespace dlt
