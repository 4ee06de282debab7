// The history store's opening and recovery over folders built from the input.
//
// Byte 0 even: a crash. A library of draws is made, then a change (append,
// removal of the newest draw, replacement, deletion of the files) is cut off
// at the file call the input names: from there on every call fails, as if
// the process had died. Before the commit record is durable a power cut may
// also have lost or damaged what was written; the input says how. Opening
// the folder must then give the library before or after the change, whole,
// with no commit record or temporary file left.
//
// Byte 0 odd: any state. The column files, a commit record and temporary
// files hold bytes of the input (the record may be made well-formed, naming
// the temporary files with their true digests). Opening must not crash, and
// when the store reports the recovery done, nothing of a commit is left and
// each column holds its own bytes or those of a temporary file named for it.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "history/history_store.h"
#include "storage/cipher.h"
#include "storage/file_io.h"

namespace fs = std::filesystem;
using namespace dlt;

namespace {

const std::string kKey = digestHex("fuzz");
constexpr std::array<const char*, 3> kColumns{"qh", "qq", "hq"};
constexpr const char* kRecord = "history.dll.commit";

// The input read from the front; empty once used up.
class Input {
public:
    explicit Input(std::string_view bytes) : bytes_(bytes) {}
    std::uint8_t byte() {
        if (bytes_.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(bytes_[0]);
        bytes_.remove_prefix(1);
        return b;
    }
    // A chunk whose length (up to 255) comes first.
    std::string chunk() {
        const std::size_t n = std::min<std::size_t>(byte(), bytes_.size());
        std::string part(bytes_.substr(0, n));
        bytes_.remove_prefix(n);
        return part;
    }

private:
    std::string_view bytes_;
};

// A folder of its own for each input, in memory where the system has one
// (so flushes cost nothing).
fs::path freshFolder() {
    static const fs::path base = [] {
        std::error_code error;
        const fs::path shm = "/dev/shm";
        fs::path root = fs::is_directory(shm, error) ? shm : fs::temp_directory_path();
        root /= "store_fuzz." + std::to_string(std::random_device{}());
        fs::create_directories(root);
        return root;
    }();
    const fs::path folder = base / "library";
    std::error_code error;
    fs::remove_all(folder, error);
    fs::create_directories(folder);
    return folder;
}

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string bytesOf(const fs::path& path) {
    return readFile(path, 1u << 24).bytes;
}

struct Columns {
    std::array<std::string, 3> text;
    bool operator==(const Columns& other) const { return text == other.text; }
};

Columns load(const HistoryStore& store) {
    Columns c;
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        c.text[i] = store.loadColumn(kColumns[i]);
    return c;
}

DrawRecord draw(unsigned i, unsigned salt) {
    char issue[6], front[11], back[5];
    std::snprintf(issue, sizeof issue, "%05u", (i * 7 + salt) % 100000);
    std::snprintf(front, sizeof front, "%02u%02u%02u%02u%02u", i % 35 + 1, (i + salt) % 35 + 1,
                  (i + 7) % 35 + 1, (i + 11) % 35 + 1, (i + 19) % 35 + 1);
    std::snprintf(back, sizeof back, "%02u%02u", i % 12 + 1, (i + salt) % 12 + 1);
    return {issue, front, back};
}

Columns library(unsigned count, unsigned salt) {
    Columns c;
    for (unsigned i = 0; i < count; ++i) {
        const DrawRecord d = draw(i, salt);
        c.text[0] += d.issue;
        c.text[1] += d.front;
        c.text[2] += d.back;
    }
    return c;
}

// Whether a store's record or temporary file is in the folder.
bool leftovers(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name == kRecord || isTemporarySiblingName(name, folder / kRecord))
            return true;
        for (const char* column : kColumns)
            if (isTemporarySiblingName(name, folder / (std::string(column) + ".dll")))
                return true;
    }
    return false;
}

