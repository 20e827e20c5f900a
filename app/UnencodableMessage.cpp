// Builds the save question about texts the file cannot hold.
#include "app/UnencodableMessage.h"

#include <QHash>
#include <QRegularExpression>

#include "platform/Cp932.h"

namespace q2 {
namespace {

const QHash<QString, QString>& Labels() {
    static const QHash<QString, QString> labels = {
        {"Password", "ファイルのパスワード"},
        {"PerSonalKana_1", "フリガナ(姓)"},
        {"PerSonalKana_2", "フリガナ(名)"},
        {"PerSonalName_1", "名前(姓)"},
        {"PerSonalName_2", "名前(名)"},
        {"PerSonalHonorificTitle", "敬称"},
        {"PerSonalZip_1", "郵便番号"},
        {"PerSonalZip_2", "郵便番号"},
        {"PerSonalAddress_1", "住所１"},
        {"PerSonalAddress_2", "住所２"},
        {"PerSonalTel_1", "電話"},
        {"PerSonalTel_2", "電話/FAX"},
        {"PerSonalMail_1", "メール１"},
        {"PerSonalMail_2", "メール２"},
        {"PerSonalHomePage", "HP"},
        {"OfficeKana", "会社名フリガナ"},
        {"OfficeName", "会社名"},
        {"OfficeZip_1", "会社郵便番号"},
        {"OfficeZip_2", "会社郵便番号"},
        {"OfficeAddress_1", "会社住所１"},
        {"OfficeAddress_2", "会社住所２"},
        {"OfficeTel_1", "会社電話"},
        {"OfficeTel_2", "会社電話/FAX"},
        {"OfficeMail_1", "会社メール１"},
        {"OfficeMail_2", "会社メール２"},
        {"OfficeHomePage", "会社HP"},
        {"OfficePost", "部署"},
        {"OfficeOfficialPosition", "役職"},
        {"CommonMemo", "備考"},
        {"CommonCategory_1", "分類１"},
        {"CommonCategory_2", "分類２"},
        {"CommonInsertStr_1", "差込1"},
        {"CommonInsertStr_2", "差込2"},
        {"CommonInsertStr_3", "差込3"},
        {"CommonInsertStr_4", "差込4"},
    };
    return labels;
}

// The characters of `text` that would be lost, each once, in order.
QString LostCharacters(const QString& text) {
    QList<qsizetype> at;
    EncodeCp932(text, &at);
    QString out;
    for (qsizetype i : at) {
        QString c = text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
        if (!out.contains(c)) out += (out.isEmpty() ? QString() : QStringLiteral(" ")) + c;
    }
    return out;
}

}  // namespace

QString FieldLabel(const QString& name) {
    const auto it = Labels().constFind(name);
    if (it != Labels().constEnd()) return *it;
    static const QRegularExpression joint(QStringLiteral("^CommonJointNameObj_(\\d)\\.(\\w+)$"));
    static const QRegularExpression history(
        QStringLiteral("^CommonHistoryObjectList\\[(\\d+)\\]\\.(\\w+)$"));
    if (const auto m = joint.match(name); m.hasMatch())
        return QStringLiteral("連名%1%2")
            .arg(m.captured(1), m.captured(2) == QLatin1String("PrintName")
                                    ? QString()
                                    : QStringLiteral("の敬称"));
    if (const auto m = history.match(name); m.hasMatch())
        return QStringLiteral("履歴%1の%2")
            .arg(m.captured(1).toInt() + 1)
            .arg(m.captured(2) == QLatin1String("HistoryTitle") ? QStringLiteral("項目")
                                                                : QStringLiteral("内容"));
    return name;
}

QString UnencodableQuestion(const TUserInfoList& book, const QList<TUnencodableField>& fields) {
    constexpr int kListed = 10;
    QString lines;
    for (int i = 0; i < fields.size() && i < kListed; ++i) {
        const TUnencodableField& f = fields[i];
        QString where;
        if (f.Record < 0) {
            where = FieldLabel(f.Field);
        } else {
            const TUserInfo& r = *book.Item(f.Record);
            QString name = r.PersonalFullName().trimmed();
            if (name.isEmpty()) name = r.OfficeName.trimmed();
            where = name.isEmpty()
                        ? QStringLiteral("%1件目の%2").arg(f.Record + 1).arg(FieldLabel(f.Field))
                        : QStringLiteral("%1件目「%2」の%3")
                              .arg(f.Record + 1)
                              .arg(name, FieldLabel(f.Field));
        }
        lines += QStringLiteral("・%1：%2\n").arg(where, LostCharacters(f.Text));
    }
    if (fields.size() > kListed)
        lines += QStringLiteral("・ほか%1箇所\n").arg(fields.size() - kListed);
    return QStringLiteral("次の項目には住所録ファイルに保存できない文字が含まれています。\n") +
           lines +
           QStringLiteral(
               "このまま保存すると、これらの文字は「?」に置き換わります。保存してよろしいですか？");
}

}  // namespace q2
