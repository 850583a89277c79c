#include "fleet/FleetManifest.h"

#include "comm/DeviceText.h"
#include "fleet/JsonDuplicateKeys.h"
#include "fleet/TargetsCsv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace vormex {
namespace {

const QStringList kManifestKeys = {QStringLiteral("printer"), QStringLiteral("job"), QStringLiteral("verify"),
                                   QStringLiteral("targets"), QStringLiteral("targets-file")};
const QStringList kTargetKeys = {QStringLiteral("name"), QStringLiteral("device"), QStringLiteral("printer")};

// Line and column (from 1) of a byte offset into the file.
QString lineAndColumn(const QByteArray& bytes, int offset)
{
    const QByteArray before = bytes.left(offset);
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = offset - (before.lastIndexOf('\n') + 1) + 1;
    return QStringLiteral("%1:%2").arg(line).arg(column);
}

QString jsonTypeName(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("true or false");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a string");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    default: return QStringLiteral("nothing");
    }
}

struct TargetProblem {
    QString key;   // "name" or "device"
    QString what;
};

// The targets taken so far: each must have a usable name of its own and a device text that
// parses and leads to a printer no other target has.
class TargetList {
public:
    std::optional<TargetProblem> add(const FleetTarget& target, QList<FleetTarget>& targets)
    {
        if (const QString bad = FleetNameProblem(target.name); !bad.isEmpty())
            return TargetProblem{QStringLiteral("name"), bad};
        if (const auto first = origins_.constFind(target.name); first != origins_.constEnd())
            return TargetProblem{QStringLiteral("name"), QStringLiteral("\"%1\" is given twice (first in %2)").arg(target.name, *first)};
        QString problem;
        const std::optional<DeviceEndpoint> endpoint = ParseDeviceText(target.device, &problem);
        if (!endpoint)
            return TargetProblem{QStringLiteral("device"), QStringLiteral("%1\n%2").arg(problem, DeviceTextGrammar())};
        // Two jobs at once on one printer would garble both.
        for (const Taken& taken : devices_)
            if (SameEndpoint(taken.endpoint, *endpoint))
                return TargetProblem{QStringLiteral("device"),
                                     QStringLiteral("\"%1\" is the printer of %2 as well (\"%3\")").arg(target.device, taken.origin, taken.text)};
        origins_.insert(target.name, target.origin);
        devices_.append({*endpoint, target.device, target.origin});
        targets.append(target);
        return std::nullopt;
    }

private:
    struct Taken {
        DeviceEndpoint endpoint;
        QString text;
        QString origin;
    };
    QMap<QString, QString> origins_;  // name -> where it was given first
    QList<Taken> devices_;
};

// Reads one manifest; every error is "FILE: PATH: what".
class ManifestReader {
public:
    ManifestReader(const QString& path, JobFiles jobFiles, FleetManifest& manifest)
        : stdin_(path == QLatin1String("-")),
          path_(stdin_ ? QStringLiteral("standard input") : path),
          jobFiles_(jobFiles),
          manifest_(manifest),
          folder_(stdin_ ? QDir::current() : QFileInfo(path).absoluteDir())
    {
    }

    bool read(QString& error)
    {
        readAll();
        error = problem_;
        return problem_.isEmpty();
    }

private:
    bool readAll()
    {
        if (!readObject())
            return false;
        for (auto it = root_.constBegin(); it != root_.constEnd(); ++it)
            if (!kManifestKeys.contains(it.key()))
                return fail(it.key(), QStringLiteral("unknown key (a manifest has %1)").arg(kManifestKeys.join(QStringLiteral(", "))));
        if (!readPrinter() || !readVerify() || !readJob() || !readTargets() || !readTargetsFile())
            return false;
        if (manifest_.targets.isEmpty())
            return fail(QString(), QStringLiteral("no targets: give \"targets\" or \"targets-file\""));
        return true;
    }

