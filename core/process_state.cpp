#include "core/process_state.h"

#include <charconv>
#include <cmath>

#include "core/identity.h"

namespace dlt {

ProcessState& processState() {
    static ProcessState state;
    return state;
}

void setProductIdentity(ProcessState& state) {
    state.productVersion = identity::productVersion;
    state.productName = std::string(identity::productName);
    state.productCode = std::string(identity::productCode);
    state.serverDirectory = std::string(identity::serverDirectory);
}

namespace {
template <typename T> std::string shortestText(T value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
} // namespace

std::string numberText(double value) {
    return shortestText(value);
}
std::string numberText(float value) {
    return shortestText(value);
}

std::string introTitle(const ProcessState& state) {
    return state.productName + "v" + numberText(state.productVersion);
}

std::string mainTitle(const ProcessState& state) {
    return state.productName + " v" + numberText(state.productVersion);
}

} // namespace dlt
