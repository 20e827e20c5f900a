// Column titles of the CSV layouts users bring, and the mapping they suggest.
#include "CsvHeaderMapping.h"

#include <QRegularExpression>
#include <algorithm>
#include <map>

#include "exchange/CsvExport.h"
#include "exchange/CsvReader.h"
#include "exchange/VcardImport.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

// Columns whose values are joined into one destination.
enum class Group { None, Name, Reading, HomeLine1, HomeLine2, WorkLine1, WorkLine2, Birthday };

struct GroupInfo {
    const char16_t* Destination;
    TDerivedColumn::Kind How;
    const char16_t* Separator;
    const char16_t* Title;
};

const GroupInfo& InfoOf(Group g) {
    static const GroupInfo info[] = {
        {u"", TDerivedColumn::Kind::Join, u"", u""},
        {u"個人名前", TDerivedColumn::Kind::Join, u"　", u"（姓＋名）"},
        {u"個人フリガナ", TDerivedColumn::Kind::Reading, u"　", u"（フリガナ姓＋名）"},
        {u"個人住所１", TDerivedColumn::Kind::Join, u"", u"（自宅 都道府県＋市区町村＋番地）"},
        {u"個人住所２", TDerivedColumn::Kind::Join, u" ", u"（自宅 建物など）"},
        {u"会社住所１", TDerivedColumn::Kind::Join, u"", u"（会社 都道府県＋市区町村＋番地）"},
        {u"会社住所２", TDerivedColumn::Kind::Join, u" ", u"（会社 建物など）"},
        {u"生年月日", TDerivedColumn::Kind::Date, u"", u"（生年月日 yyyy/mm/dd）"},
    };
    return info[static_cast<int>(g)];
}

// A title's meaning: a destination of its own, or a part of a group.
struct Role {
    QString Destination;
    Group Part = Group::None;
    int Order = 0;
};

Role D(const char16_t* destination) { return {QString::fromUtf16(destination), Group::None, 0}; }
Role P(Group g, int order) { return {QString(), g, order}; }

// Titles compared without spaces, ASCII letter case or width, and with
// hiragana read as katakana: "ふりがな" and "フリガナ", "住所１" and "住所1".
QString Normalized(const QString& title) {
    QString out;
    const QString t = ToKatakana(title);
    for (QChar c : t) {
        char16_t u = c.unicode();
        if (u == u' ' || u == 0x3000 || u == u'"' || u == u'_') continue;
        if (u >= 0xFF01 && u <= 0xFF5E) u = char16_t(u - 0xFEE0);  // full-width ASCII
        if (u >= u'A' && u <= u'Z') u = char16_t(u + 32);
        out.append(QChar(u));
    }
    return out;
}

struct Layout {
    QString Name;
    std::map<QString, Role> Titles;
};

Layout MakeLayout(const QString& name, std::initializer_list<std::pair<const char16_t*, Role>> titles) {
    Layout l{name, {}};
    for (const auto& [title, role] : titles) l.Titles.emplace(Normalized(QString::fromUtf16(title)), role);
    return l;
}

