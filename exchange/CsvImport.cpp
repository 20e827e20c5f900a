// Destinations of CSV columns and how each one stores its text.
#include "CsvImport.h"

#include <algorithm>
#include <memory>

#include <QRegularExpression>

#include "exchange/CsvReader.h"
#include "exchange/VcardImport.h"
#include "platform/Clock.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

// The reader marks a line break inside a field as "#BR#"; a field that may
// hold several lines takes them back.
const QString kBr = QStringLiteral("#BR#");
QString ExpandBr(QString text) {
    if (text.contains(u'#')) text.replace(kBr, QStringLiteral("\r\n"), Qt::CaseInsensitive);
    return text;
}

using F = TRecordFieldId;
constexpr TRecordFieldId kDestinationFields[] = {
    F::PersonalFullNameKana,
    F::PersonalFullName,
    F::PerSonalHonorificTitle,
    F::PersonalFullZip,
    F::PerSonalAddress_1,
    F::PerSonalAddress_2,
    F::PerSonalTel_1,
    F::PerSonalTel_2,
    F::PerSonalMail_1,
    F::PerSonalMail_2,
    F::PerSonalHomePage,
    F::OfficeKana,
    F::OfficeName,
    F::OfficeFullZip,
    F::OfficeAddress_1,
    F::OfficeAddress_2,
    F::OfficeTel_1,
    F::OfficeTel_2,
    F::OfficeMail_1,
    F::OfficeMail_2,
    F::OfficeHomePage,
    F::OfficePost,
    F::OfficeOfficialPosition,
    F::CommonBirthday,
    F::PersonalSex,
    F::CommonCategory_1,
    F::CommonCategory_2,
    F::CommonJointNameObj_1_PrintName,
    F::CommonJointNameObj_1_HonorificTitle,
    F::CommonJointNameObj_2_PrintName,
    F::CommonJointNameObj_2_HonorificTitle,
    F::CommonJointNameObj_3_PrintName,
    F::CommonJointNameObj_3_HonorificTitle,
    F::CommonJointNameObj_4_PrintName,
    F::CommonJointNameObj_4_HonorificTitle,
    F::CommonInsertStr_1,
    F::CommonInsertStr_2,
    F::CommonInsertStr_3,
    F::CommonInsertStr_4,
    F::CommonMemo,
    F::CommonHistoryOneLine,
};
constexpr int kDestinationCount = static_cast<int>(std::size(kDestinationFields));

}  // namespace

const TRecordField* ImportDestinationField(int destination) {
    if (destination < 0 || destination >= kDestinationCount) return nullptr;
    return &RecordField(kDestinationFields[destination]);
}

const QStringList& ImportDestinations() {
    static const QStringList names = [] {
        QStringList n;
        for (TRecordFieldId f : kDestinationFields) n << RecordField(f).CsvCaption.toString();
        return n;
    }();
    return names;
}

int ImportDestinationIndex(const QString& name) {
    return static_cast<int>(ImportDestinations().indexOf(name));
}

void ApplyImportDefaults(TUserInfo& r, const QDateTime& now) {
    r.PerSonalHonorificTitle = QStringLiteral("様");
    r.PerSonalHomePage = QStringLiteral("http://");
    r.OfficeHomePage = QStringLiteral("http://");
    r.CommonPrintCheck = true;
    r.CommonUseTypePersonal = true;
    r.CommonRegistDate = now;
    // A record without a birthday keeps the empty date: the import date would
    // give every imported contact the age 0 and go out in every export.
    r.CommonBirthday = ZeroDateTime();
    for (int i = 0; i < 4; ++i) r.JointName(i).HonorificTitle = QStringLiteral("様");
}

