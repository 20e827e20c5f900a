// INI profile files read and written one key at a time, in CP932, with the
// behaviour of the Windows profile functions the settings were designed for.
#pragma once

#include <QString>

#include "platform/SafeFile.h"

namespace q2 {

class ProfileFile {
public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    // Missing file, section or key gives the default. Section and key names
    // compare without regard to letter case; blanks around the value and one
    // pair of enclosing quotes are dropped.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // A value that is not a decimal integer gives the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // True for any integer other than 0; a non-integer value gives the default.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    // Sets one key, creating the file and the section when needed and leaving
    // every other line as it was. The file is replaced atomically. A file that
    // exists but cannot be read as text is left as it is and the write fails.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, int value);
    bool WriteBool(const QString& section, const QString& key, bool value);

    const QString& Path() const { return path_; }
    // Why the last write failed; None after a successful one.
    SaveProblem LastWriteProblem() const { return lastWriteProblem_; }

private:
    QString path_;
    SaveProblem lastWriteProblem_ = SaveProblem::None;
};

}  // namespace q2
