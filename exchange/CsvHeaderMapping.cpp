// Column titles of the CSV layouts users bring, and the mapping they suggest.
#include "CsvHeaderMapping.h"

#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <tuple>

#include "exchange/CsvExport.h"
#include "exchange/CsvReader.h"
#include "exchange/VcardImport.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

// Columns whose values are joined into one destination.
enum class Group {
    None,
    Name,
    Reading,
    HomeLine1,
    HomeLine2,
    WorkLine1,
    WorkLine2,
    Birthday,
    HomeTel,  // numbered values picked into the side's two fields
    WorkTel,
    Categories,  // lists split into 分類１ and 分類２
};

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
        {u"個人電話", TDerivedColumn::Kind::Pick, u"", u"（自宅の電話）"},
        {u"会社電話", TDerivedColumn::Kind::Pick, u"", u"（会社の電話）"},
        {u"分類１", TDerivedColumn::Kind::Category, u";", u"（分類）"},
    };
    return info[static_cast<int>(g)];
}

// A title's meaning: a destination of its own, or a part of a group.
struct Role {
    QString Destination;
    Group Part = Group::None;
    int Order = 0;
    bool Fax = false;
};

Role D(const char16_t* destination) { return {QString::fromUtf16(destination), Group::None, 0}; }
Role P(Group g, int order) { return {QString(), g, order}; }
Role Fax(Group g, int order) {
    return {QString(), g, order, true};
}

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

        // The numbered columns ("Phone 1 - Value", "Address 2 - City" …) are
        // read by GoogleSlots(): their side comes from each record's label.
        all.push_back(MakeLayout(QStringLiteral("Googleコンタクト"),
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
                                  {u"Labels", P(Group::Categories, 0)},
                                  {u"Group Membership", P(Group::Categories, 0)},
                                  {u"Organization Name", D(u"会社名")},
                                  {u"Organization Title", D(u"会社役職")},
                                  {u"Organization Department", D(u"会社部署")},
                                  {u"Organization 1 - Name", D(u"会社名")},
                                  {u"Organization 1 - Yomi Name", D(u"会社フリガナ")},
                                  {u"Organization 1 - Title", D(u"会社役職")},
                                  {u"Organization 1 - Department", D(u"会社部署")},
                                  {u"Website 1 - Value", D(u"個人ホームページ")}}));

        // Outlook writes "姓フリガナ" and "住所 2 (自宅)"; some converters and
        // older versions "姓 (フリガナ)" and "番地 2 (自宅)": both are read.
        all.push_back(
            MakeLayout(QStringLiteral("Outlook"), {{u"姓", P(Group::Name, 0)},
                                                   {u"名", P(Group::Name, 1)},
                                                   {u"姓フリガナ", P(Group::Reading, 0)},
                                                   {u"名前フリガナ", P(Group::Reading, 1)},
                                                   {u"名フリガナ", P(Group::Reading, 1)},
                                                   {u"姓 (フリガナ)", P(Group::Reading, 0)},
                                                   {u"名 (フリガナ)", P(Group::Reading, 1)},
                                                   {u"フリガナ (姓)", P(Group::Reading, 0)},
                                                   {u"フリガナ (名)", P(Group::Reading, 1)},
                                                   {u"敬称", D(u"個人敬称")},
                                                   {u"会社名", D(u"会社名")},
                                                   {u"会社名フリガナ", D(u"会社フリガナ")},
                                                   {u"会社名 (フリガナ)", D(u"会社フリガナ")},
                                                   {u"フリガナ (会社名)", D(u"会社フリガナ")},
                                                   {u"部署", D(u"会社部署")},
                                                   {u"役職", D(u"会社役職")},
                                                   {u"都道府県 (会社)", P(Group::WorkLine1, 0)},
                                                   {u"市町村 (会社)", P(Group::WorkLine1, 1)},
                                                   {u"番地 (会社)", P(Group::WorkLine1, 2)},
                                                   {u"住所 2 (会社)", P(Group::WorkLine2, 0)},
                                                   {u"住所 3 (会社)", P(Group::WorkLine2, 1)},
                                                   {u"番地 2 (会社)", P(Group::WorkLine2, 0)},
                                                   {u"番地 3 (会社)", P(Group::WorkLine2, 1)},
                                                   {u"郵便番号 (会社)", D(u"会社郵便番号")},
                                                   {u"都道府県 (自宅)", P(Group::HomeLine1, 0)},
                                                   {u"市町村 (自宅)", P(Group::HomeLine1, 1)},
                                                   {u"番地 (自宅)", P(Group::HomeLine1, 2)},
                                                   {u"住所 2 (自宅)", P(Group::HomeLine2, 0)},
                                                   {u"住所 3 (自宅)", P(Group::HomeLine2, 1)},
                                                   {u"番地 2 (自宅)", P(Group::HomeLine2, 0)},
                                                   {u"番地 3 (自宅)", P(Group::HomeLine2, 1)},
                                                   {u"郵便番号 (自宅)", D(u"個人郵便番号")},
                                                   {u"会社電話", P(Group::WorkTel, 0)},
                                                   {u"会社電話 2", P(Group::WorkTel, 1)},
                                                   {u"会社代表電話", P(Group::WorkTel, 2)},
                                                   {u"会社 FAX", Fax(Group::WorkTel, 3)},
                                                   {u"自宅電話", P(Group::HomeTel, 0)},
                                                   {u"携帯電話", P(Group::HomeTel, 1)},
                                                   {u"自宅電話 2", P(Group::HomeTel, 2)},
                                                   {u"自宅 FAX", Fax(Group::HomeTel, 3)},
                                                   {u"誕生日", P(Group::Birthday, 0)},
                                                   {u"性別", D(u"性別")},
                                                   {u"電子メール アドレス", D(u"個人メール１")},
                                                   {u"電子メール 2 アドレス", D(u"個人メール２")},
                                                   {u"メモ", D(u"備考")},
                                                   {u"分類", P(Group::Categories, 0)},
                                                   {u"Web ページ", D(u"個人ホームページ")}}));

        // はがきデザインキット's address book export.
        all.push_back(MakeLayout(QStringLiteral("はがきデザインキット"),
                                 {{u"氏名(姓)", P(Group::Name, 0)},
                                  {u"氏名(名)", P(Group::Name, 1)},
                                  {u"敬称", D(u"個人敬称")},
                                  {u"郵便番号(自宅欄)", D(u"個人郵便番号")},
                                  {u"自宅住所(都道府県)", P(Group::HomeLine1, 0)},
                                  {u"自宅住所(市区町村)", P(Group::HomeLine1, 1)},
                                  {u"自宅住所(番地等)", P(Group::HomeLine1, 2)},
                                  {u"自宅住所(建物名)", P(Group::HomeLine2, 0)},
                                  {u"郵便番号(会社欄)", D(u"会社郵便番号")},
                                  {u"会社住所(都道府県)", P(Group::WorkLine1, 0)},
                                  {u"会社住所(市区町村)", P(Group::WorkLine1, 1)},
                                  {u"会社住所(番地等)", P(Group::WorkLine1, 2)},
                                  {u"会社住所(建物名)", P(Group::WorkLine2, 0)},
                                  {u"会社名", D(u"会社名")},
                                  {u"部署名", D(u"会社部署")},
                                  {u"役職名", D(u"会社役職")},
                                  {u"連名1(名:自宅欄)", D(u"連名１名前")},
                                  {u"連名1(敬称:自宅欄)", D(u"連名１敬称")},
                                  {u"連名2(名:自宅欄)", D(u"連名２名前")},
                                  {u"連名2(敬称:自宅欄)", D(u"連名２敬称")},
                                  {u"連名3(名:自宅欄)", D(u"連名３名前")},
                                  {u"連名3(敬称:自宅欄)", D(u"連名３敬称")},
                                  {u"カテゴリ", P(Group::Categories, 0)}}));

        all.push_back(MakeLayout(QStringLiteral("住所録"), {{u"氏名", D(u"個人名前")},
                                                            {u"名前", D(u"個人名前")},
                                                            {u"お名前", D(u"個人名前")},
                                                            {u"ふりがな", D(u"個人フリガナ")},
                                                            {u"よみがな", D(u"個人フリガナ")},
                                                            {u"読み", D(u"個人フリガナ")},
                                                            {u"敬称", D(u"個人敬称")},
                                                            {u"郵便番号", D(u"個人郵便番号")},
                                                            {u"〒", D(u"個人郵便番号")},
                                                            {u"住所", D(u"個人住所１")},
                                                            {u"住所1", D(u"個人住所１")},
                                                            {u"住所2", D(u"個人住所２")},
                                                            {u"電話", P(Group::HomeTel, 0)},
                                                            {u"電話番号", P(Group::HomeTel, 0)},
                                                            {u"TEL", P(Group::HomeTel, 0)},
                                                            {u"携帯", P(Group::HomeTel, 1)},
                                                            {u"携帯電話", P(Group::HomeTel, 1)},
                                                            {u"FAX", Fax(Group::HomeTel, 2)},
                                                            {u"メール", D(u"個人メール１")},
                                                            {u"メールアドレス", D(u"個人メール１")},
                                                            {u"E-mail", D(u"個人メール１")},
                                                            {u"会社名", D(u"会社名")},
                                                            {u"部署", D(u"会社部署")},
                                                            {u"役職", D(u"会社役職")},
                                                            {u"誕生日", P(Group::Birthday, 0)},
                                                            {u"生年月日", P(Group::Birthday, 0)},
                                                            {u"性別", D(u"性別")},
                                                            {u"分類", P(Group::Categories, 0)},
                                                            {u"備考", D(u"備考")},
                                                            {u"メモ", D(u"備考")},
                                                            {u"連名", D(u"連名１名前")}}));
        return all;
    }();
    return layouts;
}

