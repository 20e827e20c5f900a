// The book review after a postal data refresh.
#include "ZipReview.h"

#include <QFile>
#include <algorithm>

#include "model/UserInfo.h"
#include "model/UserInfoList.h"
#include "platform/Cp932.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

const QStringView kPrefectures[] = {
    u"北海道", u"青森県", u"岩手県", u"宮城県", u"秋田県", u"山形県", u"福島県", u"茨城県",
    u"栃木県", u"群馬県", u"埼玉県", u"千葉県", u"東京都", u"神奈川県", u"新潟県", u"富山県",
    u"石川県", u"福井県", u"山梨県", u"長野県", u"岐阜県", u"静岡県", u"愛知県", u"三重県",
    u"滋賀県", u"京都府", u"大阪府", u"兵庫県", u"奈良県", u"和歌山県", u"鳥取県", u"島根県",
    u"岡山県", u"広島県", u"山口県", u"徳島県", u"香川県", u"愛媛県", u"高知県", u"福岡県",
    u"佐賀県", u"長崎県", u"熊本県", u"大分県", u"宮崎県", u"鹿児島県", u"沖縄県"};

// Characters of the prefecture text begins with, 0 when none. Every name
// ends in 都, 道, 府 or 県 at its third or fourth character, which rules
// out most texts before any name is compared.
qsizetype PrefectureLength(QStringView text) {
    const auto endsName = [&text](qsizetype i) {
        if (text.size() <= i) return false;
        const char16_t c = text[i].unicode();
        return c == u'都' || c == u'道' || c == u'府' || c == u'県';
    };
    if (!endsName(2) && !endsName(3)) return 0;
    for (QStringView name : kPrefectures) {
        if (name.front() == text.front() && text.startsWith(name)) return name.size();
    }
    return 0;
}

// Address lines are often written without the prefecture: both forms match.
qsizetype MatchLength(QStringView address, const QString& entryText) {
    if (address.startsWith(entryText)) return entryText.size();
    const qsizetype pref = PrefectureLength(entryText);
    if (pref > 0 && pref < entryText.size() && address.startsWith(QStringView(entryText).mid(pref)))
        return entryText.size() - pref;
    return 0;
}

qsizetype CommonPrefix(QStringView a, QStringView b) {
    qsizetype n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
    return n;
}

bool IsDigit(QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

// The seven digits of a record's code, empty when it has not seven.
QString CodeDigits(const QString& first, const QString& second) {
    QString digits;
    for (QChar c : first + second) {
        if (c >= u'0' && c <= u'9') digits += c;
        else if (c >= u'０' && c <= u'９') digits += QChar(u'0' + (c.unicode() - u'０'));
        else if (c != u'-' && c != u'－' && !c.isSpace()) return QString();
    }
    return digits.size() == 7 ? digits : QString();
}

// The address lines as the review reads them: line 1, or both lines joined
// when the town runs on into line 2 (or line 1 is empty).
struct SideAddress {
    QString text;  // what is compared with the data
    bool joined = false;
    QString line1, line2;

    // A rewritten address, split back over the two lines the record had.
    TZipSuggestion Suggest(const QString& code, const QString& rewritten) const {
        TZipSuggestion s;
        s.Upper = code.left(3);
        s.Lower = code.mid(3);
        s.Address = rewritten;
        if (!joined) return s;
        s.SetsAddress2 = true;
        if (rewritten.startsWith(line1)) {
            s.Address = line1;
            s.Address2 = rewritten.mid(line1.size());
        } else if (!line2.isEmpty() && rewritten.endsWith(line2)) {
            s.Address = rewritten.chopped(line2.size());
            s.Address2 = line2;
        }
        return s;
    }
};

SideAddress ReadAddress(const TZipIndex& data, const QStringList& texts, const QString& line1In,
                        const QString& line2In) {
    SideAddress a;
    a.line1 = Trim(line1In);
    a.line2 = Trim(line2In);
    a.text = a.line1;
    if (a.line2.isEmpty()) return a;
    const QString both = a.line1 + a.line2;
    // Line 2 holds part of the town when a town of the code, or any town of
    // the data, reaches past the end of line 1 into it, or line 1 stops short
    // of its code's town (which may have been renamed since).
    bool runsOn = a.line1.isEmpty() || data.LongestPrefix(both).Length > a.line1.size();
    for (const QString& t : texts) {
        const qsizetype pref = PrefectureLength(t);
        const bool stopsShort =
            (t.size() > a.line1.size() && t.startsWith(a.line1)) ||
            (t.size() - pref > a.line1.size() && QStringView(t).mid(pref).startsWith(a.line1));
        runsOn = runsOn || stopsShort || MatchLength(both, t) > MatchLength(a.line1, t);
    }
    if (runsOn) {
        a.text = both;
        a.joined = true;
    }
    return a;
}

void ReviewSide(const TZipIndex& data, int record, bool office, const QString& zip1,
                const QString& zip2, const QString& line1, const QString& line2,
                QList<TZipFinding>& out) {
    const QString code = CodeDigits(zip1, zip2);
    if (code.isEmpty()) return;
    const QStringList texts = data.TextsOf(code);
    const SideAddress side = ReadAddress(data, texts, line1, line2);
    const QString& address = side.text;
    const auto Suggest = [&side](const QString& c, const QString& rewritten) {
        return side.Suggest(c, rewritten);
    };
    TZipFinding f;
    f.Record = record;
    f.Office = office;
    f.Zip = JoinZip(zip1, zip2);
    f.Address = side.joined ? line1 + line2 : line1;
    const TZipIndex::Match moved = data.LongestPrefix(address);
    if (texts.isEmpty()) {
        f.Kind = TZipFindingKind::Vanished;
        if (moved.Length > 0)
            f.Suggestions.append(Suggest(moved.Code, side.joined ? address : line1));
        out.append(f);
        return;
    }
    if (address.isEmpty()) return;
    qsizetype shared = 0;  // how much of the address the code's own towns share
    for (const QString& t : texts) {
        if (MatchLength(address, t) > 0) return;
        shared = std::max(shared, CommonPrefix(address, t));
    }
    // A town found under another code counts only when it says more than the
    // part the address shares with its own code's towns (the city, mostly).
    f.Kind = moved.Length > shared ? TZipFindingKind::CodeMoved : TZipFindingKind::TownChanged;
    if (f.Kind == TZipFindingKind::CodeMoved)
        f.Suggestions.append(Suggest(moved.Code, side.joined ? address : line1));
    for (const QString& t : texts) {
        const TZipSuggestion s = Suggest(code, RewriteAddress(address, t));
        if (!f.Suggestions.contains(s)) f.Suggestions.append(s);
    }
    out.append(f);
}

}  // namespace

