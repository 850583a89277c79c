// What vormexctl does as every command-line tool does: help for every command with every option,
// the version, "-o -", usage errors for values out of range, stored settings through config.
#include "base/SettingNames.h"
#include "base/SettingsStore.h"
#include "base/StringTable.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vormex;

namespace {

// vormexctl on the shipped definitions, for the printer ORN Q-KA5 unless `printer` is empty
// (then the stored choice counts, as config needs).
QStringList withGlobalOptions(const QStringList& arguments, const QString& printer = QStringLiteral("ORN Q-KA5"))
{
    QStringList global{QStringLiteral("--definitions"), test::shippedDefinitionFile(), QStringLiteral("--language"), QStringLiteral("jpn")};
    if (!printer.isEmpty())
        global << QStringLiteral("--printer") << printer;
    return global + arguments;
}

test::ProcessResult vormexctl(const QStringList& arguments, const QString& printer = QStringLiteral("ORN Q-KA5"))
{
    return test::runProgram(QStringLiteral("vormexctl"), withGlobalOptions(arguments, printer));
}

test::ProcessResult config(const QStringList& arguments) { return vormexctl(QStringList{QStringLiteral("config")} + arguments, {}); }

// Keeps the settings file of the tests' home as it was, whatever a test stores.
class KeptSettings {
public:
    KeptSettings() : path_(SettingsStore().filePath()), existed_(QFile::exists(path_)), bytes_(existed_ ? test::readFile(path_) : QByteArray()) {}
    ~KeptSettings()
    {
        QFile::remove(path_);
        if (existed_)
            test::writeFile(path_, bytes_);
    }

private:
    QString path_;
    bool existed_;
    QByteArray bytes_;
};

QString lastLine(const QByteArray& err) { return QString::fromUtf8(err).trimmed().section(QLatin1Char('\n'), -1); }

// The options a help text or a synopsis names: "--device", "-o", ...
QStringList optionsIn(const QString& text)
{
    static const QRegularExpression option(QStringLiteral("(?:^|[\\s\\[(|,])(--[a-z][a-z-]*|-o)\\b"));
    QStringList found;
    for (auto it = option.globalMatch(text); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!found.contains(name) && name != QLatin1String("--help"))
            found << name;
    }
    return found;
}

