// Finding and settling the records an import would add twice.
#include "ImportDuplicates.h"

#include <QHash>
#include <memory>

#include "exchange/CsvImport.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

QString ReadingKey(const TUserInfo& r) {
    QString k = ToKatakana(ToFullWidth(r.PerSonalKana_1 + r.PerSonalKana_2));
    k.remove(u' ');
    k.remove(QChar(0x3000));
    return k;
}

QString ZipKey(const QString& first, const QString& second) {
    QString z;
    for (QChar c : ToHalfWidth(first + second))
        if (c.isDigit()) z.append(c);
    return z.size() >= 3 ? z : QString();
}

QString MailKey(const QString& mail) {
    const QString m = ToHalfWidth(mail).trimmed().toLower();
    return m.contains(u'@') ? m : QString();
}

// The digits of a number without its extension: "03-1234-5678 内線102" and
// "0312345678" are one number.
QString TelKey(const QString& tel) {
    QString t = ToHalfWidth(tel);
    const qsizetype ext = t.indexOf(QStringLiteral("内線"));
    if (ext >= 0) t.truncate(ext);
    QString digits;
    for (QChar c : t)
        if (c.isDigit()) digits.append(c);
    return digits.size() >= 6 ? digits : QString();
}

QStringList KeysOf(const TUserInfo& r) {
    QStringList keys;
    const QString reading = ReadingKey(r);
    if (!reading.isEmpty()) {
        for (const QString& zip :
             {ZipKey(r.PerSonalZip_1, r.PerSonalZip_2), ZipKey(r.OfficeZip_1, r.OfficeZip_2)})
            if (!zip.isEmpty()) keys << QStringLiteral("R:") + reading + u'|' + zip;
    }
    for (const QString* m :
         {&r.PerSonalMail_1, &r.PerSonalMail_2, &r.OfficeMail_1, &r.OfficeMail_2})
        if (const QString k = MailKey(*m); !k.isEmpty()) keys << QStringLiteral("M:") + k;
    for (const QString* t : {&r.PerSonalTel_1, &r.PerSonalTel_2, &r.OfficeTel_1, &r.OfficeTel_2})
        if (const QString k = TelKey(*t); !k.isEmpty()) keys << QStringLiteral("T:") + k;
    return keys;
}

QString NameOf(const TUserInfo& r) {
    QString n = (r.PerSonalName_1 + u' ' + r.PerSonalName_2).trimmed();
    return n.isEmpty() ? r.OfficeName : n;
}

}  // namespace

std::vector<TDuplicate> FindDuplicates(const std::vector<TUserInfo>& incoming,
                                       const TUserInfoList& book) {
    // Key → the first record holding it: book records as themselves, incoming
    // ones after them.
    QHash<QString, int> first;
    const int n = book.Count();
    for (int i = 0; i < n; ++i)
        for (const QString& k : KeysOf(*book.Item(i)))
            if (!first.contains(k)) first.insert(k, i);
    std::vector<TDuplicate> out(incoming.size());
    for (size_t row = 0; row < incoming.size(); ++row) {
        const QStringList keys = KeysOf(incoming[row]);
        int match = -1;
        for (const QString& k : keys) {
            const auto it = first.constFind(k);
            if (it != first.constEnd() && (match < 0 || *it < match)) match = *it;
        }
        if (match >= 0 && match < n)
            out[row].BookIndex = match;
        else if (match >= n)
            out[row].EarlierRow = match - n;
        for (const QString& k : keys)
            if (!first.contains(k)) first.insert(k, n + static_cast<int>(row));
    }
    return out;
}

QString DuplicateDescription(const TDuplicate& d, const TUserInfoList& book, int firstRowNumber) {
    if (d.BookIndex >= 0 && d.BookIndex < book.Count())
        return QStringLiteral("既存の記録「%1」と重複しています")
            .arg(NameOf(*book.Item(d.BookIndex)));
    if (d.EarlierRow >= 0)
        return QStringLiteral("%1件目と重複しています").arg(d.EarlierRow + firstRowNumber);
    return {};
}

const QStringList& DuplicateActionNames() {
    static const QStringList names = {QStringLiteral("追加する"), QStringLiteral("スキップ"),
                                      QStringLiteral("既存の記録を更新")};
    return names;
}

QString ImportSummaryMessage(const TImportSummary& s) {
    QString text = QStringLiteral("%1件の追加を完了しました").arg(s.Added);
    if (s.Skipped > 0 || s.Updated > 0)
        text += QStringLiteral("（スキップ %1件、更新 %2件）").arg(s.Skipped).arg(s.Updated);
    return text;
}

