// vormexctl check on files whose values the pages would refuse: text and XML files of both kinds,
// against the shipped models, with the message the pages show as the last line.
#include "base/StringTable.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex {
namespace {

const StringTable& jpn()
{
    static const StringTable table = StringTable::builtIn();
    return table;
}

class ValueChecks : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The printer's own defaults, in both forms and both kinds, are the files changed below.
        for (const char* kind : {"system", "initial"})
            for (const char* format : {"txt", "xml"})
                ASSERT_EQ(run(kPrinter, {"export", "--kind", kind, "--format", format, "-o", defaults(kind, format)}).exitCode, 0);
    }

    test::ProcessResult run(const char* printer, const QStringList& arguments) const
    {
        return test::runProgram(QStringLiteral("vormexctl"),
                                QStringList{QStringLiteral("--definitions"), test::shippedDefinitionFile(), QStringLiteral("--printer"),
                                            QLatin1String(printer), QStringLiteral("--language"), QStringLiteral("jpn")}
                                    + arguments);
    }
    QString defaults(const char* kind, const char* format) const
    {
        return dir.filePath(QStringLiteral("%1.%2").arg(QLatin1String(kind), QLatin1String(format)));
    }
    // The defaults of a kind and form with one text replaced.
    QString changed(const char* kind, const char* format, const QByteArray& from, const QByteArray& to) const
    {
        QByteArray bytes = test::readFile(defaults(kind, format));
        EXPECT_TRUE(bytes.contains(from)) << from.toStdString();
        bytes.replace(from, to);
        const QString file = dir.filePath(QStringLiteral("changed-%1.%2").arg(++counter).arg(QLatin1String(format)));
        test::writeFile(file, bytes);
        return file;
    }

    static constexpr const char* kPrinter = "ORN Q-KA5";
    QTemporaryDir dir;
    mutable int counter = 0;
};

// Message 800 for the caption `label` and the range as it shows it.
QString rangeMessage(int label, const char* range)
{
    return QString(jpn().text(800))
        .replace(QStringLiteral("%s"), jpn().text(label))
        .replace(QStringLiteral("%d.%d から %d.%d"), QString::fromUtf8(range));
}

QString lastLine(const QByteArray& err) { return QString::fromUtf8(err).trimmed().section(QLatin1Char('\n'), -1); }