const std::vector<Layout>& Layouts() {
    static const std::vector<Layout> layouts = [] {
        std::vector<Layout> all;
        // This program's own export: the 43 header texts.
        Layout own{QStringLiteral("本ソフトのエクスポート"), {}};
        for (int c = 0; c < kExportColumnCount; ++c)
            own.Titles.emplace(Normalized(ExportColumns()[c].Header),
                               Role{ImportDestinationOfExportColumn(c), Group::None, 0});
        all.push_back(std::move(own));

        all.push_back(MakeLayout(
            QStringLiteral("Googleコンタクト"),
            {{u"Name", D(u"個人名前")},
             {u"Family Name", P(Group::Name, 0)},
             {u"Given Name", P(Group::Name, 1)},
             {u"Last Name", P(Group::Name, 0)},
             {u"First Name", P(Group::Name, 1)},
             {u"Family Name Yomi", P(Group::Reading, 0)},
             {u"Given Name Yomi", P(Group::Reading, 1)},
             {u"Phonetic Last Name", P(Group::Reading, 0)},
             {u"Phonetic First Name", P(Group::Reading, 1)},
             {u"Birthday", P(Group::Birthday, 0)},
             {u"Gender", D(u"性別")},
             {u"Notes", D(u"備考")},
             {u"E-mail 1 - Value", D(u"個人メール１")},
             {u"E-mail 2 - Value", D(u"個人メール２")},
             {u"Phone 1 - Value", D(u"個人電話")},
             {u"Phone 2 - Value", D(u"個人電話/FAX")},
             {u"Address 1 - Region", P(Group::HomeLine1, 0)},
             {u"Address 1 - City", P(Group::HomeLine1, 1)},
             {u"Address 1 - Street", P(Group::HomeLine1, 2)},
             {u"Address 1 - Extended Address", P(Group::HomeLine2, 0)},
             {u"Address 1 - PO Box", P(Group::HomeLine2, 1)},
             {u"Address 1 - Postal Code", D(u"個人郵便番号")},
             {u"Address 2 - Region", P(Group::WorkLine1, 0)},
             {u"Address 2 - City", P(Group::WorkLine1, 1)},
             {u"Address 2 - Street", P(Group::WorkLine1, 2)},
             {u"Address 2 - Extended Address", P(Group::WorkLine2, 0)},
             {u"Address 2 - PO Box", P(Group::WorkLine2, 1)},
             {u"Address 2 - Postal Code", D(u"会社郵便番号")},
             {u"Organization Name", D(u"会社名")},
             {u"Organization Title", D(u"会社役職")},
             {u"Organization Department", D(u"会社部署")},
             {u"Organization 1 - Name", D(u"会社名")},
             {u"Organization 1 - Yomi Name", D(u"会社フリガナ")},
             {u"Organization 1 - Title", D(u"会社役職")},
             {u"Organization 1 - Department", D(u"会社部署")},
             {u"Website 1 - Value", D(u"個人ホームページ")}}));

        all.push_back(MakeLayout(
            QStringLiteral("Outlook"),
            {{u"姓", P(Group::Name, 0)},
             {u"名", P(Group::Name, 1)},
             {u"姓 (フリガナ)", P(Group::Reading, 0)},
             {u"名 (フリガナ)", P(Group::Reading, 1)},
             {u"フリガナ (姓)", P(Group::Reading, 0)},
             {u"フリガナ (名)", P(Group::Reading, 1)},
             {u"敬称", D(u"個人敬称")},
             {u"会社名", D(u"会社名")},
             {u"会社名 (フリガナ)", D(u"会社フリガナ")},
             {u"フリガナ (会社名)", D(u"会社フリガナ")},
             {u"部署", D(u"会社部署")},
             {u"役職", D(u"会社役職")},
             {u"都道府県 (会社)", P(Group::WorkLine1, 0)},
             {u"市町村 (会社)", P(Group::WorkLine1, 1)},
             {u"番地 (会社)", P(Group::WorkLine1, 2)},
             {u"番地 2 (会社)", P(Group::WorkLine2, 0)},
             {u"番地 3 (会社)", P(Group::WorkLine2, 1)},
             {u"郵便番号 (会社)", D(u"会社郵便番号")},
             {u"都道府県 (自宅)", P(Group::HomeLine1, 0)},
             {u"市町村 (自宅)", P(Group::HomeLine1, 1)},
             {u"番地 (自宅)", P(Group::HomeLine1, 2)},
             {u"番地 2 (自宅)", P(Group::HomeLine2, 0)},
             {u"番地 3 (自宅)", P(Group::HomeLine2, 1)},
             {u"郵便番号 (自宅)", D(u"個人郵便番号")},
             {u"会社電話", D(u"会社電話")},
             {u"会社 FAX", D(u"会社電話/FAX")},
             {u"自宅電話", D(u"個人電話")},
             {u"自宅 FAX", D(u"個人電話/FAX")},
             {u"誕生日", P(Group::Birthday, 0)},
             {u"性別", D(u"性別")},
             {u"電子メール アドレス", D(u"個人メール１")},
             {u"電子メール 2 アドレス", D(u"個人メール２")},
             {u"メモ", D(u"備考")},
             {u"分類", D(u"分類１")},
             {u"Web ページ", D(u"個人ホームページ")}}));

        all.push_back(MakeLayout(
            QStringLiteral("住所録"),
            {{u"氏名", D(u"個人名前")},      {u"名前", D(u"個人名前")},
             {u"お名前", D(u"個人名前")},    {u"ふりがな", D(u"個人フリガナ")},
             {u"よみがな", D(u"個人フリガナ")}, {u"読み", D(u"個人フリガナ")},
             {u"敬称", D(u"個人敬称")},      {u"郵便番号", D(u"個人郵便番号")},
             {u"〒", D(u"個人郵便番号")},    {u"住所", D(u"個人住所１")},
             {u"住所1", D(u"個人住所１")},   {u"住所2", D(u"個人住所２")},
             {u"電話", D(u"個人電話")},      {u"電話番号", D(u"個人電話")},
             {u"TEL", D(u"個人電話")},       {u"FAX", D(u"個人電話/FAX")},
             {u"メール", D(u"個人メール１")}, {u"メールアドレス", D(u"個人メール１")},
             {u"E-mail", D(u"個人メール１")}, {u"会社名", D(u"会社名")},
             {u"部署", D(u"会社部署")},      {u"役職", D(u"会社役職")},
             {u"誕生日", P(Group::Birthday, 0)}, {u"生年月日", P(Group::Birthday, 0)},
             {u"性別", D(u"性別")},          {u"分類", D(u"分類１")},
             {u"備考", D(u"備考")},          {u"メモ", D(u"備考")},
             {u"連名", D(u"連名１名前")}}));
        return all;
    }();
    return layouts;
}

