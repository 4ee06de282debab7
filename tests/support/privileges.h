// Whether the tests run with the administrator's rights: root reads and
// writes whatever the file modes say, so the tests of unreadable and
// read-only files run again as an ordinary user.
#pragma once

#ifndef _WIN32
#include <unistd.h>
#endif

inline bool runningAsRoot() {
#ifdef _WIN32
    return false;
#else
    return geteuid() == 0;
#endif
}