TEST_F(ValueChecks, FilesWithValuesThePagesRefuse)
{
    const struct {
        const char* what;
        const char* kind;
        const char* format;
        QByteArray from, to;
        QString lastLine;    // the message, the last line on stderr
        QString before;      // a text on the line before it ("" when none is wanted)
    } cases[] = {
        // The system parameter line (text file): 00600,0800,T,A,T,W,0,4,03000,C,F,0,7E,5E,2C,0,0,0,1,0,04,+0000,0,+0000
        {"length beyond range", "system", "txt", "00600,0800", "99999,0800", rangeMessage(801, "5.0 から 999.9"), {}},
        {"length below range", "system", "txt", "00600,0800", "00049,0800", rangeMessage(801, "5.0 から 999.9"), {}},
        {"width beyond range", "system", "txt", "00600,0800", "00600,1041", rangeMessage(802, "10.0 から 104.0"), {}},
        {"RFID beyond range", "system", "txt", "04,+0000,0", "04,+1000,0", rangeMessage(804, "-99.9 から 99.9"), {}},
        {"maximum length below range", "system", "txt", ",03000,", ",00099,", rangeMessage(803, "10.0 から 3000.0"), {}},
        {"label shift, the last field, beyond range", "system", "txt", "0,+0000\r\n", "0,+1000\r\n", rangeMessage(805, "-99.9 から 99.9"), {}},
        {"ribbon not in its list", "system", "txt", "00600,0800,T,", "00600,0800,Q,", jpn().text(310000).arg(QStringLiteral("RIBBON"), QStringLiteral("Q")), {}},
        {"prefix not hexadecimal", "system", "txt", "7E,5E", "7G,5E", jpn().text(310001).arg(QStringLiteral("CONTROL PREFIX"), QStringLiteral("7G")), {}},
        {"flag neither 0 nor 1", "system", "txt", "2C,0,0,0,1,0", "2C,0,0,2,1,0", jpn().text(310002).arg(QStringLiteral("MEDIA TYPE(MT)"), QStringLiteral("2")), {}},
        {"format still checked first", "system", "txt", "00600,0800", "006a0,0800", QString(jpn().text(8052)).replace(QStringLiteral("%d"), QStringLiteral("1")), QStringLiteral("field 1, LABEL LENGTH")},
        // The system parameter XML file: its texts, then the line it converts to.
        {"XML ribbon text not in the file's list", "system", "xml", ">熱転写<", ">XYZ<", jpn().text(310003).arg(QStringLiteral("RIBBON"), QStringLiteral("XYZ"), QLatin1String(kPrinter)), {}},
        {"XML number that is not one", "system", "xml", "\"LABEL LENGTH\">600<", "\"LABEL LENGTH\">6a0<", jpn().text(310006).arg(QStringLiteral("LABEL LENGTH"), QStringLiteral("6a0")), {}},
        {"XML number out of range", "system", "xml", "\"LABEL LENGTH\">600<", "\"LABEL LENGTH\">99999<", rangeMessage(801, "5.0 から 999.9"), {}},
        {"XML switch word", "system", "xml", "\"TONE ADJ(SD)\">DISABLE<", "\"TONE ADJ(SD)\">maybe<", jpn().text(310005).arg(QStringLiteral("TONE ADJ(SD)"), QStringLiteral("maybe"), QStringLiteral("ENABLE"), QStringLiteral("DISABLE")), {}},
        {"XML prefix", "system", "xml", ">7E<", ">7G<", jpn().text(310001).arg(QStringLiteral("CONTROL PREFIX"), QStringLiteral("7G")), {}},
        // The initial value & table text.
        {"number beyond its item", "initial", "txt", "BARCODE Default\r\n010,02", "BARCODE Default\r\n010,11", jpn().text(61714).arg(1).arg(10), QStringLiteral("Module Size: 11")},
        {"ratio beyond its item", "initial", "txt", "010,02,3.0", "010,02,3.5", rangeMessage(810, "2.0 から 3.0"), {}},
        {"choice not in its list", "initial", "txt", "dot/mm/inch\r\nD\r\n", "dot/mm/inch\r\nX\r\n", jpn().text(310000).arg(QStringLiteral("Unit"), QStringLiteral("X")), {}},
        {"zero suppression flag", "initial", "txt", "+0000000001,1", "+0000000001,2", jpn().text(310002).arg(QStringLiteral("ZeroSuppress"), QStringLiteral("2")), {}},
        {"GETCMDZB, the last initial value, not in its list", "initial", "txt", "GETCMDZB Operation\r\n0\r\n", "GETCMDZB Operation\r\nZ\r\n",
         jpn().text(310000).arg(QStringLiteral("GETCMDZB"), QStringLiteral("Z")), {}},
        // The drive string: rows 4, 2, 3 and 1 at characters 1, 2, 5 and 18, each a KIRN drive's value.
        {"drive of row 1 not a KIRN drive", "initial", "txt", "54332333333333333133333330", "54332333333333333933333330",
         jpn().text(310000).arg(QStringLiteral("DRIVE Mapping R:"), QStringLiteral("9")), {}},
        {"drive of row 4 not a KIRN drive", "initial", "txt", "54332333333333333133333330", "34332333333333333133333330",
         jpn().text(310000).arg(QStringLiteral("DRIVE Mapping A:"), QStringLiteral("3")), {}},
        // The initial value & table XML file.
        {"XML choice text", "initial", "xml", ">ドット<", ">dots<", jpn().text(310003).arg(QStringLiteral("Unit"), QStringLiteral("dots"), QLatin1String(kPrinter)), {}},
        {"XML number text", "initial", "xml", "\"Module Size\">2<", "\"Module Size\">2x<", jpn().text(310006).arg(QStringLiteral("Module Size"), QStringLiteral("2x")), {}},
        {"XML number out of range", "initial", "xml", "\"Module Size\">2<", "\"Module Size\">11<", jpn().text(61714).arg(1).arg(10), QStringLiteral("Module Size: 11")},
        {"XML zero suppression word", "initial", "xml", ">OFF<", ">NO<", jpn().text(310005).arg(QStringLiteral("ZeroSuppress"), QStringLiteral("NO"), QStringLiteral("ON"), QStringLiteral("OFF")), {}},
    };
    for (const auto& c : cases) {
        const QString file = changed(c.kind, c.format, c.from, c.to);
        const test::ProcessResult result = run(kPrinter, {"check", file, "--kind", c.kind});
        EXPECT_EQ(result.exitCode, 1) << c.what;
        const QString err = QString::fromUtf8(result.err);
        EXPECT_EQ(lastLine(result.err), c.lastLine) << c.what << ": " << err.toStdString();
        EXPECT_TRUE(err.contains(file)) << c.what << ": the file is named: " << err.toStdString();
        if (!c.before.isEmpty()) {
            EXPECT_TRUE(err.trimmed().section(QLatin1Char('\n'), -2, -2).contains(c.before)) << c.what << ": " << err.toStdString();
        }
        // What check refuses, convert refuses too (XML files were converted unchecked before).
        if (QLatin1String(c.format) == QLatin1String("xml")) {
            const QString out = dir.filePath(QStringLiteral("out.bin"));
            EXPECT_EQ(run(kPrinter, {"convert", file, "--kind", c.kind, "-o", out}).exitCode, 1) << c.what;
            EXPECT_FALSE(QFile::exists(out)) << c.what;
        }
    }
}

