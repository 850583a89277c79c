#include "base/Format.h"
#include "base/StringTable.h"
#include "comm/AnswerFrame.h"
#include "comm/CommandFraming.h"
#include "comm/DeviceInfo.h"

#include <gtest/gtest.h>

using namespace vormex;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(static_cast<char>(value));
    return result;
}

QByteArray frame(const char seven[8]) { return QByteArray("\x01\x02", 2) + QByteArray(seven, 7) + QByteArray("\x03\x04\r\n", 4); }

struct ShortCase {
    const char* name;
    ControlCodes codes;
    const char* letters;
    QByteArray expected;
};

class ShortCommandTest : public ::testing::TestWithParam<ShortCase> {};

TEST_P(ShortCommandTest, FramesWithTheCurrentCodes)
{
    EXPECT_EQ(FrameShortCommand(GetParam().letters, GetParam().codes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ControlCodeTypes, ShortCommandTest,
    ::testing::Values(ShortCase{"automatic", ControlCodes::forType(0), "!Z", bytes({0x1B, 0x21, 0x5A, 0x0A, 0x00})},
                      ShortCase{"escape", ControlCodes::forType(1), "WS", bytes({0x1B, 0x57, 0x53, 0x0A, 0x00})},
                      ShortCase{"braces", ControlCodes::forType(2), "WS", bytes({0x7B, 0x57, 0x53, 0x7C, 0x7D})},
                      ShortCase{"manual", ControlCodes::forType(3, 2, 3, 4), "WS", bytes({0x02, 0x57, 0x53, 0x03, 0x04})},
                      ShortCase{"readBackSystem", ControlCodes::forType(1), "!B", bytes({0x1B, 0x21, 0x42, 0x0A, 0x00})},
                      ShortCase{"readBackInitial", ControlCodes::forType(1), "!D", bytes({0x1B, 0x21, 0x44, 0x0A, 0x00})},
                      ShortCase{"offWithBraces", ControlCodes::forType(2), "!T", QByteArray("{!T|}")},
                      ShortCase{"modeQuery", ControlCodes::forType(1), "!Q", bytes({0x1B, 0x21, 0x51, 0x0A, 0x00})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BraceCommand, ReplacesBracesOnlyUnderVariableControlCodes)
{
    const QByteArray prepare = PrepareCommandText(3, 1);
    EXPECT_EQ(prepare, QByteArray("{LDB;03,01|}"));
    EXPECT_EQ(prepare.size(), 12);
    const ControlCodes manual = ControlCodes::forType(3, 2, 3, 4);
    EXPECT_EQ(FrameBraceCommand(prepare, manual, false), prepare);
    EXPECT_EQ(FrameBraceCommand(prepare, manual, true), QByteArray("\x02LDB;03,01\x03\x04"));
    EXPECT_EQ(FrameBraceCommand(prepare, ControlCodes::forType(1), true), QByteArray("\x1BLDB;03,01\x0A", 11) + '\0');
    EXPECT_EQ(FrameBraceCommand("not a brace command", manual, true), QByteArray("not a brace command"));
}

TEST(ParseAnswers, LastFrameOfAReadWins)
{
    int answer = kNoAnswer;
    EXPECT_EQ(ParseAnswers(frame("001    ") + frame("571    "), answer), 2);
    EXPECT_EQ(answer, 57);
}

TEST(ParseAnswers, ReadsModeWordsAndStatusCodes)
{
    struct Case {
        const char* seven;
        int expected;
    };
    for (const Case& c : {Case{"VORMEX ", kAnswerVormex}, Case{"KIRN   ", kAnswerKirn}, Case{" VORMEX", kAnswerVormex},
                          Case{"051    ", 5}, Case{"522    ", 52}, Case{"vormex ", kNoAnswer}, Case{"050    ", kNoAnswer},
                          Case{"KIRNX  ", kNoAnswer}}) {
        int answer = kNoAnswer;
        ParseAnswers(frame(c.seven), answer);
        EXPECT_EQ(answer, c.expected) << c.seven;
    }
}

TEST(ParseAnswers, SkipsNoiseAndBrokenFrames)
{
    int answer = kNoAnswer;
    QByteArray broken = frame("561    ");
    broken[10] = 'x';
    EXPECT_EQ(ParseAnswers(QByteArray("\x01\x02junk\x01", 7) + broken + frame("531    ") + "tail", answer), 1);
    EXPECT_EQ(answer, 53);
    answer = kNoAnswer;
    EXPECT_EQ(ParseAnswers(frame("531    ").left(12), answer), 0);
    EXPECT_EQ(answer, kNoAnswer);
}

TEST(AnswerAssembler, JoinsAFrameSplitBetweenReads)
{
    const QByteArray stream = QByteArray("noise") + frame("521    ") + frame("VORMEX ");
    for (int cut = 1; cut < stream.size(); ++cut) {
        AnswerAssembler assembler;
        int answer = kNoAnswer;
        assembler.feed(stream.left(cut), answer);
        assembler.feed(stream.mid(cut), answer);
        EXPECT_EQ(answer, kAnswerVormex) << "cut at " << cut;
    }
    AnswerAssembler byteByByte;
    int answer = kNoAnswer;
    int changes = 0;
    for (char byte : stream)
        changes += byteByByte.feed(QByteArray(1, byte), answer) ? 1 : 0;
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(answer, kAnswerVormex);
}

TEST(StatusText, NamesTheStatusCodes)
{
    const StringTable strings = StringTable::builtIn();
    EXPECT_EQ(StatusText(kNoAnswer, strings), strings.text(8044));
    EXPECT_EQ(StatusText(6, strings), strings.text(8027));
    EXPECT_EQ(StatusText(7, strings), strings.text(8028));
    EXPECT_EQ(StatusText(50, strings), strings.text(8029));
    EXPECT_EQ(StatusText(51, strings), strings.text(8030));
    EXPECT_EQ(StatusText(57, strings), strings.text(8031));
    EXPECT_EQ(StatusText(3, strings), cformat(strings.text(8032), 3));
}

TEST(SplitDeviceInfo, SplitsAtTheFirstColon)
{
    struct Case {
        const char* text;
        bool usable;
        const char* kind;
        const char* address;
    };
    for (const Case& c : {Case{"LAN:192.168.1.100:8000", true, "LAN", "192.168.1.100:8000"},
                          Case{"COM3:9600,8,none,1", true, "COM3", "9600,8,none,1"}, Case{"LPT1:", true, "LPT1", ""},
                          Case{"USB:", true, "USB", ""}, Case{"US:", true, "US", ""}, Case{"", false, "", ""},
                          Case{"LAN", false, "", ""}, Case{":LAN", false, "", ""}, Case{"L:x", false, "", ""}}) {
        DeviceInfoParts parts;
        EXPECT_EQ(SplitDeviceInfo(QString::fromLatin1(c.text), parts), c.usable) << c.text;
        if (c.usable) {
            EXPECT_EQ(parts.kind, QLatin1String(c.kind));
            EXPECT_EQ(parts.address, QLatin1String(c.address));
        }
    }
    EXPECT_EQ(PortKindOf(QStringLiteral("COM12")), PortKind::Com);
    EXPECT_EQ(PortKindOf(QStringLiteral("LAN")), PortKind::Lan);
    EXPECT_EQ(PortKindOf(QStringLiteral("LPT1")), PortKind::Lpt);
    EXPECT_EQ(PortKindOf(QStringLiteral("lan")), PortKind::Usb);
    EXPECT_EQ(PortKindOf(QStringLiteral("US")), PortKind::Usb);
}

}  // namespace
