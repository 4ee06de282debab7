// The window tests need a QApplication; it runs offscreen unless told
// otherwise, with the program's XP-style look.
#include <QApplication>
#include <gtest/gtest.h>

#include "app/form/look.h"
#include "tests/support/real_draws.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    dlt::gui::applyXpLook(dlt::gui::kXpSchemeBlue);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new dlt::fixture::RealDrawsPresent);
    return RUN_ALL_TESTS();
}
