// The real past draws as the store keeps them: three column texts, oldest first.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

struct DrawColumns {
    std::string issues, fronts, backs;
};

inline DrawColumns loadRealDraws(const char* path = DLT_DRAWS_FILE) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error(std::string("cannot read ") + path);
    std::vector<std::string> lines[3];
    std::string issue, date, n[7];
    while (in >> issue >> date >> n[0] >> n[1] >> n[2] >> n[3] >> n[4] >> n[5] >> n[6]) {
        lines[0].push_back(issue);
        lines[1].push_back(n[0] + n[1] + n[2] + n[3] + n[4]);
        lines[2].push_back(n[5] + n[6]);
    }
    DrawColumns columns;
    for (std::size_t i = lines[0].size(); i-- > 0;) {
        columns.issues += lines[0][i];
        columns.fronts += lines[1][i];
        columns.backs += lines[2][i];
    }
    return columns;
}
