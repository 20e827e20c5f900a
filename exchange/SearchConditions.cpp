// Search topics, operators and the matching rules.
#include "SearchConditions.h"

#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "platform/Cp932.h"

namespace q2 {

namespace SearchOp {
const QString Contains = QStringLiteral("を含むﾃﾞｰﾀ");
const QString NotContains = QStringLiteral("を含まないﾃﾞｰﾀ");
const QString StartsWith = QStringLiteral("で始まるﾃﾞｰﾀ");
const QString EndsWith = QStringLiteral("で終わるﾃﾞｰﾀ");
const QString Equals = QStringLiteral("と同じﾃﾞｰﾀ");
const QString Differs = QStringLiteral("でないﾃﾞｰﾀ");
const QString Greater = QStringLiteral("よりも大きいﾃﾞｰﾀ");
const QString Less = QStringLiteral("よりも小さいﾃﾞｰﾀ");
const QString InMonth = QStringLiteral("月のﾃﾞｰﾀ");
}  // namespace SearchOp

namespace {

enum Op {
    kContains,
    kNotContains,
    kStartsWith,
    kEndsWith,
    kEquals,
    kDiffers,
    kGreater,
    kLess,
    kInMonth
};

int OpIndex(const QString& text) {
    using namespace SearchOp;
    const QString* ops[] = {&Contains, &NotContains, &StartsWith, &EndsWith, &Equals,
                            &Differs,  &Greater,     &Less,       &InMonth};
    for (int i = 0; i < 9; ++i)
        if (*ops[i] == text) return i;
    return -1;
}

QString WithoutSpaces(QString t) {
    t.remove(u' ');
    t.remove(u'　');
    return t;
}

unsigned char Fold(unsigned char b) {
    return (b >= 'a' && b <= 'z') ? b - 32 : b;
}

// Marks which bytes start a character.
template <typename F>
void ForEachCharStart(QByteArrayView t, F f) {
    const auto* p = reinterpret_cast<const unsigned char*>(t.data());
    for (qsizetype i = 0; i < t.size();) {
        if (!f(i)) return;
        i += (IsCp932LeadByte(p[i]) && i + 1 < t.size()) ? 2 : 1;
    }
}

// Equal from `at` for operand.size() bytes, letters folded in single-byte characters.
bool FoldedEqualAt(QByteArrayView t, qsizetype at, QByteArrayView op) {
    const auto* p = reinterpret_cast<const unsigned char*>(t.data()) + at;
    const auto* q = reinterpret_cast<const unsigned char*>(op.data());
    for (qsizetype i = 0; i < op.size();) {
        if (IsCp932LeadByte(q[i]) && i + 1 < op.size()) {
            if (p[i] != q[i] || p[i + 1] != q[i + 1]) return false;
            i += 2;
        } else {
            if (Fold(p[i]) != Fold(q[i])) return false;
            ++i;
        }
    }
    return true;
}

}  // namespace

bool Cp932Contains(QByteArrayView t, QByteArrayView op) {
    if (op.isEmpty() || op.size() > t.size()) return false;
    bool found = false;
    const qsizetype last = t.size() - op.size();
    ForEachCharStart(t, [&](qsizetype i) {
        if (i > last) return false;
        if (FoldedEqualAt(t, i, op)) found = true;
        return !found;
    });
    return found;
}

bool Cp932EndsWith(QByteArrayView t, QByteArrayView op) {
    if (op.isEmpty() || op.size() > t.size()) return false;
    const qsizetype at = t.size() - op.size();
    bool boundary = false;
    ForEachCharStart(t, [&](qsizetype i) {
        if (i == at) boundary = true;
        return i < at;
    });
    return boundary && FoldedEqualAt(t, at, op);
}

int Cp932Compare(QByteArrayView a, QByteArrayView b) {
    const auto* p = reinterpret_cast<const unsigned char*>(a.data());
    const auto* q = reinterpret_cast<const unsigned char*>(b.data());
    const qsizetype n = std::min(a.size(), b.size());
    // Both texts are walked together; a double-byte character in either
    // keeps its second byte unfolded.
    bool trail = false;
    for (qsizetype i = 0; i < n; ++i) {
        unsigned char x = p[i], y = q[i];
        if (!trail) {
            x = IsCp932LeadByte(x) ? x : Fold(x);
            y = IsCp932LeadByte(y) ? y : Fold(y);
        }
        if (x != y) return x < y ? -1 : 1;
        trail = !trail && IsCp932LeadByte(p[i]);
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

using F = TRecordFieldId;
using M = OperandInputMode;

enum class Operators { Text, EqualOrNot, Ordered, OrderedOrMonth, ContainsOrNot };
enum class Suggestions { Blank, None, PrintCheck, Sex, UseType, Category1, Category2 };

// A topic: the field it searches and what its row offers, by default the text
// operators, one blank suggestion and input in hiragana.
struct Topic {
    TRecordFieldId Field;
    Operators Ops = Operators::Text;
    Suggestions Suggest = Suggestions::Blank;
    OperandInputMode Mode = M::Hiragana;
};

constexpr Topic TextTopic(TRecordFieldId field, M mode) {
    return {field, Operators::Text, Suggestions::Blank, mode};
}

constexpr Topic Choice(TRecordFieldId field, Suggestions s, M mode = M::Hiragana) {
    return {field, Operators::EqualOrNot, s, mode};
}

constexpr Topic kTopics[kSearchTopicCount] = {
    Choice(F::CommonPrintCheck, Suggestions::PrintCheck),
    TextTopic(F::PersonalFullNameKana, M::FullKatakana),
    {F::PersonalFullName},
    {F::PerSonalHonorificTitle},
    TextTopic(F::PersonalFullZip, M::Off),
    {F::PerSonalAddress_1},
    {F::PerSonalAddress_2},
    TextTopic(F::PerSonalTel_1, M::Off),
    TextTopic(F::PerSonalTel_2, M::Off),
    TextTopic(F::PerSonalMail_1, M::Off),
    TextTopic(F::PerSonalMail_2, M::Off),
    TextTopic(F::PerSonalHomePage, M::Off),
    {F::CommonBirthday, Operators::OrderedOrMonth, Suggestions::Blank, M::Off},
    {F::PersonalAge, Operators::Ordered, Suggestions::None, M::Off},
    Choice(F::PersonalSex, Suggestions::Sex, M::Unchanged),
    TextTopic(F::OfficeKana, M::FullKatakana),
    {F::OfficeName},
    TextTopic(F::OfficeFullZip, M::Off),
    {F::OfficeAddress_1},
    {F::OfficeAddress_2},
    TextTopic(F::OfficeTel_1, M::Off),
    TextTopic(F::OfficeTel_2, M::Off),
    TextTopic(F::OfficeMail_1, M::Off),
    TextTopic(F::OfficeMail_2, M::Off),
    TextTopic(F::OfficeHomePage, M::Off),
    {F::OfficePost},
    {F::OfficeOfficialPosition},
    {F::CommonJointNameObj_1_PrintName},
    {F::CommonJointNameObj_1_HonorificTitle},
    {F::CommonJointNameObj_2_PrintName},
    {F::CommonJointNameObj_2_HonorificTitle},
    {F::CommonJointNameObj_3_PrintName},
    {F::CommonJointNameObj_3_HonorificTitle},
    {F::CommonJointNameObj_4_PrintName},
    {F::CommonJointNameObj_4_HonorificTitle},
    Choice(F::CommonCategory_1, Suggestions::Category1),
    Choice(F::CommonCategory_2, Suggestions::Category2),
    {F::CommonInsertStr_1},
    {F::CommonInsertStr_2},
    {F::CommonInsertStr_3},
    {F::CommonInsertStr_4},
    Choice(F::CommonUseTypePersonal, Suggestions::UseType),
    {F::CommonRegistDate, Operators::Ordered, Suggestions::None, M::Off},
    {F::CommonMemo, Operators::ContainsOrNot},
    {F::CommonHistoryOneLine, Operators::ContainsOrNot, Suggestions::None},
};

QStringList OperatorTexts(Operators ops) {
    using namespace SearchOp;
    switch (ops) {
        case Operators::Text:
            return {Contains, StartsWith, EndsWith, Equals, Differs, NotContains};
        case Operators::EqualOrNot:
            return {Equals, Differs};
        case Operators::Ordered:
            return {Greater, Equals, Less};
        case Operators::OrderedOrMonth:
            return {Greater, Equals, Less, InMonth};
        case Operators::ContainsOrNot:
            return {Contains, NotContains};
    }
    return {};
}

QStringList SuggestionTexts(Suggestions s) {
    switch (s) {
        case Suggestions::Blank:
            return {QString()};
        case Suggestions::None:
            return {};
        case Suggestions::PrintCheck:
            return {PrintCheckDisplayName(true), PrintCheckDisplayName(false)};
        case Suggestions::Sex:
            return {SexDisplayName(TThSex::tsNone), SexDisplayName(TThSex::tsMale),
                    SexDisplayName(TThSex::tsFemale)};
        case Suggestions::UseType:
            return {UseTypeDisplayName(true), UseTypeDisplayName(false)};
        case Suggestions::Category1:
            return LoadListFile(GetCategory1Path());
        case Suggestions::Category2:
            return LoadListFile(GetCategory2Path());
    }
    return {};
}

}  // namespace

const TRecordField* SearchTopicField(int topic) {
    if (topic < 0 || topic >= kSearchTopicCount) return nullptr;
    return &RecordField(kTopics[topic].Field);
}

const QStringList& SearchTopics() {
    static const QStringList topics = [] {
        QStringList t;
        for (const Topic& topic : kTopics) t << RecordField(topic.Field).SearchCaption.toString();
        return t;
    }();
    return topics;
}

TSearchTopicChoices SearchTopicChoices(int topic) {
    // A topic number that is none offers what a text topic offers.
    const Topic t = topic >= 0 && topic < kSearchTopicCount ? kTopics[topic] : Topic{};
    return {OperatorTexts(t.Ops), SuggestionTexts(t.Suggest), t.Mode};
}

QString SearchTopicText(const TUserInfo& r, int topic, QDate today) {
    const TRecordField* f = SearchTopicField(topic);
    return f ? f->SearchText(r, today) : QString();
}

const QStringList& SeasonConditionCaptions() {
    static const QStringList captions = {QStringLiteral("昨年受け取った人"),
                                         QStringLiteral("昨年送った人"),
                                         QStringLiteral("今年喪中の人を除く")};
    return captions;
}

bool SeasonConditionsHold(const TSeasonConditions& c, const TUserInfo& r) {
    const int last = c.Season - 1;
    if (c.ReceivedLastSeason || c.SentLastSeason) {
        const bool received =
            c.ReceivedLastSeason && HasSeasonMark(r, TSeasonMark::Received, last);
        const bool sent = c.SentLastSeason && HasSeasonMark(r, TSeasonMark::Sent, last);
        if (!received && !sent) return false;
    }
    return !c.ExceptMourning || !HasSeasonMark(r, TSeasonMark::Mourning, c.Season);
}

TSearchMatcher::TSearchMatcher(const TSearchSettings& s, QDate today)
    : range_(s.Range), season_(s.Season), today_(today) {
    for (const TSearchCondition& c : s.Rows) {
        if (!c.Use) continue;
        Row row;
        row.Field = SearchTopicField(c.Topic);
        row.Op = OpIndex(c.Operator);
        QString operand = c.Operand;
        if (row.Field && row.Field->Id == F::PersonalAge) {
            bool ok = false;
            const int n = operand.toInt(&ok);
            if (ok) operand = QString::asprintf("%.3d", n);
        }
        operand = WithoutSpaces(operand);
        bool ok = false;
        const int month = operand.toInt(&ok);
        row.Month = ok ? month : 0;
        row.Operand = EncodeCp932(operand);
        rows_.push_back(std::move(row));
    }
}

namespace {

// Appends the CP932 bytes of a piece of topic text with its spaces removed.
void AppendWithoutSpaces(QStringView piece, QByteArray& out) {
    bool spaced = false;
    for (QChar c : piece) spaced |= c == u' ' || c == u'　';
    if (spaced)
        AppendCp932(WithoutSpaces(piece.toString()), out);
    else
        AppendCp932(piece, out);
}

// The topic's text for a record as the operators see it: spaces removed,
// CP932 bytes, into a buffer reused from record to record.
void TopicBytes(const TRecordField* field, const TUserInfo& r, QDate today, QByteArray& out) {
    out.resize(0);
    if (!field) return;
    switch (field->Id) {
        case F::PersonalFullNameKana:
        case F::PersonalFullName: {
            // The joining space of the full name goes anyway.
            const bool kana = field->Id == F::PersonalFullNameKana;
            AppendWithoutSpaces(kana ? r.PerSonalKana_1 : r.PerSonalName_1, out);
            AppendWithoutSpaces(kana ? r.PerSonalKana_2 : r.PerSonalName_2, out);
            break;
        }
        case F::PersonalAge: {
            const int age = r.PersonalAge(today);
            if (age >= 0 && age < 1000) {
                out.resize(3);
                out[0] = char('0' + age / 100);
                out[1] = char('0' + age / 10 % 10);
                out[2] = char('0' + age % 10);
            } else {
                out = QString::asprintf("%.3d", age).toLatin1();
            }
            break;
        }
        default:
            AppendWithoutSpaces(field->SearchText(r, today), out);
    }
}

}  // namespace

bool TSearchMatcher::RowHolds(const Row& row, const TUserInfo& r) const {
    if (row.Op < 0) return false;
    if (row.Op == kInMonth) {
        const QString text = row.Field ? row.Field->SearchText(r, today_) : QString();
        const QDate d = ParseDate(WithoutSpaces(text));
        return d.isValid() && row.Month != 0 && d.month() == row.Month;
    }
    QByteArray& t = buffer_;
    TopicBytes(row.Field, r, today_, t);
    const QByteArray& op = row.Operand;
    switch (row.Op) {
        case kContains:
            return Cp932Contains(t, op);
        case kNotContains:
            return !Cp932Contains(t, op);
        case kStartsWith:
            return t.startsWith(op);
        case kEndsWith:
            return Cp932EndsWith(t, op);
        case kEquals:
            return Cp932Compare(t, op) == 0;
        case kDiffers:
            return Cp932Compare(t, op) != 0;
        case kGreater:
            return Cp932Compare(t, op) > 0;
        case kLess:
            return Cp932Compare(t, op) < 0;
        default:
            return false;
    }
}

bool TSearchMatcher::Matches(const TUserInfo& r, int readingRow) const {
    if (range_ != kSearchRangeAll && range_ != readingRow) return false;
    if (season_.InUse() && !SeasonConditionsHold(season_, r)) return false;
    for (const Row& row : rows_)
        if (!RowHolds(row, r)) return false;
    return true;
}

}  // namespace q2
