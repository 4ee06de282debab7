// A message box for the benchmarks: it counts what it is asked to show and
// answers OK at once, so no modal box ever waits for a click.
#pragma once

#include "core/ports.h"

class CountingMessages : public dlt::MessageBoxPort {
public:
    dlt::MessageAnswer showMessage(const std::string&, const std::string&, dlt::MessageIcon,
                                   dlt::MessageButtons) override {
        ++shown;
        return dlt::MessageAnswer::Ok;
    }
    int shown = 0;
};