QDate ParseImportDate(const QString& text) {
    QString t = ToHalfWidth(text).trimmed();
    // "1970-01-05", "1970-01-05T00:00:00" and "19700105" as other programs
    // write them; a date without a year ("--03-15") is no date.
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-?(\\d{2})-?(\\d{2})(?:[T ].*)?$"));
    if (const auto m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    t.replace(u'-', u'/');
    t.replace(u'.', u'/');
    return ParseDate(t);
}

void ApplyImportField(TUserInfo& r, int d, const QString& v, const QDateTime& now) {
    const TRecordField* f = ImportDestinationField(d);
    if (!f) return;
    switch (kDestinationFields[d]) {
        case F::PersonalFullZip:
        case F::OfficeFullZip: {
            // "1500002" as spreadsheets keep it fills both boxes.
            const bool office = kDestinationFields[d] == F::OfficeFullZip;
            QString first, second;
            if (SplitPostalCode(v, &first, &second)) {
                (office ? r.OfficeZip_1 : r.PerSonalZip_1) = first;
                (office ? r.OfficeZip_2 : r.PerSonalZip_2) = second;
                return;
            }
            break;
        }
        case F::PersonalFullNameKana:
        case F::OfficeKana:
            f->SetText(r, ReadingToKatakana(v), now);
            return;
        case F::CommonBirthday: {
            const QDate date = ParseImportDate(v);
            if (date.isValid()) r.CommonBirthday = MakeDateTime(date);
            return;
        }
        default:
            break;
    }
    f->SetText(r, f->MultiLine ? ExpandBr(v) : v, now);
}

void FinishImportedRecord(TUserInfo& r) {
    const bool home =
        !(r.PerSonalZip_1 + r.PerSonalZip_2 + r.PerSonalAddress_1 + r.PerSonalAddress_2)
             .trimmed()
             .isEmpty();
    const bool office = !(r.OfficeZip_1 + r.OfficeZip_2 + r.OfficeAddress_1 + r.OfficeAddress_2)
                             .trimmed()
                             .isEmpty();
    // A contact known only at work would otherwise print to an empty home address.
    if (!home && office) r.CommonUseTypePersonal = false;
}

bool ParseImportMapping(const QStringList& pairs, TImportMapping* mapping, QString* error,
                        int columnCount) {
    mapping->clear();
    std::vector<bool> used(kDestinationCount, false);
    for (const QString& p : pairs) {
        const qsizetype eq = p.indexOf(u'=');
        bool ok = false;
        const int column = eq > 0 ? p.left(eq).trimmed().toInt(&ok) : -1;
        if (!ok || column < 0) {
            *error = QStringLiteral("列の指定が正しくありません: %1").arg(p);
            return false;
        }
        // Checked before the mapping grows to the column: a huge number must not
        // turn into a huge allocation.
        if (column >= std::min(columnCount, kMaxImportColumns)) {
            *error = QStringLiteral("列 %1 はファイルにありません（列は 0 から %2 まで）")
                         .arg(column)
                         .arg(std::max(0, std::min(columnCount, kMaxImportColumns) - 1));
            return false;
        }
        const QString name = p.mid(eq + 1).trimmed();
        const int d = ImportDestinationIndex(name);
        if (d < 0) {
            *error = QStringLiteral("取り込み先の項目がありません: %1").arg(name);
            return false;
        }
        if (used[d]) {
            *error = QStringLiteral("項目が2つの列に指定されています: %1").arg(name);
            return false;
        }
        used[d] = true;
        if (static_cast<int>(mapping->size()) <= column) mapping->resize(column + 1, -1);
        if ((*mapping)[column] >= 0) {
            *error = QStringLiteral("列が2回指定されています: %1").arg(column);
            return false;
        }
        (*mapping)[column] = d;
    }
    return true;
}

std::vector<TUserInfo> ConvertCsvRecords(const QStringList& records, const TImportMapping& mapping,
                                         const TImportOptions& options) {
    const QDateTime now = MakeDateTime(Now());
    const int first = options.SkipFirstRecord ? 1 : 0;
    std::vector<TUserInfo> out;
    out.reserve(std::max<qsizetype>(0, records.size() - first));
    for (qsizetype i = first; i < records.size(); ++i) {
        const QStringList fields = SplitCsvFields(records[i]);
        TUserInfo& record = out.emplace_back();
        ApplyImportDefaults(record, now);
        const qsizetype rows = std::min<qsizetype>(mapping.size(), fields.size());
        for (qsizetype r = 0; r < rows; ++r)
            if (mapping[r] >= 0) ApplyImportField(record, mapping[r], fields[r], now);
        FinishImportedRecord(record);
        record.CommonPrintCheck = options.MarkForPrint;
    }
    return out;
}

int ImportRecords(const QStringList& records, const TImportMapping& mapping,
                  const TImportOptions& options, TUserInfoList& book) {
    std::vector<TUserInfo> converted = ConvertCsvRecords(records, mapping, options);
    const int first = options.SkipFirstRecord ? 1 : 0;
    int added = 0;
    for (TUserInfo& r : converted) {
        book.Add(std::make_unique<TUserInfo>(std::move(r)));
        if (options.Progress) options.Progress(first + added);
        ++added;
    }
    return added;
}

}  // namespace q2
