// Test entry: every test program runs with its own temporary home, so no test ever touches the
// user's settings store or documents folder; programs the tests start inherit it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    const QByteArray path = home.path().toUtf8();
    setenv("HOME", path.constData(), 1);
    setenv("XDG_CONFIG_HOME", (path + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (path + "/.local/share").constData(), 1);
    setenv("XDG_CACHE_HOME", (path + "/.cache").constData(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    // Pauses and time-outs run at a twentieth of their real length unless the caller chose.
    setenv("VORMEX_TIME_SCALE", "0.05", 0);

    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