// export takes the drive mapping as check does: an unknown KIRN drive is refused, not turned into
// the first one.
TEST_F(ValueChecks, ExportRefusesADriveThePrinterDoesNotHave)
{
    const QString file = changed("initial", "txt", "54332333333333333133333330", "54332333333333333933333330");
    const QString out = dir.filePath(QStringLiteral("exported.txt"));
    const test::ProcessResult result = run(kPrinter, {"export", "--kind", "initial", "--format", "txt", "-o", out, file});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_EQ(lastLine(result.err), jpn().text(310000).arg(QStringLiteral("DRIVE Mapping R:"), QStringLiteral("9")));
    EXPECT_FALSE(QFile::exists(out));
}

// A file made for another model is taken when its values fit the selected printer, and refused
// with the message when they do not.
TEST_F(ValueChecks, AFileOfAnotherModelIsJudgedByTheSelectedPrinter)
{
    for (const char* format : {"txt", "xml"}) {
        EXPECT_EQ(run("Q-KA4S", {"check", defaults("system", format), "--kind", "system"}).exitCode, 0) << format;
        EXPECT_EQ(run("Q-KA4S", {"check", defaults("initial", format), "--kind", "initial"}).exitCode, 0) << format;
    }
    // 100.0 mm fits the first model's width but not the second's (10.0 to 80.0).
    const QString wide = changed("system", "xml", "\"LABEL WIDTH\">800<", "\"LABEL WIDTH\">1000<");
    EXPECT_EQ(run(kPrinter, {"check", wide, "--kind", "system"}).exitCode, 0);
    const test::ProcessResult refused = run("Q-KA4S", {"check", wide, "--kind", "system"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(lastLine(refused.err), rangeMessage(802, "10.0 から 80.0"));
    // A dot density the other model does not have is named with its value.
    const test::ProcessResult density = run("Q-KB4", {"check", defaults("system", "xml"), "--kind", "system"});
    EXPECT_EQ(density.exitCode, 1);
    EXPECT_EQ(lastLine(density.err), jpn().text(310000).arg(QStringLiteral("DOT/MM"), QStringLiteral("A")));
}

}  // namespace
}  // namespace vormex
