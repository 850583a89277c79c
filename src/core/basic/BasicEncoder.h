#pragma once

#include "base/StringTable.h"
#include "basic/EncoderLimits.h"
#include "basic/KeywordTables.h"
#include "basic/ProgramImage.h"
#include "basic/Scanner.h"
#include "basic/SourceText.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace vormex {

// One encoding of a BASIC source file into the printer's program image: the fixed-size image
// (header, line table, name and loop tables) and the body (one record per source line).
//
//   BasicEncoder encoder(app.strings, app.languageValue);
//   if (!encoder.EncodeProgram(path, basic::kMainProgram)) show(encoder.errorMessage());
//   QByteArray area(encoder.downloadAreaSize(blockSizeKb), '\0');
//   encoder.ComposeDownloadImage(blockSizeKb, area.data(), area.size());
//
// The encoder reads no global state: the string table gives the keyword tables and the
// messages, the language value (1 Japanese, 0 English) the source's code page.
class BasicEncoder {
public:
    BasicEncoder(const StringTable& strings, int languageValue);

    // Encodes the file for `programKind` (1 main program, 0 system-mode program). 1 on success;
    // 0 with errorMessage() set at the first error.
    int EncodeProgram(const QString& path, int programKind);
    // The same for source bytes already in memory; `fileName` goes into the image.
    int EncodeProgramBytes(const QByteArray& source, const QString& fileName, int programKind);

    QString errorMessage() const { return errorMessage_; }
    int errorId() const { return errorId_; }  // number of the message; 0 when none
    // The source line the error belongs to: its position in the file (from 1; 0 when the error
    // concerns no single line, as the label count or the file that cannot be read) and its text.
    int errorPosition() const { return errorPosition_; }
    QString errorLineText() const;

    int imageSize() const { return imageSize_; }
    const QByteArray& image() const { return image_.bytes(); }
    const QByteArray& body() const { return body_; }

    // Bytes that ComposeDownloadImage fills: image and body rounded up to whole blocks.
    qint64 downloadAreaSize(int blockSizeKb) const { return basic::DownloadAreaSize(blockSizeKb, imageSize_, body_.size()); }
    // Writes the image, the body behind it and 0xFF up to whole blocks of `blockSizeKb` KB into
    // `output`, then empties the encoder. 0 (output untouched) when there is nothing encoded,
    // the block size is not positive, or `outputSize` is smaller than the area.
    int ComposeDownloadImage(int blockSizeKb, char* output, qint64 outputSize);

    // What each source line became, for listings.
    struct LineRecord {
        int position = 0;           // line in the file, from 1
        bool hasLineEntry = false;  // false for a line numbered 0 or a line of blanks
        std::uint32_t lineNumber = 0;
        std::uint32_t bodyOffset = 0;
        QByteArray bytes;           // the record: length byte, token bytes, end byte
    };
    const std::vector<LineRecord>& lineRecords() const { return lineRecords_; }

    // The steps of an encoding, each 1 on success and 0 with errorMessage() set.
    int CheckLines();
    int CheckCounts(int programKind);

private:
    // A loop kind's lines and matches, found by the WHILE and FOR passes.
    struct LoopPairs {
        std::vector<std::uint32_t> openLines;   // 0-based positions of the WHILE (FOR) lines
        std::vector<std::uint32_t> closeLines;  // their WEND (NEXT) lines; 0 while unmatched
        int open = 0;                           // entry that the next WEND (NEXT) closes
        std::vector<int> entryOfOpenLine;       // by 0-based line position, -1 when none
        std::vector<int> entryOfCloseLine;
    };
    struct LoopWords {
        QString open;
        QString close;
        int limit;
        int overMessage;
        int closeOverMessage;
        int errorMessage;
    };

    int encode(int programKind);
    void reset(int programKind, const QString& fileName);
    int fail(int id);
    int fail(int id, int number);
    // The same, for an error that belongs to the source line at `position` (from 1).
    int failAt(int position, int id);
    int failAt(int position, int id, int number);

    // The first token of a line after an optional line number; nothing when the line has none.
    std::optional<QStringView> firstStatementToken(const basic::SourceLine& line, QStringView* lineNumber = nullptr);
    int collectLabelsAndLineNumbers();
    int matchLoops(const LoopWords& words, LoopPairs& pairs);

    int encodeLine(int index);
    bool appendConstant(QString& token, basic::Scanner& scanner, QStringView& rest);
    int appendLoopLink(const QString& statement);
    void appendName(const QString& name, bool followedByParenthesis);
    void appendString(const QByteArray& bytes);
    void appendLink(std::uint32_t position);
    void writeTables();

    StringTable strings_;
    basic::SourceCharacterSet characters_;
    std::optional<basic::KeywordTables> keywords_;
    const basic::EncoderLimits* limits_ = nullptr;

    QString errorMessage_;
    int errorId_ = 0;
    int errorPosition_ = 0;
    std::vector<basic::SourceLine> lines_;

    std::vector<std::uint32_t> lineNumbers_;
    std::vector<std::uint32_t> numberedLineIndex_;
    QHash<std::uint32_t, int> entryOfLineNumber_;
    QStringList labelNames_;
    std::vector<std::uint32_t> labelLineIndex_;
    QHash<QString, int> entryOfLabel_;
    LoopPairs whileLoops_;
    LoopPairs forLoops_;

    basic::ProgramImage image_;
    int imageSize_ = 0;
    int encodedLineCount_ = 0;
    QStringList arrayNames_;
    QHash<QString, int> arrayNumber_;
    QStringList variableNames_;
    QHash<QString, int> variableNumber_;
    QByteArray body_;
    std::vector<LineRecord> lineRecords_;

    // State of the line being encoded.
    QByteArray lineBytes_;
    int lineStarted_ = 0;
    int afterResume_ = 0;
    int expectJump_ = 0;
    int inOpen_ = 0;
};

}  // namespace vormex
