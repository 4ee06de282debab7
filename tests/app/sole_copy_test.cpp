// One running copy per user: in this process, and with the program itself
// started twice.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <sys/types.h>

#include "app/startup/sole_copy.h"
#include "tests/support/window_support.h"

using dlt::gui::SoleCopy;

namespace {

TEST(SoleCopy, ALaterCopyFindsTheFirstAndBringsItsWindowForward) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/user");
    auto first = std::make_unique<SoleCopy>(folder);
    ASSERT_TRUE(first->isSole());
    QWidget window;
    window.show();
    window.showMinimized();
    QSignalSpy forward(first.get(), &SoleCopy::broughtForward);

    const SoleCopy later(folder);
    EXPECT_FALSE(later.isSole());
    EXPECT_TRUE(later.bringRunningCopyForward());
    EXPECT_TRUE(forward.wait(2000));
    EXPECT_FALSE(window.isMinimized());

    // Another user's folder is another copy.
    EXPECT_TRUE(SoleCopy(dir.path() + QStringLiteral("/other user")).isSole());
    // Once the first has ended, a start is the sole copy again.
    first.reset();
    EXPECT_TRUE(SoleCopy(folder).isSole());
}

TEST(SoleCopy, TheLockFileOfACopyThatEndedDoesNotStopAStart) {
    QTemporaryDir dir;
    QFile left(dir.path() + QStringLiteral("/running.lock"));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    EXPECT_TRUE(SoleCopy(dir.path()).isSole());
}

// The program itself, ended by SIGTERM (a desktop session logging out) or
// SIGINT while it waits in the intro window: it ends with code 0 as if
// closed, and leaves no socket in the temporary folder and no lock held.
TEST(SoleCopy, AProgramEndedBySignalExitsWithZeroAndLeavesNoSocket) {
    for (const int sent : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sent);
        QTemporaryDir dir;
        const QString temp = dir.path() + QStringLiteral("/tmp");
        ASSERT_TRUE(QDir().mkpath(temp));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), dir.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path() + QStringLiteral("/data"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           dir.path() + QStringLiteral("/config"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), dir.path() + QStringLiteral("/cache"));
        environment.insert(QStringLiteral("TMPDIR"), temp);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const QString userFolder = dir.path() + QStringLiteral("/data/hecheng-soft/qvemtrod");

        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(DLT_PROGRAM_FILE), {});
        ASSERT_TRUE(program.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(userFolder + QStringLiteral("/installation.secret")) &&
               waited.elapsed() < 30000)
            QTest::qWait(20);
        QTest::qWait(300); // into the intro window
        const QStringList socketsRunning =
            QDir(temp).entryList({QStringLiteral("qvemtrod-*")}, QDir::System | QDir::Files);
        EXPECT_EQ(socketsRunning.size(), 1) << "the running copy listens";

        ::kill(static_cast<pid_t>(program.processId()), sent);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(QDir(temp)
                        .entryList({QStringLiteral("qvemtrod-*")}, QDir::System | QDir::Files)
                        .isEmpty());
        EXPECT_TRUE(SoleCopy(userFolder).isSole()) << "the lock is free";
    }
}

// The program started twice for one user: the second start ends at once
// with code 0 and leaves the first running, the secret and the library as
// they were.
TEST(SoleCopy, ASecondStartOfTheProgramEndsAndLeavesTheFirstRunning) {
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path() + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), dir.path() + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString userFolder = dir.path() + QStringLiteral("/data/hecheng-soft/qvemtrod");
    const QString secret = userFolder + QStringLiteral("/installation.secret");

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(DLT_PROGRAM_FILE), {});
    ASSERT_TRUE(first.waitForStarted());
    // The first start has its secret (it then waits in the intro window).
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(secret) && waited.elapsed() < 30000)
        QTest::qWait(20);
    ASSERT_TRUE(QFile::exists(secret));
    QTest::qWait(200);
    QFile secretFile(secret);
    ASSERT_TRUE(secretFile.open(QIODevice::ReadOnly));
    const QByteArray kept = secretFile.readAll();
    secretFile.close();
    const QStringList filesBefore = QDir(userFolder).entryList(QDir::Files);

    QProcess second;
    second.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    second.start(QStringLiteral(DLT_PROGRAM_FILE), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    const qint64 took = clock.elapsed();
    std::printf("[ sole copy ] the second start ended after %lld ms\n",
                static_cast<long long>(took));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running) << "the first copy runs on";

    ASSERT_TRUE(secretFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(secretFile.readAll(), kept);
    EXPECT_EQ(QDir(userFolder).entryList(QDir::Files), filesBefore);

    first.kill();
    first.waitForFinished();
}

} // namespace
