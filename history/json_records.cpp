#include "history/json_records.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

namespace dlt {

namespace {

// A parsed document, only as much of it as the reader needs: the texts of
// strings and numbers, and the order of an object's keys as written.
struct Value {
    enum class Kind { Other, Scalar, Array, Object } kind = Kind::Other;
    std::string text;
    std::vector<Value> items;
    std::vector<std::string> keys; // of an object, parallel to items
};

// Builds the document from the parser's events. Deeper nesting than any
// history file has is refused, so that a hostile file cannot exhaust the
// stack of the reader's walks.
class DocumentBuilder : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit DocumentBuilder(const CancelFlag* cancel) : cancel_(cancel) {}
    Value document;

    bool null() override { return add(Value{}); }
    bool boolean(bool) override { return add(Value{}); }
    bool number_integer(number_integer_t value) override { return scalar(std::to_string(value)); }
    bool number_unsigned(number_unsigned_t value) override { return scalar(std::to_string(value)); }
    bool number_float(number_float_t, const string_t& written) override { return scalar(written); }
    bool string(string_t& text) override { return scalar(std::move(text)); }
    bool binary(binary_t&) override { return add(Value{}); }
    bool start_object(std::size_t) override { return open(Value::Kind::Object); }
    bool key(string_t& name) override {
        open_.back()->keys.push_back(std::move(name));
        return going();
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Value::Kind::Array); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    static constexpr std::size_t kMaxDepth = 64;

    bool going() const { return !(cancel_ && cancel_->cancelled()); }

    Value* place(Value value) {
        if (open_.empty()) {
            document = std::move(value);
            return &document;
        }
        // Only the innermost open value grows: the pointers to its
        // ancestors stay valid.
        open_.back()->items.push_back(std::move(value));
        return &open_.back()->items.back();
    }
    bool add(Value value) {
        place(std::move(value));
        return going();
    }
    bool scalar(std::string text) {
        Value value;
        value.kind = Value::Kind::Scalar;
        value.text = std::move(text);
        return add(std::move(value));
    }
    bool open(Value::Kind kind) {
        if (open_.size() >= kMaxDepth)
            return false;
        Value value;
        value.kind = kind;
        open_.push_back(place(std::move(value)));
        return going();
    }
    bool close() {
        open_.pop_back();
        return going();
    }

    const CancelFlag* cancel_;
    std::vector<Value*> open_;
};

// The texts of a value's leaves, in order, joined by blanks.
void appendLeaves(const Value& value, std::string& out) {
    if (value.kind == Value::Kind::Scalar) {
        if (!out.empty())
            out += ' ';
        out += value.text;
    }
    for (const Value& item : value.items)
        appendLeaves(item, out);
}

enum class KeyRole { Other, Issue, Date, Front, Back, Numbers };

bool containsAny(std::string_view s, const auto& candidates) {
    return std::any_of(std::begin(candidates), std::end(candidates),
                       [&](std::string_view c) { return s.find(c) != std::string_view::npos; });
}

KeyRole roleOfKey(std::string_view key) {
    std::string lower(key);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    static constexpr std::string_view kDate[] = {"date", "time", "day", "日期"};
    static constexpr std::string_view kFront[] = {"red", "front", "qianqu", "前区", "红球"};
    static constexpr std::string_view kBack[] = {"blue", "back", "houqu", "后区", "蓝球"};
    static constexpr std::string_view kIssue[] = {
        "issue",   "expect", "term",  "period", "drawnum", "draw_num", "drawno",
        "draw_no", "qihao",  "qishu", "期号",   "期数",    "期次"};
    static constexpr std::string_view kNumbers[] = {"result", "opencode", "number", "haoma", "code",
                                                    "ball",   "win",      "号码",   "开奖"};
    if (containsAny(lower, kDate))
        return KeyRole::Date;
    if (containsAny(lower, kFront) || lower == "qq")
        return KeyRole::Front;
    if (containsAny(lower, kBack) || lower == "hq")
        return KeyRole::Back;
    if (containsAny(lower, kIssue) || lower == "qh" || lower == "no")
        return KeyRole::Issue;
    if (containsAny(lower, kNumbers))
        return KeyRole::Numbers;
    return KeyRole::Other;
}

// A record as a line: issue, front and back numbers by their key names, or
// every value in the order the record has them; and its date by its key.
JsonRecord recordOf(const Value& record) {
    JsonRecord result;
    if (record.kind != Value::Kind::Object) {
        appendLeaves(record, result.line);
        return result;
    }
    std::string issue, front, back, numbers;
    for (std::size_t i = 0; i < record.items.size(); ++i) {
        const Value& item = record.items[i];
        switch (roleOfKey(record.keys[i])) {
        case KeyRole::Issue:
            if (issue.empty())
                appendLeaves(item, issue);
            break;
        case KeyRole::Front:
            appendLeaves(item, front);
            break;
        case KeyRole::Back:
            appendLeaves(item, back);
            break;
        case KeyRole::Numbers:
            if (numbers.empty())
                appendLeaves(item, numbers);
            break;
        case KeyRole::Date:
            if (result.date.empty() && item.kind == Value::Kind::Scalar)
                result.date = item.text;
            break;
        case KeyRole::Other:
            break;
        }
    }
    if (!issue.empty() && (!front.empty() || !numbers.empty()))
        result.line = issue + " " + (front.empty() ? numbers : front + " " + back);
    else
        appendLeaves(record, result.line);
    return result;
}

const Value* recordsOf(const Value& document) {
    auto holdsRecords = [](const Value& value) {
        return value.kind == Value::Kind::Array &&
               std::any_of(value.items.begin(), value.items.end(),
                           [](const Value& item) { return item.kind != Value::Kind::Scalar; });
    };
    if (document.kind == Value::Kind::Array && !holdsRecords(document))
        return &document;
    std::vector<const Value*> level{&document};
    while (!level.empty()) {
        const Value* best = nullptr;
        std::vector<const Value*> next;
        for (const Value* value : level) {
            if (holdsRecords(*value) && (!best || value->items.size() > best->items.size()))
                best = value;
            for (const Value& item : value->items)
                if (!item.items.empty())
                    next.push_back(&item);
        }
        if (best)
            return best;
        level = std::move(next);
    }
    return nullptr;
}

} // namespace

std::optional<std::vector<JsonRecord>> jsonRecords(std::string_view text,
                                                   const CancelFlag* cancel) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos || (text[begin] != '[' && text[begin] != '{'))
        return std::nullopt;
    DocumentBuilder builder(cancel);
    if (!nlohmann::json::sax_parse(text, &builder))
        return std::nullopt;
    const Value* records = recordsOf(builder.document);
    if (!records)
        return std::nullopt;
    std::vector<JsonRecord> lines;
    lines.reserve(records->items.size());
    for (const Value& record : records->items) {
        if (cancel && cancel->cancelled())
            return std::nullopt;
        lines.push_back(recordOf(record));
    }
    return lines;
}

} // namespace dlt