// Destinations that say who a record is: a header needs one of them.
bool NamesSomeone(const QString& destination) {
    return destination == u"個人名前" || destination == u"個人フリガナ" || destination == u"会社名";
}

QString Cleaned(const QStringList& fields, int column) {
    QString v = fields.value(column).trimmed();
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(u'\n', u' ');
    return v;
}

QString Joined(const std::vector<int>& sources, const QString& separator,
               const QStringList& fields) {
    QStringList parts;
    for (int s : sources)
        if (const QString v = Cleaned(fields, s); !v.isEmpty()) parts << v;
    return parts.join(separator);
}

bool IsFaxLabel(const QString& label) {
    return label.contains(QLatin1String("fax"), Qt::CaseInsensitive) || label.contains(u"ＦＡＸ");
}

QString DerivedValue(const TDerivedColumn& d, const QStringList& fields) {
    switch (d.How) {
        case TDerivedColumn::Kind::Join:
            return Joined(d.Sources, d.Separator, fields);
        case TDerivedColumn::Kind::Reading:
            return ReadingToKatakana(Joined(d.Sources, d.Separator, fields));
        case TDerivedColumn::Kind::Date: {
            // "1970-01-05" and "1970-01-05T00:00:00" as the import reads dates.
            QString v = Joined(d.Sources, d.Separator, fields);
            const qsizetype cut = v.indexOf(QRegularExpression(QStringLiteral("[T ]")));
            if (cut > 0) v.truncate(cut);
            v.replace(u'-', u'/');
            return v;
        }
        case TDerivedColumn::Kind::Pick: {
            QStringList plain, fax;
            for (const TDerivedSlot& slot : d.Slots) {
                const QString label =
                    slot.LabelColumn >= 0 ? Cleaned(fields, slot.LabelColumn) : QString();
                const bool work = slot.LabelColumn >= 0 ? IsWorkLabel(label) : slot.Work;
                if (work != d.Work) continue;
                const QString v = Joined(slot.Sources, d.Separator, fields);
                if (v.isEmpty()) continue;
                ((slot.LabelColumn >= 0 ? IsFaxLabel(label) : slot.Fax) ? fax : plain) << v;
            }
            return (plain + fax).value(d.Nth);
        }
        case TDerivedColumn::Kind::Category: {
            QString all = Joined(d.Sources, QStringLiteral(";"), fields);
            all.replace(QLatin1String(":::"), QLatin1String(";"));
            all.replace(u',', u';');
            all.replace(u'；', u';');
            QStringList categories;
            for (const QString& c : all.split(u';')) {
                const QString t = c.trimmed();
                // Google's own groups ("* myContacts", "* starred") say nothing.
                if (t.isEmpty() || t.startsWith(u'*')) continue;
                if (!categories.contains(t)) categories << t;
            }
            return categories.value(d.Nth);
        }
    }
    return {};
}

