// Stand-ins for the ports the online logic reports through, and the
// published draws the tests build their site content from.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/ports.h"
#include "online/past_draws.h"
#include "tests/support/real_draws.h"
#include "tools/site_content.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    dlt::MessageIcon icon;
    dlt::MessageButtons buttons;
};

// Records every message and answers with the next scripted answer, or, when
// the script has run out, as Enter would: the box's default button.
class RecordingMessages : public dlt::MessageBoxPort {
public:
    dlt::MessageAnswer showMessage(const std::string& text, const std::string& caption,
                                   dlt::MessageIcon icon, dlt::MessageButtons buttons) override {
        shown.push_back({text, caption, icon, buttons});
        if (onShow)
            onShow();
        if (!answers.empty()) {
            const dlt::MessageAnswer answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        }
        switch (buttons) {
        case dlt::MessageButtons::YesNo:
            return dlt::MessageAnswer::No;
        case dlt::MessageButtons::YesNoDefaultYes:
            return dlt::MessageAnswer::Yes;
        case dlt::MessageButtons::OkCancel:
            return dlt::MessageAnswer::Cancel;
        case dlt::MessageButtons::MergeReplaceCancel:
            return dlt::MessageAnswer::Merge;
        case dlt::MessageButtons::Ok:
            break;
        }
        return dlt::MessageAnswer::Ok;
    }
    std::vector<ShownMessage> shown;
    std::vector<dlt::MessageAnswer> answers;
    // Runs while a message is "open" (tests look at the files meanwhile).
    std::function<void()> onShow;
};

class RecordingOpener : public dlt::UrlOpener {
public:
    void openUrl(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

// The history list and summary lines as the window would show them.
class RecordingSink : public dlt::FetchSink {
public:
    void clearList() override { list.clear(); }
    void insertLine(int position, const std::string& line) override {
        list.insert(list.begin() + position, line);
    }
    void showSummary(const std::string& countLine, const std::string& numbersLine) override {
        summaries.push_back({countLine, numbersLine});
    }
    std::vector<std::string> list;
    std::vector<std::pair<std::string, std::string>> summaries;
};

inline const std::vector<dlt::DrawRecord>& publishedDraws() {
    return dlt::fixture::realDraws();
}

// draws [first, first + count) of the published draws, newest first (fewer
// when the data file holds fewer).
inline std::span<const dlt::DrawRecord> published(std::size_t first, std::size_t count) {
    const std::span<const dlt::DrawRecord> all(publishedDraws());
    first = std::min(first, all.size());
    return all.subspan(first, std::min(count, all.size() - first));
}