// Destinations that say who a record is: a header needs one of them.
bool NamesSomeone(const QString& destination) {
    return destination == u"個人名前" || destination == u"個人フリガナ" || destination == u"会社名";
}

QString DerivedValue(const TDerivedColumn& d, const QStringList& fields) {
    QStringList parts;
    for (int s : d.Sources) {
        QString v = fields.value(s).trimmed();
        v.replace(QLatin1String("\r\n"), QLatin1String(" "));
        v.replace(u'\n', u' ');
        if (!v.isEmpty()) parts << v;
    }
    QString v = parts.join(d.Separator);
    switch (d.How) {
        case TDerivedColumn::Kind::Join:
            return v;
        case TDerivedColumn::Kind::Reading:
            return ReadingToKatakana(v);
        case TDerivedColumn::Kind::Date: {
            // "1970-01-05" and "1970-01-05T00:00:00" as the import reads dates.
            const qsizetype cut = v.indexOf(QRegularExpression(QStringLiteral("[T ]")));
            if (cut > 0) v.truncate(cut);
            v.replace(u'-', u'/');
            return v;
        }
    }
    return v;
}

}  // namespace

std::optional<THeaderProposal> ProposeCsvMapping(const QStringList& header) {
    std::optional<THeaderProposal> best;
    int bestMatched = 0;
    for (const Layout& layout : Layouts()) {
        THeaderProposal p;
        p.Layout = layout.Name;
        p.OriginalColumns = static_cast<int>(header.size());
        p.Mapping.assign(header.size(), -1);
        std::map<Group, std::vector<std::pair<int, int>>> parts;  // group → (order, column)
        std::vector<bool> used(ImportDestinations().size(), false);
        int matched = 0;
        bool someone = false;
        QStringList titles;
        for (const QString& h : header) titles << Normalized(h);
        for (int c = 0; c < header.size(); ++c) {
            const auto it = layout.Titles.find(titles[c]);
            if (it == layout.Titles.end()) continue;
            // A title written twice (Outlook's 敬称 before and after the
            // name): the last one is the one that belongs to the name.
            if (titles.lastIndexOf(titles[c]) != c) continue;
            ++matched;
            const Role& role = it->second;
            if (role.Part != Group::None) {
                parts[role.Part].emplace_back(role.Order, c);
                someone |= NamesSomeone(QString::fromUtf16(InfoOf(role.Part).Destination));
                continue;
            }
            const QString& dest = role.Destination;
            const int d = ImportDestinationIndex(dest);
            someone |= NamesSomeone(dest);
            // A destination stands at one column only: the first keeps it.
            if (d < 0 || used[d]) continue;
            used[d] = true;
            p.Mapping[c] = d;
        }
        for (auto& [group, columns] : parts) {
            const GroupInfo& info = InfoOf(group);
            const int d = ImportDestinationIndex(QString::fromUtf16(info.Destination));
            // Joined parts take the destination from a single column.
            for (int& m : p.Mapping)
                if (m == d) m = -1;
            std::stable_sort(columns.begin(), columns.end());
            TDerivedColumn derived;
            derived.How = info.How;
            derived.Separator = QString::fromUtf16(info.Separator);
            derived.Title = QString::fromUtf16(info.Title);
            for (const auto& oc : columns) derived.Sources.push_back(oc.second);
            p.Derived.push_back(derived);
            p.Mapping.push_back(d);
        }
        if (matched >= 2 && someone && matched > bestMatched) {
            bestMatched = matched;
            best = std::move(p);
        }
    }
    return best;
}

void AppendDerivedColumns(QStringList& records, const THeaderProposal& proposal) {
    if (proposal.Derived.empty()) return;
    for (qsizetype i = 0; i < records.size(); ++i) {
        QStringList fields = SplitCsvFields(records[i]);
        while (fields.size() < proposal.OriginalColumns) fields << QString();
        const QStringList original = fields;
        for (const TDerivedColumn& d : proposal.Derived)
            fields << (i == 0 ? d.Title : DerivedValue(d, original));
        QStringList quoted;
        quoted.reserve(fields.size());
        for (const QString& f : fields) quoted << QuoteCsvValue(f, false);
        records[i] = quoted.join(u',');
    }
}

}  // namespace q2
