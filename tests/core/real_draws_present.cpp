// Every logic test program checks first that the real draws can be read.
#include "tests/support/real_draws.h"

namespace {
::testing::Environment* const kRealDrawsPresent =
    ::testing::AddGlobalTestEnvironment(new dlt::fixture::RealDrawsPresent);
} // namespace