void TZipIndex::Table::Reset(qsizetype keys) {
    qsizetype size = 64;
    while (size < keys + keys / 2) size *= 2;
    cells.assign(size_t(size), Cell{});
    used = 0;
}

void TZipIndex::Table::Grow() {
    std::vector<Cell> old(cells.size() * 2);
    old.swap(cells);
    const size_t mask = cells.size() - 1;
    for (const Cell& s : old) {
        if (s.entry < 0) continue;
        size_t i = s.hash & mask;
        while (cells[i].entry >= 0) i = (i + 1) & mask;
        cells[i] = s;
    }
}

template <typename KeyOf>
TZipIndex::Cell& TZipIndex::FindOrAdd(Table& table, QStringView key, KeyOf keyOf) {
    // Kept below two thirds full, so that runs of taken cells stay short.
    if (3 * (table.used + 1) > 2 * qsizetype(table.cells.size())) table.Grow();
    const quint32 hash = quint32(qHash(key));
    const size_t mask = table.cells.size() - 1;
    size_t i = hash & mask;
    for (;; i = (i + 1) & mask) {
        Cell& s = table.cells[i];
        if (s.entry < 0) break;
        if (s.hash == hash && keyOf(s) == key) return s;
    }
    ++table.used;
    Cell& s = table.cells[i];
    s.hash = hash;
    s.length = qint32(key.size());
    return s;  // entry still -1: the caller fills it in
}

template <typename KeyOf>
const TZipIndex::Cell* TZipIndex::Find(const Table& table, QStringView key, KeyOf keyOf) {
    if (table.cells.empty()) return nullptr;
    const quint32 hash = quint32(qHash(key));
    const size_t mask = table.cells.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Cell& s = table.cells[i];
        if (s.entry < 0) return nullptr;
        if (s.hash == hash && keyOf(s) == key) return &s;
    }
}

bool TZipIndex::Load(const QString& dataPath) {
    QFile file(dataPath);
    if (!file.open(QIODevice::ReadOnly)) return false;
    text_ = DecodeCp932(file.readAll());
    codes_.clear();
    texts_.clear();
    previous_.clear();
    // A line is about 17 characters; every entry gives a key with and
    // mostly one without its prefecture.
    const qsizetype lines = text_.size() / 16 + 1;
    codes_.reserve(lines);
    texts_.reserve(lines);
    previous_.reserve(lines);
    lastOfCode_.Reset(lines);
    byText_.Reset(2 * lines);
    const auto codeOf = [this](const Cell& s) { return codes_[size_t(s.entry)]; };
    const auto textOf = [this](const Cell& s) { return texts_[size_t(s.entry)].last(s.length); };
    const QStringView all(text_);
    qsizetype at = 0;
    while (at < all.size()) {
        qsizetype end = all.indexOf(u'\n', at);
        if (end < 0) end = all.size();
        QStringView line = all.sliced(at, end - at);
        at = end + 1;
        if (line.endsWith(u'\r')) line.chop(1);
        const qsizetype comma = line.indexOf(u',');
        if (comma < 0) continue;
        const QStringView code = line.first(comma);
        const QStringView text = line.sliced(comma + 1);
        const qint32 entry = qint32(texts_.size());
        codes_.push_back(code);
        texts_.push_back(text);
        Cell& last = FindOrAdd(lastOfCode_, code, codeOf);
        previous_.push_back(last.entry);
        last.entry = entry;
        Cell& whole = FindOrAdd(byText_, text, textOf);
        if (whole.entry < 0) whole.entry = entry;
        // The same town without its prefecture may name places in several
        // prefectures (府中市): such a key says nothing and is dropped.
        const qsizetype pref = PrefectureLength(text);
        if (pref == 0 || pref == text.size()) continue;
        Cell& bare = FindOrAdd(byText_, text.sliced(pref), textOf);
        if (bare.entry < 0) {
            bare.entry = entry;
        } else if (!bare.dropped) {
            // The key's first entry left off another prefecture, or was the
            // key itself and left off none.
            const QStringView first = texts_[size_t(bare.entry)];
            const qsizetype itsPref = first.size() - bare.length;
            bare.dropped = itsPref == 0 || first.first(itsPref) != text.first(pref);
        }
    }
    return true;
}