// A destination to fill from a derived column, instead of from any single one.
void Derive(THeaderProposal& p, const QString& destination, TDerivedColumn derived) {
    const int d = ImportDestinationIndex(destination);
    for (int& m : p.Mapping)
        if (m == d) m = -1;
    p.Derived.push_back(std::move(derived));
    p.Mapping.push_back(d);
}

TDerivedColumn MakeDerived(TDerivedColumn::Kind how, const QString& separator,
                           const QString& title) {
    TDerivedColumn c;
    c.How = how;
    c.Separator = separator;
    c.Title = title;
    return c;
}

// Google's numbered columns: each "Phone N", "E-mail N" and "Address N" is a
// slot whose side its "- Label" (older files: "- Type") names record by record.
// Returns how many columns were taken.
int GoogleSlots(const QStringList& header, THeaderProposal& p) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(E-mail|Phone|Address) (\\d+) - (.+?)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    struct Slot {
        int Label = -1;
        std::map<QString, int> Parts;  // "value", "street", "city" … → column
    };
    std::map<QString, std::map<int, Slot>> kinds;  // "phone" → number → slot
    int taken = 0;
    for (int c = 0; c < header.size(); ++c) {
        const auto m = re.match(header[c]);
        if (!m.hasMatch()) continue;
        Slot& slot = kinds[m.captured(1).toLower()][m.captured(2).toInt()];
        const QString part = m.captured(3).toLower();
        if (part == u"label" || part == u"type")
            slot.Label = c;
        else
            slot.Parts[part] = c;
        ++taken;
    }
    auto slotsOf = [&](const QString& kind, std::initializer_list<const char*> parts) {
        std::vector<TDerivedSlot> out;
        for (const auto& [number, slot] : kinds[kind]) {
            TDerivedSlot s;
            s.LabelColumn = slot.Label;
            for (const char* part : parts)
                if (const auto it = slot.Parts.find(QString::fromLatin1(part));
                    it != slot.Parts.end())
                    s.Sources.push_back(it->second);
            if (!s.Sources.empty()) out.push_back(std::move(s));
        }
        return out;
    };
    auto pick = [&](const QString& destination, const std::vector<TDerivedSlot>& slotList,
                    bool work, int nth, const QString& separator, const QString& title) {
        if (slotList.empty()) return;
        TDerivedColumn c = MakeDerived(TDerivedColumn::Kind::Pick, separator, title);
        c.Slots = slotList;
        c.Work = work;
        c.Nth = nth;
        Derive(p, destination, std::move(c));
    };
    const auto phones = slotsOf(QStringLiteral("phone"), {"value"});
    const auto mails = slotsOf(QStringLiteral("e-mail"), {"value"});
    const auto zips = slotsOf(QStringLiteral("address"), {"postal code"});
    const auto line1 = slotsOf(QStringLiteral("address"), {"region", "city", "street"});
    const auto line2 = slotsOf(QStringLiteral("address"), {"extended address", "po box"});
    for (const bool work : {false, true}) {
        const QString side = work ? QStringLiteral("会社") : QStringLiteral("個人");
        const QString where = work ? QStringLiteral("（会社の") : QStringLiteral("（自宅の");
        pick(side + QStringLiteral("電話"), phones, work, 0, {}, where + QStringLiteral("電話）"));
        pick(side + QStringLiteral("電話/FAX"), phones, work, 1, {},
             where + QStringLiteral("電話２）"));
        pick(side + QStringLiteral("メール１"), mails, work, 0, {},
             where + QStringLiteral("メール）"));
        pick(side + QStringLiteral("メール２"), mails, work, 1, {},
             where + QStringLiteral("メール２）"));
        pick(side + QStringLiteral("郵便番号"), zips, work, 0, {},
             where + QStringLiteral("郵便番号）"));
        pick(side + QStringLiteral("住所１"), line1, work, 0, {},
             where + QStringLiteral("都道府県＋市区町村＋番地）"));
        pick(side + QStringLiteral("住所２"), line2, work, 0, QStringLiteral(" "),
             where + QStringLiteral("建物など）"));
    }
    return taken;
}

}  // namespace

