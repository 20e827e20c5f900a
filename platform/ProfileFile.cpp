// INI reader and writer over CP932 text files.
#include "ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "platform/Cp932.h"
#include "platform/SafeFile.h"

namespace q2 {
namespace {

QStringList SplitLines(const QByteArray& bytes) {
    QString text = DecodeCp932(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QStringList ReadLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return SplitLines(f.readAll());
}

// The lines a write has to keep. A file that exists but cannot be read, or
// holds NUL bytes and so is no text file, is not rewritten: its keys would be lost.
SaveProblem ReadLinesToKeep(const QString& path, QStringList* lines) {
    const QFileInfo info(path);
    if (!info.exists()) return SaveProblem::None;
    if (!info.isFile()) return SaveProblem::NotAFile;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return SaveProblem::UnreadableOriginal;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError || bytes.contains('\0'))
        return SaveProblem::UnreadableOriginal;
    *lines = SplitLines(bytes);
    return SaveProblem::None;
}

// The section name of a "[name]" line, or a null string for other lines.
QString SectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'))) {
        return t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
    }
    return QString();
}

bool KeyMatches(const QString& line, const QString& key, QString* value) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return false;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0) return false;
    if (value) *value = line.mid(eq + 1).trimmed();
    return true;
}

bool ParseInteger(const QString& text, int* out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok) *out = v;
    return ok;
}

}  // namespace

QString ProfileFile::ReadString(const QString& section, const QString& key,
                                const QString& def) const {
    bool inSection = false;
    for (const QString& line : ReadLines(path_)) {
        const QString s = SectionOf(line);
        if (!s.isNull()) {
            inSection = s.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString value;
        if (inSection && KeyMatches(line, key, &value)) {
            if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                value.back() == value.front()) {
                value = value.mid(1, value.size() - 2);
            }
            return value;
        }
    }
    return def;
}

int ProfileFile::ReadInteger(const QString& section, const QString& key, int def) const {
    int v = def;
    return ParseInteger(ReadString(section, key, QString()), &v) ? v : def;
}

bool ProfileFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool ProfileFile::WriteString(const QString& section, const QString& key, const QString& value) {
    QStringList lines;
    lastWriteProblem_ = ReadLinesToKeep(path_, &lines);
    if (lastWriteProblem_ != SaveProblem::None) return false;
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionLine = -1, lastInSection = -1;
    bool done = false;
    for (qsizetype i = 0; i < lines.size() && !done; ++i) {
        const QString s = SectionOf(lines[i]);
        if (!s.isNull()) {
            if (sectionLine >= 0) break;
            if (s.compare(section, Qt::CaseInsensitive) == 0) sectionLine = lastInSection = i;
            continue;
        }
        if (sectionLine < 0) continue;
        if (KeyMatches(lines[i], key, nullptr)) {
            lines[i] = entry;
            done = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            lastInSection = i;
        }
    }
    if (!done) {
        if (sectionLine < 0) {
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.append(entry);
        } else {
            lines.insert(lastInSection + 1, entry);
        }
    }
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += EncodeCp932(line);
        bytes += "\r\n";
    }
    lastWriteProblem_ = WriteFileSafely(path_, bytes, FileMode::KeepOrDefault, Durability::Quick);
    return lastWriteProblem_ == SaveProblem::None;
}

bool ProfileFile::WriteInteger(const QString& section, const QString& key, int value) {
    return WriteString(section, key, QString::number(value));
}

bool ProfileFile::WriteBool(const QString& section, const QString& key, bool value) {
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace q2
