#pragma once

#include "comm/LinkSettings.h"
#include "comm/ParameterReadBack.h"
#include "conversion/ParameterComparison.h"
#include "download/DownloadJob.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Checking by read-back: the parameter files a job sent (or is about to send) are read back from
// the printer ("!B", "!D") and compared with the texts of their envelopes.
namespace vormex {

enum class VerifyStatus {
    Same,       // the printer holds what was sent
    Different,  // it holds something else, or no file at all
    Skipped,    // nothing to compare: the file is not part of the job (or verifying is off)
    Unread,     // the printer could not be asked or gave no usable answer
};

// "same", "different", "skipped", "unread".
QString VerifyStatusWord(VerifyStatus status);

struct FileVerification {
    VerifyStatus status = VerifyStatus::Skipped;
    QString message;  // an unread file: the read-back's message
    QList<ParameterDifference> differences;
};

// What one read-back of a parameter file gave.
struct PrinterFileRead {
    enum Outcome { Text, NoFile, Unread } outcome = Unread;
    QString text;     // Text: the file as the printer holds it (also when it fails the format check)
    QString message;  // the read-back's message
    QString detail;   // Unread: the device and why the exchange failed, when known
    bool checked = false;  // Text: the file passed the printer's format check

    // The message with the device and the reason after it: "Cannot open the device: connection
    // refused by 127.0.0.1:9 (nothing listens there)".
    QString messageWithDetail() const { return detail.isEmpty() ? message : message + QStringLiteral(": ") + detail; }
};

// Reads the parameter file of `kind` back from the printer of `link`, checked against `printer`.
PrinterFileRead ReadPrinterFile(ParameterFileKind kind, const LinkSettings& link, const PrinterDefinition& printer);

// Compares what the printer gave with `wantedText`. A printer without the file differs from it;
// one that could not be read leaves the file unread.
FileVerification CompareWithPrinterFile(ParameterFileKind kind, const PrinterFileRead& read, const QString& wantedText,
                                        const PrinterDefinition& printer);

// Reads the file back and compares it with `wantedText`.
FileVerification VerifyParameterFile(ParameterFileKind kind, const QString& wantedText, const LinkSettings& link,
                                     const PrinterDefinition& printer);

// The text a job sends for the file of `kind`; nothing when the job does not send that file.
std::optional<QString> SentParameterText(const DownloadJob& job, ParameterFileKind kind);

// Both files of a job.
struct JobVerification {
    FileVerification system;
    FileVerification initial;
    // Nothing was found different or unread.
    bool passed() const;
    QList<ParameterDifference> differences() const { return system.differences + initial.differences; }
};

// What the verification found, a line each: "verify system: same", "verify system: LABEL LENGTH:
// printer 00601, file 00600", "verify initial: unread: ..."; nothing for a skipped file.
QStringList VerificationLines(const JobVerification& verification);
// Why the verification did not pass, naming the differing places or the read-back's message;
// empty when it passed.
QString VerificationProblem(const JobVerification& verification);

// Reads back and compares the parameter files the job sent; the others are skipped. A file is
// read only when the one before it was not unread: a printer that cannot be reached is asked once.
JobVerification VerifyJobFiles(const DownloadJob& job, const LinkSettings& link, const PrinterDefinition& printer);
// The same for one parameter file sent in its store-file envelope (the parameter file dialog's
// download); the other file is skipped.
JobVerification VerifySentEnvelope(const QByteArray& envelope, ParameterFileKind kind, const LinkSettings& link,
                                   const PrinterDefinition& printer);

}  // namespace vormex
