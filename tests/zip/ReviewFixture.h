// A small postal data file and a book with a vanished code, a renamed town and
// a code that moved, for the review's test and its screenshot.
#pragma once

#include <QFile>

#include "model/UserInfo.h"
#include "model/UserInfoList.h"
#include "platform/Cp932.h"

namespace q2::review_fixture {

inline const char kData[] =
    "1000004,東京都千代田区大手町\r\n"
    "1000005,東京都千代田区丸の内\r\n"
    "1000013,東京都千代田区霞が関\r\n"
    "4300946,静岡県浜松市中央区元城町\r\n";

inline bool WriteData(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(EncodeCp932(QString::fromUtf8(kData))) > 0;
}

inline void AddRecord(TUserInfoList& book, const char* family, const char* given, const char* zip1,
                      const char* zip2, const char* address, bool office = false) {
    TUserInfo* r = book.Add();
    r->PerSonalName_1 = QString::fromUtf8(family);
    r->PerSonalName_2 = QString::fromUtf8(given);
    (office ? r->OfficeZip_1 : r->PerSonalZip_1) = QString::fromUtf8(zip1);
    (office ? r->OfficeZip_2 : r->PerSonalZip_2) = QString::fromUtf8(zip2);
    (office ? r->OfficeAddress_1 : r->PerSonalAddress_1) = QString::fromUtf8(address);
}

inline void FillBook(TUserInfoList& book) {
    AddRecord(book, "山田", "太郎", "999", "9999", "東京都千代田区霞が関１－１");          // vanished
    AddRecord(book, "鈴木", "花子", "430", "0946", "静岡県浜松市中区元城町１０３－２");   // renamed ward
    AddRecord(book, "佐藤", "一郎", "100", "0004", "東京都千代田区丸の内２－７－３");     // moved code
    AddRecord(book, "田中", "次郎", "100", "0013", "千代田区霞が関３－２－１");           // fits
    AddRecord(book, "高橋", "三郎", "100", "0005", "東京都千代田区丸の内１－１", true);   // fits
}

}  // namespace q2::review_fixture
