// The CSV export's columns and file image.
#include "CsvExport.h"

#include <algorithm>

#include "exchange/CsvImport.h"
#include "platform/Cp932.h"

namespace q2 {

namespace {

// A column: its field and the name of its check box in the export dialog.
struct ExportColumn {
    TRecordFieldId Field;
    const char* CheckBox;
};

using F = TRecordFieldId;
constexpr ExportColumn kColumns[kExportColumnCount] = {
    {F::PersonalFullName, "CBPersonalName"},
    {F::PersonalFullNameKana, "CBPersonalKana"},
    {F::PerSonalHonorificTitle, "CBPersonalNameTitle"},
    {F::PersonalFullZip, "CBPersonalZip"},
    {F::PerSonalAddress_1, "CBPersonalAddress_1"},
    {F::PerSonalAddress_2, "CBPersonalAddress_2"},
    {F::PerSonalTel_1, "CBPersonalTel_1"},
    {F::PerSonalTel_2, "CBPersonalTel_2"},
    {F::PerSonalMail_1, "CBPersonalMail_1"},
    {F::PerSonalMail_2, "CBPersonalMail_2"},
    {F::PerSonalHomePage, "CBPersonalHP"},
    {F::PersonalAge, "CBPersonalAge"},
    {F::PersonalSex, "CBPersonalSex"},
    {F::OfficeName, "CBOfficeName"},
    {F::OfficeKana, "CBOfficeNameKana"},
    {F::OfficeFullZip, "CBOfficeNameZip"},
    {F::OfficeAddress_1, "CBOfficeAddress_1"},
    {F::OfficeAddress_2, "CBOfficeAddress_2"},
    {F::OfficeTel_1, "CBOfficeTel_1"},
    {F::OfficeTel_2, "CBOfficeTel_2"},
    {F::OfficeMail_1, "CBOfficeMail_1"},
    {F::OfficeMail_2, "CBOfficeMail_2"},
    {F::OfficePost, "CBOfficePost"},
    {F::OfficeOfficialPosition, "CBOfficeOfficialPosition"},
    {F::OfficeHomePage, "CBOfficeHP"},
    {F::CommonRegistDate, "CBEntryDate"},
    {F::CommonBirthday, "CBBirthday"},
    {F::CommonCategory_1, "CBCategory_1"},
    {F::CommonCategory_2, "CBCategory_2"},
    {F::CommonJointNameObj_1_PrintName, "CBJointName_1_Name"},
    {F::CommonJointNameObj_2_PrintName, "CBJointName_2_Name"},
    {F::CommonJointNameObj_3_PrintName, "CBJointName_3_Name"},
    {F::CommonJointNameObj_4_PrintName, "CBJointName_4_Name"},
    {F::CommonJointNameObj_1_HonorificTitle, "CBJointName_1_Title"},
    {F::CommonJointNameObj_2_HonorificTitle, "CBJointName_2_Title"},
    {F::CommonJointNameObj_3_HonorificTitle, "CBJointName_3_Title"},
    {F::CommonJointNameObj_4_HonorificTitle, "CBJointName_4_Title"},
    {F::CommonInsertStr_1, "CBInsertStr_1"},
    {F::CommonInsertStr_2, "CBInsertStr_2"},
    {F::CommonInsertStr_3, "CBInsertStr_3"},
    {F::CommonInsertStr_4, "CBInsertStr_4"},
    {F::CommonMemo, "CBMemo"},
    {F::CommonHistoryOneLine, "CBHistory"},
};

}  // namespace

const TRecordField* ExportColumnField(int column) {
    if (column < 0 || column >= kExportColumnCount) return nullptr;
    return &RecordField(kColumns[column].Field);
}

const std::vector<TExportColumn>& ExportColumns() {
    static const std::vector<TExportColumn> columns = [] {
        std::vector<TExportColumn> c;
        for (const ExportColumn& column : kColumns) {
            const TRecordField& f = RecordField(column.Field);
            c.push_back({column.CheckBox, f.ExportCaption.toString(), f.CsvCaption.toString()});
        }
        return c;
    }();
    return columns;
}

QString ImportDestinationOfExportColumn(int column) {
    const TRecordField* f = ExportColumnField(column);
    if (!f || ImportDestinationIndex(f->CsvCaption.toString()) < 0) return QString();
    return f->CsvCaption.toString();
}

QString ExportValue(const TUserInfo& r, int column, QDate today) {
    const TRecordField* f = ExportColumnField(column);
    return f ? f->ExportText(r, today) : QString();
}

QString QuoteCsvValue(const QString& value, bool lone) {
    if (value.isEmpty()) return lone ? QStringLiteral("\"\"") : QString();
    bool quote = false;
    for (QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u',' || u == u'"' || u == u' ' || (u >= 1 && u <= 31)) {
            quote = true;
            break;
        }
    }
    if (!quote) return value;
    QString out;
    out.reserve(value.size() + 2);
    out += u'"';
    for (QChar c : value) {
        if (c == u'"') out += u'"';
        out += c;
    }
    out += u'"';
    return out;
}

TExportResult ComposeCsv(const TUserInfoList& book, const TExportOptions& o, QDate today) {
    const auto& columns = ExportColumns();
    const bool lone = o.Columns.size() == 1;
    QString text;
    auto addLine = [&](auto valueOf) {
        bool first = true;
        for (int c : o.Columns) {
            if (!first) text += u',';
            first = false;
            text += QuoteCsvValue(valueOf(c), lone);
        }
        text += QLatin1String("\r\n");
    };
    if (o.Header) addLine([&](int c) { return columns[c].Header; });
    TExportResult result;
    if (o.Utf8) result.Bytes = QByteArrayLiteral("\xEF\xBB\xBF");
    // Encode in slices so that the text held at once stays small.
    auto flush = [&] {
        if (o.Utf8) {
            result.Bytes += text.toUtf8();
        } else {
            QList<qsizetype> bad;
            result.Bytes += EncodeCp932(text, &bad);
            result.Unencodable += static_cast<int>(bad.size());
        }
        text.clear();
    };
    for (int i = 0; i < book.Count(); ++i) {
        const TUserInfo& r = *book.Item(i);
        addLine([&](int c) { return ExportValue(r, c, today); });
        if (text.size() > (1 << 16)) flush();
        if (o.Progress) o.Progress(i);
    }
    flush();
    return result;
}

bool ParseExportColumns(const QString& text, std::vector<int>* columns, QString* error) {
    std::vector<bool> on(kExportColumnCount, false);
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const qsizetype dash = part.indexOf(u'-');
        bool ok1 = false, ok2 = false;
        const int from = (dash < 0 ? part : part.left(dash)).trimmed().toInt(&ok1);
        const int to = dash < 0 ? from : part.mid(dash + 1).trimmed().toInt(&ok2);
        if (!ok1 || (dash >= 0 && !ok2) || from < 1 || to > kExportColumnCount || from > to) {
            *error = QStringLiteral("列番号は 1 から %1 で指定してください: %2")
                         .arg(kExportColumnCount)
                         .arg(part);
            return false;
        }
        for (int c = from; c <= to; ++c) on[c - 1] = true;
    }
    columns->clear();
    for (int c = 0; c < kExportColumnCount; ++c)
        if (on[c]) columns->push_back(c);
    return true;
}

}  // namespace q2
