// Postal code lookups over "zip/zip.dat": from a code (or its first digits)
// to addresses, and from a piece of address to codes.
#pragma once

#include <QList>
#include <QString>

namespace q2 {

struct TZipEntry {
    QString Upper;    // first three characters of the code
    QString Lower;    // the rest, at most 128 characters
    QString Address;  // at most 512 characters
    // "100-0013": the postal code column of the lookup list.
    QString CodeColumn() const { return Upper + QLatin1Char('-') + Lower; }
    bool operator==(const TZipEntry&) const = default;
};

enum class TZipSearchResult {
    Found,
    NoKey,      // the key was too short or blank; the file was not read
    NotFound,
    FileError,  // the data file could not be read
    Damaged,    // the data file is empty or does not hold postal data
};

struct TZipSearch {
    TZipSearchResult Result = TZipSearchResult::NotFound;
    QString Label;  // "検索キー：…"
    QList<TZipEntry> Entries;
};

// Every line whose code starts with upper + lower; upper needs three characters.
TZipSearch SearchByZip(const QString& dataPath, const QString& upper, const QString& lower);
// Every line containing the address as given, letter case ignored.
TZipSearch SearchByAddress(const QString& dataPath, const QString& address);

// The message the user is shown for a result, empty for Found.
QString ZipSearchMessage(const TZipSearch& search, bool byAddress, const QString& dataPath);

// The entry of one data line.
TZipEntry ParseZipLine(QStringView line);

}  // namespace q2