    bool fail(const QString& where, const QString& what)
    {
        problem_ = where.isEmpty() ? QStringLiteral("%1: %2").arg(path_, what) : QStringLiteral("%1: %2: %3").arg(path_, where, what);
        return false;
    }
    bool wrongType(const QString& where, const QString& wanted, const QJsonValue& value)
    {
        return fail(where, QStringLiteral("must be %1, not %2").arg(wanted, jsonTypeName(value)));
    }

    bool readObject()
    {
        QFile file(path_);
        const bool opened = stdin_ ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
        if (!opened)
            return fail(QString(), file.errorString());
        const QByteArray bytes = file.read(kMaxFleetFileBytes + 1);
        if (bytes.size() > kMaxFleetFileBytes)
            return fail(QString(), QStringLiteral("larger than %1 bytes: not a manifest").arg(kMaxFleetFileBytes));
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
        if (parseError.error != QJsonParseError::NoError) {
            problem_ = QStringLiteral("%1:%2: JSON syntax error: %3").arg(path_, lineAndColumn(bytes, parseError.offset), parseError.errorString());
            return false;
        }
        if (!document.isObject())
            return fail(QString(), QStringLiteral("a manifest is a JSON object"));
        // The reader keeps one of the two values of a key given twice; which one was meant is unknown.
        if (const std::optional<QString> key = FirstDuplicateJsonKey(bytes))
            return fail(*key, QStringLiteral("given twice"));
        root_ = document.object();
        manifest_.path = path_;
        return true;
    }

    bool readPrinter()
    {
        const QJsonValue value = root_.value(QStringLiteral("printer"));
        if (value.isUndefined())
            return true;
        if (!value.isString() || value.toString().isEmpty())
            return wrongType(QStringLiteral("printer"), QStringLiteral("a printer model's name"), value);
        manifest_.printer = value.toString();
        return true;
    }

    bool readVerify()
    {
        const QJsonValue value = root_.value(QStringLiteral("verify"));
        if (value.isUndefined())
            return true;
        if (!value.isBool())
            return wrongType(QStringLiteral("verify"), QStringLiteral("true or false"), value);
        manifest_.verify = value.toBool();
        return true;
    }

    QString resolved(const QString& file) const { return QDir::cleanPath(folder_.absoluteFilePath(file)); }

    bool readJob()
    {
        const QJsonValue value = root_.value(QStringLiteral("job"));
        if (value.isUndefined())
            return true;
        if (!value.isObject())
            return wrongType(QStringLiteral("job"), QStringLiteral("an object"), value);
        const QJsonObject job = value.toObject();
        for (auto it = job.constBegin(); it != job.constEnd(); ++it) {
            const QString where = QStringLiteral("job.") + it.key();
            if (!DownloadOptionNames().contains(it.key()))
                return fail(where, QStringLiteral("unknown key (a job has %1)").arg(DownloadOptionNames().join(QStringLiteral(", "))));
            QString text;
            if (it.value().isString())
                text = it.value().toString();
            else if (it.key() == QLatin1String("kanji") && it.value().isDouble())
                text = QString::number(it.value().toDouble());
            else
                return wrongType(where, QStringLiteral("a string"), it.value());
            if (IsDownloadFileOption(it.key())) {
                text = resolved(text);
                if (jobFiles_ == JobFiles::MustExist && !readable(where, text))
                    return false;
            }
            manifest_.job.append({it.key(), text});
        }
        return true;
    }

    bool readable(const QString& where, const QString& file)
    {
        QFile probe(file);
        if (QFileInfo(file).isDir())
            return fail(where, QStringLiteral("%1: is a folder, not a file").arg(file));
        if (!probe.open(QIODevice::ReadOnly))
            return fail(where, QStringLiteral("%1: %2").arg(file, probe.errorString()));
        return true;
    }

