#include "download/ParameterVerify.h"

#include "base/StringIds.h"
#include "codec/Codec.h"

namespace vormex {

QString VerifyStatusWord(VerifyStatus status)
{
    switch (status) {
    case VerifyStatus::Same:
        return QStringLiteral("same");
    case VerifyStatus::Different:
        return QStringLiteral("different");
    case VerifyStatus::Skipped:
        return QStringLiteral("skipped");
    case VerifyStatus::Unread:
        break;
    }
    return QStringLiteral("unread");
}

PrinterFileRead ReadPrinterFile(ParameterFileKind kind, const LinkSettings& link, const PrinterDefinition& printer)
{
    ReadBackCheck check;
    check.printer = &printer;
    check.labelShiftOmitted = printer.labelShiftOmitted != 0;
    const ReadBackResult result = ReadParameterFileBack(kind, link, check);
    PrinterFileRead read;
    read.message = result.message;
    read.detail = result.detail;
    if (result.result || result.checkFailed) {
        read.outcome = PrinterFileRead::Text;
        read.text = result.text;
        read.checked = result.result != 0;
    } else if (result.messageId == strings::kParameterNotInPrinter) {
        read.outcome = PrinterFileRead::NoFile;
    } else if (result.silent) {
        read.message = QStringLiteral("the device \"%1\" cannot be read from (LAN, COM or USB needed)").arg(link.deviceInfo);
    }
    return read;
}

FileVerification CompareWithPrinterFile(ParameterFileKind kind, const PrinterFileRead& read, const QString& wantedText,
                                        const PrinterDefinition& printer)
{
    FileVerification verification;
    switch (read.outcome) {
    case PrinterFileRead::Unread:
        verification.status = VerifyStatus::Unread;
        verification.message = read.messageWithDetail();
        return verification;
    case PrinterFileRead::NoFile:
        verification.differences = {MissingFileDifference(kind, codec::toPrinterCodePage(wantedText).size())};
        break;
    case PrinterFileRead::Text:
        verification.differences = CompareParameterTexts(kind, read.text, wantedText, printer);
        break;
    }
    verification.status = verification.differences.isEmpty() ? VerifyStatus::Same : VerifyStatus::Different;
    return verification;
}

FileVerification VerifyParameterFile(ParameterFileKind kind, const QString& wantedText, const LinkSettings& link,
                                     const PrinterDefinition& printer)
{
    return CompareWithPrinterFile(kind, ReadPrinterFile(kind, link, printer), wantedText, printer);
}

std::optional<QString> SentParameterText(const DownloadJob& job, ParameterFileKind kind)
{
    if (job.mode != DownloadJob::BasicFilesMode)
        return std::nullopt;
    const bool system = kind == ParameterFileKind::SystemParameters;
    const DownloadItem& item = job.item(system ? DownloadItem::SystemParameters : DownloadItem::InitialTable);
    if (!(system ? job.doSystemParameters : job.doInitialTable) || !item.ready())
        return std::nullopt;
    return TextOfStoreFileEnvelope(item.bytes);
}

bool JobVerification::passed() const
{
    const auto fine = [](const FileVerification& file) {
        return file.status == VerifyStatus::Same || file.status == VerifyStatus::Skipped;
    };
    return fine(system) && fine(initial);
}

JobVerification VerifyJobFiles(const DownloadJob& job, const LinkSettings& link, const PrinterDefinition& printer)
{
    JobVerification verification;
    QString unreadMessage;
    for (const ParameterFileKind kind : {ParameterFileKind::SystemParameters, ParameterFileKind::InitialTable}) {
        FileVerification& file = kind == ParameterFileKind::SystemParameters ? verification.system : verification.initial;
        const std::optional<QString> wanted = SentParameterText(job, kind);
        if (!wanted)
            continue;
        if (!unreadMessage.isEmpty()) {
            file.status = VerifyStatus::Unread;
            file.message = unreadMessage;
            continue;
        }
        file = VerifyParameterFile(kind, *wanted, link, printer);
        if (file.status == VerifyStatus::Unread)
            unreadMessage = file.message.isEmpty() ? QStringLiteral("unread") : file.message;
    }
    return verification;
}

JobVerification VerifySentEnvelope(const QByteArray& envelope, ParameterFileKind kind, const LinkSettings& link,
                                   const PrinterDefinition& printer)
{
    JobVerification verification;
    FileVerification& file = kind == ParameterFileKind::SystemParameters ? verification.system : verification.initial;
    if (const std::optional<QString> sent = TextOfStoreFileEnvelope(envelope))
        file = VerifyParameterFile(kind, *sent, link, printer);
    return verification;
}

namespace {

QString fileTitle(ParameterFileKind kind)
{
    return kind == ParameterFileKind::SystemParameters ? QStringLiteral("system parameters")
                                                        : QStringLiteral("initial values and tables");
}

// The differing places named once each, in file order.
QString differingPlaces(const QList<ParameterDifference>& differences)
{
    QStringList places;
    for (const ParameterDifference& difference : differences)
        if (!places.contains(difference.where))
            places << difference.where;
    return places.join(QStringLiteral(", "));
}

std::pair<ParameterFileKind, const FileVerification*> filesOf(const JobVerification& verification, int i)
{
    return i == 0 ? std::pair{ParameterFileKind::SystemParameters, &verification.system}
                  : std::pair{ParameterFileKind::InitialTable, &verification.initial};
}

}  // namespace

QStringList VerificationLines(const JobVerification& verification)
{
    QStringList lines;
    for (int i = 0; i < 2; ++i) {
        const auto [kind, file] = filesOf(verification, i);
        const QString head = QStringLiteral("verify %1: ").arg(ParameterFileWord(kind));
        if (file->status == VerifyStatus::Same)
            lines << head + QStringLiteral("same");
        else if (file->status == VerifyStatus::Unread)
            lines << head + QStringLiteral("unread: ") + QString(file->message).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        for (const ParameterDifference& difference : file->differences)
            lines << head + DifferenceLine(difference);
    }
    return lines;
}

QString VerificationProblem(const JobVerification& verification)
{
    QStringList problems;
    for (int i = 0; i < 2; ++i) {
        const auto [kind, file] = filesOf(verification, i);
        if (file->status == VerifyStatus::Different)
            problems << QStringLiteral("the printer's %1 differ from what was sent: %2").arg(fileTitle(kind), differingPlaces(file->differences));
        else if (file->status == VerifyStatus::Unread)
            problems << QStringLiteral("the %1 could not be read back: %2")
                            .arg(fileTitle(kind), QString(file->message).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    }
    return problems.join(QStringLiteral("; "));
}

}  // namespace vormex
