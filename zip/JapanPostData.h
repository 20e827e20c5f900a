// Japan Post's published postal code files (KEN_ALL.CSV and JIGYOSYO.CSV in
// ZIP archives) turned into zip.dat and the list of business codes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

namespace q2 {

// The CSV file inside a ZIP archive (the only entry, or the one named *.CSV).
// False with a reason when the bytes are no readable ZIP or hold no CSV.
// modified, when given, receives the entry's time (invalid when it has none).
bool UnpackCsv(QByteArrayView zipBytes, QByteArray* csv, QString* error = nullptr,
               QDateTime* modified = nullptr);

// True when the bytes begin as a ZIP archive does (an HTML error page does not).
bool IsZipArchive(QByteArrayView bytes);

// The number of fields of the first record: 15 for KEN_ALL.CSV, 13 for
// JIGYOSYO.CSV; 0 for no text at all.
int CsvColumnCount(QByteArrayView csv);

// The text of a published CSV file. The files come in CP932 and, for the
// residential one, also in UTF-8 (utf_ken_all.csv); the UTF-8 edition writes a
// few signs with the JIS code points (U+2212 for the minus sign CP932 reads as
// U+FF0D), which are mapped to what the CP932 edition gives.
QString DecodeJapanPostCsv(QByteArrayView csv);

struct TJapanPostData {
    QByteArray ZipDat;    // "NNNNNNN,text" lines, CP932, CR LF, by code
    QByteArray NoNumber;  // business codes that are no residential code, ascending, LF
    int ResidentialLines = 0;
    int BusinessLines = 0;
};

// Converts the residential (15 columns) and business (13 columns) CSV files,
// CP932 or UTF-8. False with a reason on a row of another width or a code that is
// not seven digits; nothing is half converted.
bool ConvertJapanPost(QByteArrayView kenAllCsv, QByteArrayView jigyosyoCsv, TJapanPostData* out,
                      QString* error = nullptr);

// A residential town field as it goes into an address line: the "not listed",
// "comes after …" and "the whole village" entries become empty, notes in
// full-width parentheses go (except （高層棟）), a floor note becomes
// "　４５階".
QString CleanTownName(QStringView city, QStringView town);

}  // namespace q2