    bool readTargets()
    {
        const QJsonValue value = root_.value(QStringLiteral("targets"));
        if (value.isUndefined())
            return true;
        if (!value.isArray())
            return wrongType(QStringLiteral("targets"), QStringLiteral("an array"), value);
        const QJsonArray targets = value.toArray();
        for (qsizetype i = 0; i < targets.size(); ++i) {
            const QString where = QStringLiteral("targets[%1]").arg(i);
            if (!targets[i].isObject())
                return wrongType(where, QStringLiteral("an object"), targets[i]);
            const QJsonObject object = targets[i].toObject();
            for (auto it = object.constBegin(); it != object.constEnd(); ++it)
                if (!kTargetKeys.contains(it.key()))
                    return fail(where + QLatin1Char('.') + it.key(),
                                QStringLiteral("unknown key (a target has %1)").arg(kTargetKeys.join(QStringLiteral(", "))));
            FleetTarget target;
            target.origin = QStringLiteral("%1: %2").arg(path_, where);
            if (!stringOf(object, where, QStringLiteral("name"), true, target.name)
                || !stringOf(object, where, QStringLiteral("device"), true, target.device)
                || !stringOf(object, where, QStringLiteral("printer"), false, target.printer))
                return false;
            if (!addTarget(target))
                return false;
        }
        return true;
    }

    bool stringOf(const QJsonObject& object, const QString& where, const QString& key, bool required, QString& text)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            if (required)
                return fail(where + QLatin1Char('.') + key, QStringLiteral("missing"));
            return true;
        }
        if (!value.isString() || value.toString().isEmpty())
            return wrongType(where + QLatin1Char('.') + key, QStringLiteral("a text that is not empty"), value);
        text = value.toString();
        return true;
    }

    bool readTargetsFile()
    {
        const QJsonValue value = root_.value(QStringLiteral("targets-file"));
        if (value.isUndefined())
            return true;
        if (!value.isString() || value.toString().isEmpty())
            return wrongType(QStringLiteral("targets-file"), QStringLiteral("a file name"), value);
        const QString file = resolved(value.toString());
        QList<FleetTarget> targets;
        QString error;
        if (!ReadTargetsCsv(file, targets, error))
            return fail(QStringLiteral("targets-file"), error);
        for (const FleetTarget& target : targets)
            if (!addTarget(target))
                return false;
        return true;
    }

    bool addTarget(const FleetTarget& target)
    {
        if (const std::optional<TargetProblem> problem = targets_.add(target, manifest_.targets)) {
            problem_ = QStringLiteral("%1: %2").arg(target.keyPath(problem->key), problem->what);
            return false;
        }
        return true;
    }

    bool stdin_;  // "-": the manifest comes from standard input, its file names from the current folder
    QString path_;
    JobFiles jobFiles_;
    FleetManifest& manifest_;
    QDir folder_;
    QJsonObject root_;
    TargetList targets_;
    QString problem_;
};

}  // namespace

QString FleetNameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("missing");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" cannot name a folder").arg(name);
    if (name.size() > kMaxFleetNameLength)
        return QStringLiteral("\"%1\" is longer than %2 characters").arg(name).arg(kMaxFleetNameLength);
    for (const QChar c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_' && c != u'.')
            return QStringLiteral("\"%1\" holds %2: a name holds letters, digits, - _ and . only")
                .arg(name, c.isPrint() ? QStringLiteral("\"%1\"").arg(c) : QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper());
    return {};
}

bool ReadFleetManifest(const QString& path, JobFiles jobFiles, FleetManifest& manifest, QString& error)
{
    manifest = FleetManifest{};
    return ManifestReader(path, jobFiles, manifest).read(error);
}

bool ReadTargetsManifest(const QString& path, FleetManifest& manifest, QString& error)
{
    manifest = FleetManifest{};
    manifest.path = path;
    QList<FleetTarget> rows;
    if (!ReadTargetsCsv(path, rows, error))
        return false;
    TargetList list;
    for (const FleetTarget& row : rows) {
        if (const std::optional<TargetProblem> problem = list.add(row, manifest.targets)) {
            error = QStringLiteral("%1: %2").arg(row.keyPath(problem->key), problem->what);
            return false;
        }
    }
    if (manifest.targets.isEmpty()) {
        error = QStringLiteral("%1: no targets").arg(path);
        return false;
    }
    return true;
}

}  // namespace vormex