void crashCase(Input& in) {
    const fs::path folder = freshFolder();
    const unsigned oldCount = in.byte() % 40;
    const unsigned kind = in.byte() % 4;
    const unsigned newCount = in.byte() % 40;
    const int crashAt = in.byte();
    const std::uint8_t damage = in.byte();

    const Columns before = library(oldCount, 0);
    const HistoryStore store(folder, kKey);
    if (oldCount > 0 && !store.replaceHistory(before.text[0], before.text[1], before.text[2]))
        std::abort();
    Columns after = before;
    const DrawRecord added = draw(oldCount, 0);
    switch (kind) {
    case 0:
        after.text = {before.text[0] + added.issue, before.text[1] + added.front,
                      before.text[2] + added.back};
        break;
    case 1:
        for (std::size_t i = 0; i < 3; ++i) {
            const std::size_t width = std::array<std::size_t, 3>{5, 10, 4}[i];
            after.text[i].resize(after.text[i].size() > width ? after.text[i].size() - width : 0);
        }
        break;
    case 2:
        after = library(newCount, 3);
        break;
    default:
        after = Columns{};
    }

    // The change, cut off at call crashAt.
    int calls = 0;
    bool durable = false;
    FileCall lastCall = FileCall::Read;
    fs::path lastPath;
    setFileCallFilter([&](FileCall call, const fs::path& path) {
        if (call == FileCall::Read)
            return true;
        if (calls++ >= crashAt)
            return false;
        durable = durable || (call == FileCall::Flush && lastCall == FileCall::Rename &&
                              lastPath.filename() == kRecord && path == folder);
        lastCall = call;
        lastPath = path;
        return true;
    });
    switch (kind) {
    case 0:
        store.appendDraw(added);
        break;
    case 1:
        store.removeNewestDraw();
        break;
    case 2:
        store.replaceHistory(after.text[0], after.text[1], after.text[2]);
        break;
    default:
        store.removeHistoryFiles();
    }
    setFileCallFilter({});

    // A power cut before the record was durable may lose or damage what the
    // change wrote: temporary files and the record's new name.
    if (!durable) {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            const bool ours = name.find(".new") != std::string::npos || name == kRecord;
            if (!ours || !(damage & (1u << (n++ % 8))))
                continue;
            const std::string garbage = in.chunk();
            if (garbage.empty())
                fs::remove(entry.path());
            else
                put(entry.path(), garbage);
        }
    }
    // Strays no commit names (longer digits than any name the store draws).
    for (const char* column : kColumns)
        if (in.byte() & 1)
            put(folder / (std::string(column) + ".dll.new1234567890123"), in.chunk());

    const HistoryStore reopened(folder, kKey);
    const Columns found = load(reopened);
    if (!(found == before || found == after))
        std::abort();
    if (leftovers(folder) || !reopened.recover())
        std::abort();
}

void anyStateCase(Input& in) {
    const fs::path folder = freshFolder();
    const std::uint8_t flags = in.byte();
    std::array<std::string, 3> columnBytes, tempBytes;
    std::array<fs::path, 3> temps;
    for (std::size_t i = 0; i < 3; ++i) {
        const fs::path column = folder / (std::string(kColumns[i]) + ".dll");
        if (flags & (1u << i)) {
            columnBytes[i] = in.chunk();
            put(column, columnBytes[i]);
        }
        temps[i] = column;
        temps[i] += ".new" + std::to_string(100 + i);
        if (flags & (8u << i)) {
            tempBytes[i] = in.chunk();
            put(temps[i], tempBytes[i]);
        }
    }
    if (flags & 0x40) {
        // A well-formed record naming the temporary files (a digest may be
        // off, a file may be a deletion).
        const std::uint8_t entries = in.byte();
        std::string record;
        for (std::size_t i = 0; i < 3; ++i) {
            if (!(entries & (1u << i)))
                continue;
            std::string digest = (entries & (8u << i)) ? "-" : digestHex(tempBytes[i]);
            if ((entries & 0x40) && digest != "-")
                digest[0] = digest[0] == '0' ? '1' : '0';
            record += std::string(kColumns[i]) + ".dll\t" + temps[i].filename().string() + "\t" +
                      digest + "\n";
        }
        put(folder / kRecord, record + ((entries & 0x80) ? "" : "end\n"));
    } else if (flags & 0x80) {
        put(folder / kRecord, in.chunk());
    }

    const HistoryStore store(folder, kKey);
    const bool recovered = store.recover();
    load(store);
    if (!recovered)
        return;
    if (leftovers(folder))
        std::abort();
    for (std::size_t i = 0; i < 3; ++i) {
        const fs::path column = folder / (std::string(kColumns[i]) + ".dll");
        std::error_code error;
        if (!fs::exists(column, error))
            continue;
        const std::string now = bytesOf(column);
        if (now != columnBytes[i] && now != tempBytes[i])
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(std::string_view(reinterpret_cast<const char*>(data), size));
    if (in.byte() % 2 == 0)
        crashCase(in);
    else
        anyStateCase(in);
    return 0;
}
