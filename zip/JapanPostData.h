// Japan Post's published postal code files (KEN_ALL.CSV and JIGYOSYO.CSV in
// ZIP archives) turned into zip.dat and the list of business codes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace q2 {

// The CSV file inside a ZIP archive (the only entry, or the one named *.CSV).
// False with a reason when the bytes are no readable ZIP or hold no CSV.
bool UnpackCsv(QByteArrayView zipBytes, QByteArray* csv, QString* error = nullptr);

struct TJapanPostData {
    QByteArray ZipDat;    // "NNNNNNN,text" lines, CP932, CR LF, by code
    QByteArray NoNumber;  // business codes that are no residential code, ascending, LF
    int ResidentialLines = 0;
    int BusinessLines = 0;
};

// Converts the residential (15 columns) and business (13 columns) CSV files,
// both CP932. False with a reason on a row of another width or a code that is
// not seven digits; nothing is half converted.
bool ConvertJapanPost(QByteArrayView kenAllCsv, QByteArrayView jigyosyoCsv, TJapanPostData* out,
                      QString* error = nullptr);

// A residential town field as it goes into an address line: the "not listed",
// "comes after …" and "the whole village" entries become empty, notes in
// full-width parentheses go (except （高層棟）), a floor note becomes
// "　４５階".
QString CleanTownName(QStringView city, QStringView town);

}  // namespace q2
