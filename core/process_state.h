// What the program keeps for the whole run, from start-up to exit.
#pragma once

#include <string>
#include <string_view>

#include "core/ports.h"

namespace dlt {

struct ProcessState {
    std::string productName; // UTF-8, as every text inside the program
    float productVersion = 0.0f;
    std::string productCode;
    std::string serverDirectory;
    std::string historyFileExtension; // set when the main window is created
    std::string installationSecret;   // 10000 decimal digits
    std::string installationKey;      // digestHex of the secret; never written to disk
};

// The one instance of the running program.
ProcessState& processState();

// Sets the version, the product name, code and server directory of the
// program's identity (core/identity.h).
void setProductIdentity(ProcessState& state);

// A number as the general number-to-text conversion writes it: no decimal
// point for whole numbers, shortest form otherwise (3.1f gives "3.1").
std::string numberText(double value);
std::string numberText(float value);

// productName + "v" + version ("禾澄大乐透荐号器v3.1"), and the same with a
// space before the "v", the main window's title.
std::string introTitle(const ProcessState& state);
std::string mainTitle(const ProcessState& state);

} // namespace dlt
