#include "platform/SingleInstance.h"
#include "support/TempFolder.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace orv;

namespace
{

const QString kProbe = QStringLiteral(ORVALEN_BIN_DIR "/instance_probe");

// Starts the probe on `folder` and waits until it printed its first line.
struct Probe {
    QProcess process;
    QByteArray output;

    void start(const std::string& folder, const QStringList& extra = {})
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(kProbe, QStringList { QString::fromStdString(folder), QStringLiteral("probe") } + extra);
    }
    bool waitForLine()
    {
        return QTest::qWaitFor(
            [&] {
                process.waitForReadyRead(50);
                output += process.readAll();
                return output.contains('\n') || process.state() == QProcess::NotRunning;
            },
            10000);
    }
    bool finish()
    {
        const bool done = process.waitForFinished(10000);
        output += process.readAll();
        return done;
    }
};

} // namespace

TEST(SingleInstance, ASecondStartRaisesTheFirstAndShowsNoWindow)
{
    test::TempFolder dir;
    Probe first;
    first.start(dir.path());
    ASSERT_TRUE(first.waitForLine());
    ASSERT_EQ(first.output, "ready minimized=1\n");

    Probe second;
    second.start(dir.path());
    ASSERT_TRUE(second.finish());
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_EQ(second.output, "second delivered=1 windows=0\n");

    ASSERT_TRUE(first.finish());
    EXPECT_EQ(first.output, "ready minimized=1\nraised minimized=0 visible=1\n");
    EXPECT_EQ(first.process.exitCode(), 0);

    // Once the first has ended, the next start is a first start again.
    Probe third;
    third.start(dir.path(), { QStringLiteral("once") });
    ASSERT_TRUE(third.finish());
    EXPECT_EQ(third.output, "ready minimized=1\n");
}

TEST(SingleInstance, AStartThatDiedLeavesNoLockBehind)
{
    test::TempFolder dir;
    Probe first;
    first.start(dir.path());
    ASSERT_TRUE(first.waitForLine());
    first.process.kill(); // lock file and socket file stay behind
    ASSERT_TRUE(first.process.waitForFinished(10000));

    Probe next;
    next.start(dir.path(), { QStringLiteral("once") });
    ASSERT_TRUE(next.finish());
    EXPECT_EQ(next.output, "ready minimized=1\n");
}

TEST(SingleInstance, InProcessGuardsAnnounceEachLaterStart)
{
    test::TempFolder dir;
    SingleInstance first(QStringLiteral("inproc"), QString::fromStdString(dir.path()));
    ASSERT_TRUE(first.isFirst());
    QSignalSpy announced(&first, &SingleInstance::anotherStart);
    {
        SingleInstance later(QStringLiteral("inproc"), QString::fromStdString(dir.path()));
        EXPECT_FALSE(later.isFirst());
        EXPECT_TRUE(later.messageDelivered());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return announced.count() == 1; }, 5000));
    SingleInstance other(QStringLiteral("other-name"), QString::fromStdString(dir.path()));
    EXPECT_TRUE(other.isFirst());

    // A lock that cannot be made at all (no such folder) counts as a first start.
    SingleInstance nowhere(QStringLiteral("inproc"), QString::fromStdString(dir.file("no/such/folder")));
    EXPECT_TRUE(nowhere.isFirst());
}
