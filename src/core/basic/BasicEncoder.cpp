#include "basic/BasicEncoder.h"

#include "base/Format.h"
#include "basic/NameBytes.h"

#include <QFileInfo>

#include <cstring>

namespace vormex {

using namespace basic;

BasicEncoder::BasicEncoder(const StringTable& strings, int languageValue)
    : strings_(strings), characters_(languageValue)
{
}

int BasicEncoder::fail(int id)
{
    errorId_ = id;
    errorMessage_ = strings_.text(id);
    return 0;
}

int BasicEncoder::fail(int id, int number)
{
    errorId_ = id;
    errorMessage_ = cformat(strings_.text(id), number);
    return 0;
}

int BasicEncoder::failAt(int position, int id)
{
    errorPosition_ = position;
    return fail(id);
}

int BasicEncoder::failAt(int position, int id, int number)
{
    errorPosition_ = position;
    return fail(id, number);
}

QString BasicEncoder::errorLineText() const
{
    if (errorPosition_ < 1 || errorPosition_ > int(lines_.size()))
        return {};
    return lines_[size_t(errorPosition_ - 1)].text;
}

int BasicEncoder::EncodeProgram(const QString& path, int programKind)
{
    reset(programKind, QFileInfo(path).fileName());
    if (!ReadSourceLines(path, characters_, lines_)) {
        image_.release();
        imageSize_ = 0;
        return fail(msg::kSourceUnreadable);
    }
    return encode(programKind);
}

int BasicEncoder::EncodeProgramBytes(const QByteArray& source, const QString& fileName, int programKind)
{
    reset(programKind, fileName);
    SplitSourceLines(source, characters_, lines_);
    return encode(programKind);
}

void BasicEncoder::reset(int programKind, const QString& fileName)
{
    errorMessage_.clear();
    errorId_ = 0;
    errorPosition_ = 0;
    limits_ = &EncoderLimitsFor(programKind);
    keywords_.emplace(strings_);  // read once per encoding

    const ImageLayout& layout = ImageLayout::forProgramKind(programKind);
    image_ = ProgramImage(layout);
    imageSize_ = layout.imageSize;
    image_.writeFileName(nameBytes(fileName));

    encodedLineCount_ = 0;
    lineNumbers_.clear();
    numberedLineIndex_.clear();
    entryOfLineNumber_.clear();
    labelNames_.clear();
    labelLineIndex_.clear();
    entryOfLabel_.clear();
    whileLoops_ = {};
    forLoops_ = {};
    arrayNames_.clear();
    arrayNumber_.clear();
    variableNames_.clear();
    variableNumber_.clear();
    body_.clear();
    lineRecords_.clear();
}

int BasicEncoder::encode(int programKind)
{
    const int ok = [&] {
        if (!CheckLines() || !collectLabelsAndLineNumbers())
            return 0;
        const LoopWords whileWords{QStringLiteral("WHILE"), QStringLiteral("WEND"), limits_->whileLoops,
                                   limits_->whileOverMessage, limits_->wendOverMessage, msg::kWhileWendError};
        const LoopWords forWords{QStringLiteral("FOR"), QStringLiteral("NEXT"), limits_->forLoops,
                                 limits_->forOverMessage, limits_->nextOverMessage, msg::kForNextError};
        if (!matchLoops(whileWords, whileLoops_) || !matchLoops(forWords, forLoops_))
            return 0;
        body_.reserve(qsizetype(lines_.size()) * 24);
        for (int i = 0; i < int(lines_.size()); ++i) {
            if (!encodeLine(i) || !CheckCounts(programKind)) {
                errorPosition_ = i + 1;
                return 0;
            }
        }
        return 1;
    }();
    if (!ok) {
        // Nothing of a failed encoding may reach a printer.
        image_.release();
        imageSize_ = 0;
        body_.clear();
        return 0;
    }
    ImageCounts counts;
    counts.lines = encodedLineCount_;
    counts.variables = int(variableNames_.size());
    counts.arrays = int(arrayNames_.size());
    counts.labels = int(labelNames_.size());
    counts.whileLoops = int(whileLoops_.openLines.size());
    counts.forLoops = int(forLoops_.openLines.size());
    image_.writeHeader(std::uint32_t(body_.size()), counts);
    writeTables();
    return 1;
}

void BasicEncoder::writeTables()
{
    for (int k = 0; k < variableNames_.size(); ++k)
        image_.writeVariable(k, nameBytes(variableNames_[k]));
    for (int k = 0; k < arrayNames_.size(); ++k)
        image_.writeArray(k, nameBytes(arrayNames_[k]));
    for (int k = 0; k < labelNames_.size(); ++k)
        image_.writeLabel(k, nameBytes(labelNames_[k]), labelLineIndex_[size_t(k)]);
    for (size_t k = 0; k < whileLoops_.openLines.size(); ++k)
        image_.writeWhile(int(k), int(whileLoops_.openLines[k]), int(whileLoops_.closeLines[k]));
    for (size_t k = 0; k < forLoops_.openLines.size(); ++k)
        image_.writeFor(int(k), int(forLoops_.openLines[k]), int(forLoops_.closeLines[k]));
}

int BasicEncoder::ComposeDownloadImage(int blockSizeKb, char* output, qint64 outputSize)
{
    const qint64 area = downloadAreaSize(blockSizeKb);
    if (area == 0 || !output || outputSize < area)
        return 0;
    std::memcpy(output, image_.bytes().constData(), size_t(imageSize_));
    std::memcpy(output + imageSize_, body_.constData(), size_t(body_.size()));
    const qint64 used = imageSize_ + body_.size();
    std::memset(output + used, 0xFF, size_t(area - used));
    image_.release();
    imageSize_ = 0;
    body_.clear();
    return 1;
}

}  // namespace vormex