void UpdateRecordFrom(TUserInfo& existing, const TUserInfo& imported) {
    TUserInfo blank;
    ApplyImportDefaults(blank, imported.CommonRegistDate);
    // Halves travel together: a new postal code replaces both boxes.
    using Group = std::initializer_list<QString TUserInfo::*>;
    const Group groups[] = {
        {&TUserInfo::PerSonalKana_1, &TUserInfo::PerSonalKana_2},
        {&TUserInfo::PerSonalName_1, &TUserInfo::PerSonalName_2},
        {&TUserInfo::PerSonalHonorificTitle},
        {&TUserInfo::PerSonalZip_1, &TUserInfo::PerSonalZip_2},
        {&TUserInfo::PerSonalAddress_1, &TUserInfo::PerSonalAddress_2},
        {&TUserInfo::PerSonalTel_1},
        {&TUserInfo::PerSonalTel_2},
        {&TUserInfo::PerSonalMail_1},
        {&TUserInfo::PerSonalMail_2},
        {&TUserInfo::PerSonalHomePage},
        {&TUserInfo::OfficeKana},
        {&TUserInfo::OfficeName},
        {&TUserInfo::OfficeZip_1, &TUserInfo::OfficeZip_2},
        {&TUserInfo::OfficeAddress_1, &TUserInfo::OfficeAddress_2},
        {&TUserInfo::OfficeTel_1},
        {&TUserInfo::OfficeTel_2},
        {&TUserInfo::OfficeMail_1},
        {&TUserInfo::OfficeMail_2},
        {&TUserInfo::OfficeHomePage},
        {&TUserInfo::OfficePost},
        {&TUserInfo::OfficeOfficialPosition},
        {&TUserInfo::CommonMemo},
        {&TUserInfo::CommonCategory_1},
        {&TUserInfo::CommonCategory_2},
        {&TUserInfo::CommonInsertStr_1},
        {&TUserInfo::CommonInsertStr_2},
        {&TUserInfo::CommonInsertStr_3},
        {&TUserInfo::CommonInsertStr_4},
    };
    for (const Group& g : groups) {
        bool filled = false;
        for (auto m : g) filled |= imported.*m != blank.*m;
        if (filled)
            for (auto m : g) existing.*m = imported.*m;
    }
    if (imported.PersonalSex != TThSex::tsNone) existing.PersonalSex = imported.PersonalSex;
    if (imported.HasBirthday()) existing.CommonBirthday = imported.CommonBirthday;
    for (int i = 0; i < 4; ++i)
        if (imported.JointName(i) != blank.JointName(i))
            existing.JointName(i) = imported.JointName(i);
    for (int i = 0; i < imported.CommonHistoryObjectList.Count(); ++i) {
        const THistoryObject& h = imported.CommonHistoryObjectList.Item(i);
        bool known = false;
        for (int j = 0; j < existing.CommonHistoryObjectList.Count() && !known; ++j)
            known = existing.CommonHistoryObjectList.Item(j) == h;
        if (!known) existing.CommonHistoryObjectList.Add(h);
    }
    if (!imported.CommonImg_1.IsEmpty()) existing.CommonImg_1 = imported.CommonImg_1;
    // The side to print on follows the addresses the record now has.
    FinishImportedRecord(existing);
}

TImportSummary ApplyImport(std::vector<TUserInfo>&& incoming, const std::vector<TDuplicate>& dups,
                           const std::vector<TDuplicateAction>& actions, TUserInfoList& book,
                           const std::function<void(int)>& progress) {
    TImportSummary s;
    // The book record each incoming row ended up as, for later rows that
    // duplicate it; -1 when none.
    std::vector<int> became(incoming.size(), -1);
    for (size_t row = 0; row < incoming.size(); ++row) {
        const TDuplicate d = row < dups.size() ? dups[row] : TDuplicate();
        int target = d.BookIndex;
        if (target < 0 && d.EarlierRow >= 0 && static_cast<size_t>(d.EarlierRow) < row)
            target = became[d.EarlierRow];
        const TDuplicateAction a =
            d.IsDuplicate() && row < actions.size() ? actions[row] : TDuplicateAction::Add;
        if (a == TDuplicateAction::Skip) {
            became[row] = target;
            ++s.Skipped;
        } else if (a == TDuplicateAction::Update && target >= 0) {
            UpdateRecordFrom(*book.Item(target), incoming[row]);
            became[row] = target;
            ++s.Updated;
        } else {
            // Updating a record that was itself skipped without a target
            // leaves nothing to update: the row is added.
            book.Add(std::make_unique<TUserInfo>(std::move(incoming[row])));
            became[row] = book.Count() - 1;
            ++s.Added;
        }
        if (progress) progress(static_cast<int>(row));
    }
    incoming.clear();
    return s;
}

}  // namespace q2