QStringList TZipIndex::TextsOf(QStringView code) const {
    QStringList texts;
    const Cell* last =
        Find(lastOfCode_, code, [this](const Cell& s) { return codes_[size_t(s.entry)]; });
    for (qint32 i = last ? last->entry : -1; i >= 0; i = previous_[size_t(i)])
        texts.prepend(texts_[size_t(i)].toString());
    return texts;
}

TZipIndex::Match TZipIndex::LongestPrefix(QStringView address) const {
    const auto textOf = [this](const Cell& s) { return texts_[size_t(s.entry)].last(s.length); };
    for (qsizetype n = address.size(); n > 0; --n) {
        const Cell* s = Find(byText_, address.first(n), textOf);
        if (s && !s->dropped && !codes_[size_t(s->entry)].isEmpty())
            return {codes_[size_t(s->entry)].toString(), n};
    }
    return {};
}

QString TZipSuggestion::Text() const {
    return QStringLiteral("〒") + Upper + QLatin1Char('-') + Lower + QStringLiteral("　") +
           Address + (SetsAddress2 ? Address2 : QString());
}

QString TZipFinding::Description() const {
    switch (Kind) {
        case TZipFindingKind::Vanished: return QStringLiteral("郵便番号がなくなりました");
        case TZipFindingKind::TownChanged: return QStringLiteral("住所が郵便番号の町域と一致しません");
        case TZipFindingKind::CodeMoved: return QStringLiteral("郵便番号が別の町域のものになりました");
    }
    return QString();
}

QString RewriteAddress(const QString& address, const QString& entryText) {
    // Keep the address's own style: without the prefecture when it has none.
    const qsizetype pref = PrefectureLength(entryText);
    const QString base = pref > 0 && !address.startsWith(QStringView(entryText).left(pref))
                             ? entryText.mid(pref)
                             : entryText;
    // The old town ends where the longest tail of the new name is found
    // again ("中区元城町１０３" under "中央区元城町"), searched only past the
    // part both share so that a city name is not taken for the town.
    const qsizetype shared = CommonPrefix(address, base);
    for (qsizetype n = base.size() - shared; n >= 2; --n) {
        const qsizetype at = address.indexOf(QStringView(base).right(n), shared);
        if (at >= 0) return base + address.mid(at + n);
    }
    // Otherwise the house number, from the first digit on, follows the new town.
    for (qsizetype i = shared; i < address.size(); ++i)
        if (IsDigit(address[i])) return base + address.mid(i);
    return base;
}

QList<TZipFinding> ReviewBook(const TUserInfoList& book, const TZipIndex& data) {
    QList<TZipFinding> out;
    for (int i = 0; i < book.Count(); ++i) {
        const TUserInfo& r = *book.Item(i);
        ReviewSide(data, i, false, r.PerSonalZip_1, r.PerSonalZip_2, r.PerSonalAddress_1,
                   r.PerSonalAddress_2, out);
        ReviewSide(data, i, true, r.OfficeZip_1, r.OfficeZip_2, r.OfficeAddress_1,
                   r.OfficeAddress_2, out);
    }
    return out;
}

void ApplySuggestion(TUserInfo& record, bool office, const TZipSuggestion& s) {
    (office ? record.OfficeZip_1 : record.PerSonalZip_1) = s.Upper;
    (office ? record.OfficeZip_2 : record.PerSonalZip_2) = s.Lower;
    (office ? record.OfficeAddress_1 : record.PerSonalAddress_1) = s.Address;
    if (s.SetsAddress2) (office ? record.OfficeAddress_2 : record.PerSonalAddress_2) = s.Address2;
}

QString FindingLine(const TUserInfo& record, const TZipFinding& f) {
    QStringList fields{record.PersonalFullName(),
                       f.Office ? QStringLiteral("勤務先") : QStringLiteral("自宅"),
                       f.Zip, f.Address, f.Description()};
    if (f.Suggestions.isEmpty()) fields << QStringLiteral("（候補なし）");
    for (const TZipSuggestion& s : f.Suggestions) fields << s.Text();
    return fields.join(u'\t');
}

}  // namespace q2
