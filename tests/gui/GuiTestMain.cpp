// Runs every test class of the desktop program. Like the other test programs it gets a
// temporary home folder before anything reads the settings or the documents folder.
#include "GuiTests.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("VORMEX_TIME_SCALE"))
        qputenv("VORMEX_TIME_SCALE", "0.05");

    QApplication application(argc, argv);
    int failures = 0;
    // VORMEX_GUI_TEST_CLASS=NameTest runs that class only (while working on it).
    const QByteArray only = qgetenv("VORMEX_GUI_TEST_CLASS");
    for (const auto& makeTest : vormex::gui::test::allTests()) {
        std::unique_ptr<QObject> test = makeTest();
        if (!only.isEmpty() && !QByteArray(test->metaObject()->className()).endsWith(only))
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