bool IsWorkLabel(const QString& label) {
    QString t = label.trimmed();
    if (t.startsWith(u'*')) t = t.mid(1).trimmed();
    static const QStringList work = {QStringLiteral("work"), QStringLiteral("会社"),
                                     QStringLiteral("勤務先"), QStringLiteral("職場"),
                                     QStringLiteral("仕事")};
    for (const QString& w : work)
        if (t.startsWith(w, Qt::CaseInsensitive)) return true;
    return false;
}

std::optional<THeaderProposal> ProposeCsvMapping(const QStringList& header) {
    std::optional<THeaderProposal> best;
    int bestMatched = 0;
    for (const Layout& layout : Layouts()) {
        THeaderProposal p;
        p.Layout = layout.Name;
        p.OriginalColumns = static_cast<int>(header.size());
        p.Mapping.assign(header.size(), -1);
        std::map<Group, std::vector<std::tuple<int, int, bool>>>
            parts;  // group → (order, column, fax)
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
                parts[role.Part].emplace_back(role.Order, c, role.Fax);
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
            const QString destination = QString::fromUtf16(info.Destination);
            std::stable_sort(columns.begin(), columns.end());
            if (info.How == TDerivedColumn::Kind::Pick) {
                const bool work = group == Group::WorkTel;
                // One plain number column maps as it is.
                if (columns.size() == 1 && !std::get<2>(columns[0])) {
                    const int d = ImportDestinationIndex(destination);
                    if (!used[d]) p.Mapping[std::get<1>(columns[0])] = d, used[d] = true;
                    continue;
                }
                std::vector<TDerivedSlot> slotList;
                for (const auto& [order, column, fax] : columns)
                    slotList.push_back({{column}, -1, work, fax});
                for (int nth = 0; nth < 2; ++nth) {
                    TDerivedColumn c =
                        MakeDerived(info.How, {},
                                    QString::fromUtf16(info.Title)
                                        .replace(QStringLiteral("）"), nth ? QStringLiteral("２）")
                                                                           : QStringLiteral("）")));
                    c.Slots = slotList;
                    c.Work = work;
                    c.Nth = nth;
                    Derive(p, nth ? destination + QStringLiteral("/FAX") : destination,
                           std::move(c));
                }
                continue;
            }
            if (info.How == TDerivedColumn::Kind::Category) {
                for (int nth = 0; nth < 2; ++nth) {
                    TDerivedColumn c = MakeDerived(
                        info.How, {},
                        nth ? QStringLiteral("（分類２）") : QStringLiteral("（分類１）"));
                    for (const auto& oc : columns) c.Sources.push_back(std::get<1>(oc));
                    c.Nth = nth;
                    Derive(p, nth ? QStringLiteral("分類２") : destination, std::move(c));
                }
                continue;
            }
            TDerivedColumn derived = MakeDerived(info.How, QString::fromUtf16(info.Separator),
                                                 QString::fromUtf16(info.Title));
            for (const auto& oc : columns) derived.Sources.push_back(std::get<1>(oc));
            Derive(p, destination, std::move(derived));
        }
        if (layout.Name == u"Googleコンタクト") matched += GoogleSlots(header, p);
        if (matched >= 2 && someone && matched > bestMatched) {
            bestMatched = matched;
            best = std::move(p);
        }
    }
    return best;
}

