// The fleet run in this process, between a target's job and its read-back: a cancel that comes
// then, and a printer that stops answering then.
#include "FleetFixture.h"

#include "app/Application.h"
#include "app/ApplicationContext.h"
#include "base/SettingsStore.h"
#include "base/StringTable.h"
#include "fleet/FleetManifest.h"
#include "fleet/FleetRun.h"
#include "fleet/FleetSetup.h"

#include <QJsonArray>

#include <atomic>
#include <csignal>
#include <functional>
#include <mutex>

namespace vormex::test {
namespace {

// Acts once, on the target's thread, when the job logs that it is done: the moment between the
// job and its read-back. Keeps every log line.
class AtJobEnd : public FleetObserver {
public:
    explicit AtJobEnd(std::function<void()> action) : action_(std::move(action)) {}
    void logLine(int, const QString& line) override
    {
        {
            std::lock_guard lock(mutex_);
            lines_ << line;
        }
        if (line == StringTable::builtIn().text(8022) && !done_.exchange(true))
            action_();
    }
    QStringList lines() const
    {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    std::function<void()> action_;
    std::atomic<bool> done_{false};
    mutable std::mutex mutex_;
    QStringList lines_;
};

class FleetRunning : public FleetFixture {
protected:
    void SetUp() override
    {
        FleetFixture::SetUp();
        store_ = std::make_unique<SettingsStore>(path(QStringLiteral("settings.ini")));
        StartupOptions options;
        options.definitionFile = shippedDefinitionFile();
        options.printerName = QStringLiteral("ORN Q-KA5");
        options.language = QStringLiteral("JPN");
        StartApplication(app_, *store_, options);
        ASSERT_NE(app_.selectedPrinter(), nullptr);
    }

    // Runs a job that stores the system parameters, verified, on the one printer of `device`;
    // `atJobEnd` acts between the job and the read-back.
    TargetReport runWithVerify(const QString& device, std::shared_ptr<AtJobEnd> observer, std::atomic<FleetRun*>& running)
    {
        const QString manifestPath = writeManifest({
            {QStringLiteral("job"), QJsonObject{{QStringLiteral("system-params"), QStringLiteral("system.txt")}}},
            {QStringLiteral("verify"), true},
            {QStringLiteral("targets"), QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("a")}, {QStringLiteral("device"), device}}}},
        });
        FleetManifest manifest;
        QString error;
        EXPECT_TRUE(ReadFleetManifest(manifestPath, JobFiles::MustExist, manifest, error)) << error.toStdString();
        FleetSetup setup = SetUpFleet(manifest, FleetAction::Apply, app_, *store_);
        EXPECT_TRUE(setup.ok()) << setup.error.toStdString();
        FleetRunOptions options;
        options.jobs = 1;
        const std::unique_ptr<FleetRun> run = FleetRun::Start(std::move(setup.targets), options, observer);
        running = run.get();
        EXPECT_TRUE(run->waitFinished(600000));
        running = nullptr;
        return run->reports().at(0);
    }

    Application app_;
    std::unique_ptr<SettingsStore> store_;
};

TEST_F(FleetRunning, ACancelAfterTheJobLeavesTheReadBackUndone)
{
    Simulator sim({});
    std::atomic<FleetRun*> running{nullptr};
    const auto observer = std::make_shared<AtJobEnd>([&running] {
        if (FleetRun* run = running.load())
            run->RequestCancel();
    });
    const TargetReport report = runWithVerify(sim.device(), observer, running);
    EXPECT_EQ(report.result, TargetResult::Cancelled) << report.message.toStdString();
    EXPECT_EQ(report.stepsDone, report.stepsTotal);  // the job itself was done
    EXPECT_EQ(report.system, QStringLiteral("skipped"));
    EXPECT_TRUE(observer->lines().filter(QStringLiteral("verify")).isEmpty()) << observer->lines().join('|').toStdString();
    EXPECT_EQ(sim.countInLog(QStringLiteral("send system parameter file")), 0) << sim.log().toStdString();
}

TEST_F(FleetRunning, AJobDoneButNotReadBackFailsItsTarget)
{
    Simulator sim({});
    std::atomic<FleetRun*> running{nullptr};
    // The printer stops answering once the job is done: it still takes the connection and the
    // request, but nothing comes back.
    const qint64 printer = sim.processId();
    const auto observer = std::make_shared<AtJobEnd>([printer] { ::kill(static_cast<pid_t>(printer), SIGSTOP); });
    const TargetReport report = runWithVerify(sim.device(), observer, running);
    ::kill(static_cast<pid_t>(printer), SIGCONT);
    EXPECT_EQ(report.result, TargetResult::Failed);
    EXPECT_EQ(report.system, QStringLiteral("unread"));
    EXPECT_TRUE(report.message.startsWith(QStringLiteral("verify failed: the system parameters could not be read back: ")))
        << report.message.toStdString();
}

}  // namespace
}  // namespace vormex::test
