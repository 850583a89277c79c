// The drift timer's units pass systemd's own check, in a scratch root that holds systemd's units
// and a vormexctl where the package puts it.
#include "ExternalTool.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex::test {
namespace {

TEST(SystemdUnits, TheDriftTimerAndItsServiceVerifyClean)
{
    const QString analyze = requireProgram(QStringLiteral("systemd-analyze"), QStringLiteral("systemd"));
    ASSERT_FALSE(analyze.isEmpty());
    QTemporaryDir root;
    const QDir units(root.filePath(QStringLiteral("etc/systemd/system")));
    ASSERT_TRUE(QDir().mkpath(units.path()) && QDir().mkpath(root.filePath(QStringLiteral("usr/lib/systemd"))));
    // The targets the units name (timers.target, network-online.target) come from the system.
    const ToolRun copied = runTool(QStringLiteral("cp"), {"-r", "/usr/lib/systemd/system", root.filePath("usr/lib/systemd/system")},
                                   QProcessEnvironment::systemEnvironment());
    ASSERT_EQ(copied.exitCode, 0) << copied.describe().toStdString();
    // systemd checks that the command exists and may be run.
    writeFile(root.filePath(QStringLiteral("usr/bin/vormexctl")), "#!/bin/sh\n");
    QFile::setPermissions(root.filePath(QStringLiteral("usr/bin/vormexctl")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    // An instance names a manifest in /etc/vormex.
    QStringList instances;
    for (const char* kind : {"service", "timer"}) {
        const QString instance = units.filePath(QStringLiteral("vormex-drift@site-a.%1").arg(QLatin1String(kind)));
        ASSERT_TRUE(QFile::copy(sourcePath(QStringLiteral("contrib/systemd/vormex-drift@.%1").arg(QLatin1String(kind))), instance));
        instances << instance;
    }
    const ToolRun verified = runTool(analyze, QStringList{"verify", "--root=" + root.path(), "--man=no"} + instances,
                                     QProcessEnvironment::systemEnvironment());
    EXPECT_EQ(verified.exitCode, 0) << verified.describe().toStdString();
    EXPECT_TRUE(verified.out.isEmpty() && verified.err.isEmpty()) << verified.describe().toStdString();
}

}  // namespace
}  // namespace vormex::test