QStringList DescribeProposal(const THeaderProposal& p, const QStringList& header) {
    QStringList lines;
    auto title = [&](int c) { return header.value(c).trimmed(); };
    for (int c = 0; c < static_cast<int>(p.Mapping.size()); ++c) {
        const int d = p.Mapping[c];
        if (d < 0) continue;
        QStringList from;
        if (c < p.OriginalColumns) {
            from << title(c);
        } else {
            const TDerivedColumn& dc = p.Derived[c - p.OriginalColumns];
            std::vector<int> sources = dc.Sources;
            for (const TDerivedSlot& s : dc.Slots)
                sources.insert(sources.end(), s.Sources.begin(), s.Sources.end());
            for (int s : sources) from << title(s);
            from.removeDuplicates();
        }
        lines << ImportDestinations()[d] + QStringLiteral(" ← ") + from.join(QStringLiteral(" + "));
    }
    return lines;
}

void AppendDerivedColumns(QStringList& records, const THeaderProposal& proposal) {
    if (proposal.Derived.empty()) return;
    for (qsizetype i = 0; i < records.size(); ++i) {
        QStringList fields = SplitCsvFields(records[i]);
        // A record wider than the header (an unquoted comma in a value) would
        // push its derived values into the wrong columns: the surplus, which
        // no title names, goes.
        while (fields.size() < proposal.OriginalColumns) fields << QString();
        if (fields.size() > proposal.OriginalColumns) fields.resize(proposal.OriginalColumns);
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