TEST(CliConventions, EveryCommandsHelpListsEveryOptionOfItsSynopsis)
{
    const test::ProcessResult help = vormexctl({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    const QString text = QString::fromUtf8(help.out);
    EXPECT_TRUE(text.contains(QStringLiteral("vormexctl COMMAND --help")));
    const QString commandsPart = text.section(QStringLiteral("Commands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    static const QRegularExpression commandLine(QStringLiteral("^  ([a-z-]+) ?(.*)$"), QRegularExpression::MultilineOption);
    int commands = 0;
    for (auto it = commandLine.globalMatch(commandsPart); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        ++commands;
        const test::ProcessResult own = vormexctl({name, "--help"});
        EXPECT_EQ(own.exitCode, 0) << name.toStdString();
        const QString ownText = QString::fromUtf8(own.out);
        EXPECT_TRUE(ownText.startsWith(QStringLiteral("Usage: vormexctl [global options] ") + name)) << ownText.toStdString();
        const QString optionsPart = ownText.section(QStringLiteral("\nOptions:\n"), 1);
        QStringList listed;
        for (const QString& line : optionsPart.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QStringLiteral("  -")))
                listed << optionsIn(line.section(QStringLiteral("  "), 1, 1));
        }
        // Each option of the synopsis has its line, and each option line is in the synopsis.
        const QStringList inSynopsis = optionsIn(match.captured(2));
        for (const QString& option : inSynopsis)
            EXPECT_TRUE(listed.contains(option)) << name.toStdString() << " lacks a line for " << option.toStdString();
        for (const QString& option : listed)
            EXPECT_TRUE(inSynopsis.contains(option) || option == QLatin1String("--output"))
                << name.toStdString() << ": " << option.toStdString() << " is not in the synopsis";
    }
    EXPECT_GE(commands, 14);

    const test::ProcessResult version = vormexctl({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^vormexctl \\d+\\.\\d+.*\\n$")).match(QString::fromUtf8(version.out)).hasMatch())
        << version.out.toStdString();
}

TEST(CliConventions, DashForOutputWritesTextWithLineFeedsAndBinaryAsItIs)
{
    QTemporaryDir dir;
    const test::ProcessResult text = vormexctl({"export", "--kind", "initial", "--format", "txt", "-o", "-"});
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.startsWith("BARCODE Default\n010,02,3.0\n")) << text.out.left(40).toStdString();
    EXPECT_FALSE(text.out.contains('\r'));
    EXPECT_TRUE(text.out.endsWith('\n'));
    const test::ProcessResult xml = vormexctl({"export", "--kind", "system", "--format", "xml", "-o", "-"});
    EXPECT_TRUE(xml.out.contains("<VORMEX_SystemParameter>"));
    EXPECT_TRUE(xml.out.endsWith('\n'));

    // The file keeps the printer's bytes; the image on standard output is the file's.
    const QString file = dir.filePath(QStringLiteral("initial.txt"));
    ASSERT_EQ(vormexctl({"export", "--kind", "initial", "--format", "txt", "-o", file}).exitCode, 0);
    EXPECT_TRUE(test::readFile(file).startsWith("BARCODE Default\r\n"));
    const QString image = dir.filePath(QStringLiteral("image.bin"));
    ASSERT_EQ(vormexctl({"convert", file, "--kind", "initial", "-o", image}).exitCode, 0);
    const test::ProcessResult piped = vormexctl({"convert", file, "--kind", "initial", "-o", "-"});
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.out, test::readFile(image));
}

// On a terminal as in a pipe: text with line feeds only, ending with a newline; binary data is
// refused there instead of being written to the screen.
TEST(CliConventions, ATerminalGetsTextWithLineFeedsAndNoBinary)
{
    QTemporaryDir dir;
    const test::ProcessResult line =
        test::runOnTerminal(QStringLiteral("vormexctl"), withGlobalOptions({"export", "--kind", "system", "--format", "txt", "-o", "-"}));
    EXPECT_EQ(line.exitCode, 0) << line.out.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^00600,0800,[^\r\n]*\n$")).match(QString::fromUtf8(line.out)).hasMatch())
        << line.out.toStdString();

    const QString file = dir.filePath(QStringLiteral("s.txt"));
    ASSERT_EQ(vormexctl({"export", "--kind", "system", "--format", "txt", "-o", file}).exitCode, 0);
    const test::ProcessResult image =
        test::runOnTerminal(QStringLiteral("vormexctl"), withGlobalOptions({"convert", file, "--kind", "system", "-o", "-"}));
    EXPECT_EQ(image.exitCode, 2);
    EXPECT_TRUE(image.out.contains("standard output is a terminal")) << image.out.toStdString();
    EXPECT_FALSE(image.out.contains("QUILLPRM.TXT"));
}

TEST(CliConventions, OptionValuesOutOfRangeAreUsageErrors)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.txt"));
    ASSERT_EQ(vormexctl({"export", "--kind", "system", "--format", "txt", "-o", file}).exitCode, 0);
    const QString range = StringTable::builtIn().text(61714);
    const struct {
        QStringList arguments;
        QString words;
        QString printer = QStringLiteral("ORN Q-KA5");
    } cases[] = {
        {{"download", "--device", "LAN:127.0.0.1:1", "--allocate", "17,4,14"}, range.arg(0).arg(16)},
        {{"download", "--device", "LAN:127.0.0.1:1", "--vormex", "on", "--start-blocks", "0,2,3,21"}, range.arg(0).arg(20)},
        {{"download", "--device", "LAN:127.0.0.1:1", "--allocate", "8,4,14", "--kanji", "3"}, QStringLiteral("--kanji")},
        {{"send-file", "system", file, "--device", "LAN:127.0.0.1:1", "--start-block", "21"}, range.arg(0).arg(20)},
        {{"encode", file, "--program", "main", "--block-kb", "0", "--listing"}, QStringLiteral("--block-kb")},
        {{"config", "set", "wait-time", "60001"}, range.arg(1).arg(60000)},
        {{"config", "set", "wait-time", "-1"}, range.arg(1).arg(60000)},  // a value, not an option
        {{"check", file, "--kind", "system"}, QStringLiteral("--printer: no printer named \"nope\""), QStringLiteral("nope")},
        {{"check", file, "--kind", "system"}, QStringLiteral("--printer: no printer named \"standard\""), QStringLiteral("standard")},
    };
    for (const auto& c : cases) {
        const test::ProcessResult result = vormexctl(c.arguments, c.printer);
        EXPECT_EQ(result.exitCode, 2) << c.arguments.join(' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(c.words)) << result.err.toStdString();
    }
}

// Every area and start block exactly at its limit is taken, for the kanji variants with their own
// limits: the download then goes as far as the device (nothing listens there).
TEST(CliConventions, OptionValuesAtTheirLimitsAreTaken)
{
    const QStringList cases[] = {
        {"--allocate", "16,8,20", "--start-blocks", "0,20,20,20"},  // the maxima of ORN Q-KA5
        {"--allocate", "0,0,0"},
        {"--kanji", "1", "--allocate", "24,12,0"},
        {"--kanji", "2", "--allocate", "20,10,20"},
    };
    for (const QStringList& options : cases) {
        const QStringList arguments = QStringList{"download", "--device", "LAN:127.0.0.1:1", "--vormex", "on"} + options;
        const test::ProcessResult result = vormexctl(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments.join(' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("connection refused by 127.0.0.1:1")) << arguments.join(' ').toStdString() << ": " << result.err.toStdString();
    }
}

TEST(CliConventions, ConfigSetsWhatThePagesKeepWithTheirChecks)
{
    const KeptSettings kept;
    const struct {
        QStringList set;
        QString shown;  // the line `config` shows afterwards
    } accepted[] = {
        {{"printer", "Q-KB4"}, QStringLiteral("printer Q-KB4")},
        {{"device", "LAN:127.0.0.1:09100"}, QStringLiteral("device LAN:127.0.0.1:9100")},  // as the page composes it
        {{"codes", "02,03,04"}, QStringLiteral("codes 02,03,04")},
        {{"wait-time", "1500"}, QStringLiteral("wait-time 1500")},
        {{"language", "jpn"}, QStringLiteral("language jpn")},
    };
    for (const auto& c : accepted) {
        const test::ProcessResult set = config(QStringList{QStringLiteral("set")} + c.set);
        EXPECT_EQ(set.exitCode, 0) << c.set.join(' ').toStdString() << ": " << set.err.toStdString();
    }
    const QStringList shown = QString::fromUtf8(config({}).out).split(QLatin1Char('\n'));
    for (const auto& c : accepted)
        EXPECT_TRUE(shown.contains(c.shown)) << c.shown.toStdString() << " in " << shown.join('|').toStdString();
    const SettingsStore store;
    EXPECT_EQ(store.readInt(QString::fromLatin1(settings::kControlCodeType), 0), 3);
    EXPECT_EQ(store.readInt(QString::fromLatin1(settings::kControlCode3), 0), 4);
    EXPECT_EQ(store.readString(QString::fromLatin1(settings::kLanguage), {}), QStringLiteral("JPN"));
    // A host name is kept as the page keeps it.
    EXPECT_EQ(config({"set", "device", "LAN:printer-07.example:09100"}).exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(config({}).out).split(QLatin1Char('\n')).contains(QStringLiteral("device LAN:printer-07.example:9100")));

    // Refused values change nothing.
    const QString before = QString::fromUtf8(config({}).out);
    const struct {
        QStringList set;
        QString words;
    } refused[] = {
        {{"printer", "standard"}, QStringLiteral("no printer named \"standard\"")},
        {{"printer", "Q-KZ9"}, QStringLiteral("no printer named \"Q-KZ9\"")},
        {{"device", "LAN:127.0.0.1:70000"}, QStringLiteral("port 70000 is out of range")},
        {{"device", "COM3:9600,8,nne,1"}, QStringLiteral("parity")},
        {{"codes", "1B,0A,1B"}, StringTable::builtIn().text(8115)},
        {{"codes", "1B,0A"}, QStringLiteral("three hexadecimal codes")},
        {{"wait-time", "0"}, StringTable::builtIn().text(61714).arg(1).arg(60000)},
        {{"wait-time", "fast"}, StringTable::builtIn().text(61714).arg(1).arg(60000)},
        {{"language", "fr"}, QStringLiteral("jpn or eng")},
        {{"colour", "blue"}, QStringLiteral("unknown setting")},
    };
    for (const auto& c : refused) {
        const test::ProcessResult set = config(QStringList{QStringLiteral("set")} + c.set);
        EXPECT_EQ(set.exitCode, 2) << c.set.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(set.err).contains(c.words)) << set.err.toStdString();
    }
    EXPECT_EQ(QString::fromUtf8(config({}).out), before);

    // A printer with fixed control codes takes ESC LF NUL, as its page does.
    ASSERT_EQ(config({"set", "printer", "ORN Q-KA5"}).exitCode, 0);
    EXPECT_TRUE(config({}).out.contains("\ncodes standard\n"));
    EXPECT_EQ(config({"set", "codes", "brace"}).exitCode, 2);
}

TEST(CliConventions, EmptyDefinitionsAndNoUsbPrinterAreSaid)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.xml"));
    test::writeFile(empty, "<?xml version=\"1.0\"?>\n<VORMEX_Parameter>\n</VORMEX_Parameter>\n");
    for (const QStringList& arguments : {QStringList{QStringLiteral("printers")},
                                         QStringList{QStringLiteral("export"), QStringLiteral("--kind"), QStringLiteral("system"),
                                                     QStringLiteral("--format"), QStringLiteral("txt"), QStringLiteral("-o"), QStringLiteral("-")}}) {
        const test::ProcessResult result =
            test::runProgram(QStringLiteral("vormexctl"), QStringList{QStringLiteral("--definitions"), empty} + arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_EQ(lastLine(result.err), QStringLiteral("vormexctl: %1: holds no printer entries").arg(empty));
    }
    if (QDir(QStringLiteral("/dev/usb")).entryList({QStringLiteral("lp*")}, QDir::System).isEmpty()) {
        const test::ProcessResult usb = vormexctl({"list-usb"});
        EXPECT_EQ(usb.exitCode, 0);
        EXPECT_TRUE(usb.out.isEmpty());
        EXPECT_TRUE(usb.err.contains("no USB printer found")) << usb.err.toStdString();
    }
}

}  // namespace
