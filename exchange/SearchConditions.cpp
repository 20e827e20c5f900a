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

constexpr int kTopicAge = 13;

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
constexpr TRecordFieldId kTopicFields[kSearchTopicCount] = {
    F::CommonPrintCheck,
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
    F::CommonBirthday,
    F::PersonalAge,
    F::PersonalSex,
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
    F::CommonJointNameObj_1_PrintName,
    F::CommonJointNameObj_1_HonorificTitle,
    F::CommonJointNameObj_2_PrintName,
    F::CommonJointNameObj_2_HonorificTitle,
    F::CommonJointNameObj_3_PrintName,
    F::CommonJointNameObj_3_HonorificTitle,
    F::CommonJointNameObj_4_PrintName,
    F::CommonJointNameObj_4_HonorificTitle,
    F::CommonCategory_1,
    F::CommonCategory_2,
    F::CommonInsertStr_1,
    F::CommonInsertStr_2,
    F::CommonInsertStr_3,
    F::CommonInsertStr_4,
    F::CommonUseTypePersonal,
    F::CommonRegistDate,
    F::CommonMemo,
    F::CommonHistoryOneLine,
};

}  // namespace

const TRecordField* SearchTopicField(int topic) {
    if (topic < 0 || topic >= kSearchTopicCount) return nullptr;
    return &RecordField(kTopicFields[topic]);
}

const QStringList& SearchTopics() {
    static const QStringList topics = {
        QStringLiteral("印刷チェック"), QStringLiteral("個人フリガナ"),
        QStringLiteral("個人名前"),     QStringLiteral("個人敬称"),
        QStringLiteral("個人郵便番号"), QStringLiteral("個人住所１"),
        QStringLiteral("個人住所２"),   QStringLiteral("個人電話"),
        QStringLiteral("個人電話/FAX"), QStringLiteral("個人メール１"),
        QStringLiteral("個人メール２"), QStringLiteral("個人HP"),
        QStringLiteral("生年月日"),     QStringLiteral("年齢"),
        QStringLiteral("性別"),         QStringLiteral("会社フリガナ"),
        QStringLiteral("会社名"),       QStringLiteral("会社郵便番号"),
        QStringLiteral("会社住所１"),   QStringLiteral("会社住所２"),
        QStringLiteral("会社電話"),     QStringLiteral("会社電話/FAX"),
        QStringLiteral("会社メール１"), QStringLiteral("会社メール２"),
        QStringLiteral("会社HP"),       QStringLiteral("部署"),
        QStringLiteral("役職"),         QStringLiteral("連名１"),
        QStringLiteral("連名１敬称"),   QStringLiteral("連名２"),
        QStringLiteral("連名２敬称"),   QStringLiteral("連名３"),
        QStringLiteral("連名３敬称"),   QStringLiteral("連名４"),
        QStringLiteral("連名４敬称"),   QStringLiteral("分類１"),
        QStringLiteral("分類２"),       QStringLiteral("差込１"),
        QStringLiteral("差込２"),       QStringLiteral("差込３"),
        QStringLiteral("差込４"),       QStringLiteral("印刷住所"),
        QStringLiteral("登録日"),       QStringLiteral("備考"),
        QStringLiteral("履歴")};
    return topics;
}

TSearchTopicChoices SearchTopicChoices(int topic) {
    using namespace SearchOp;
    using M = OperandInputMode;
    const QStringList equalOrNot = {Equals, Differs};
    const QStringList containsOrNot = {Contains, NotContains};
    switch (topic) {
        case 0:
            return {equalOrNot,
                    {QStringLiteral("印刷する"), QStringLiteral("印刷しない")},
                    M::Hiragana};
        case 12:
            return {{Greater, Equals, Less, InMonth}, {QString()}, M::Off};
        case 13:
        case 42:
            return {{Greater, Equals, Less}, {}, M::Off};
        case 14:
            return {equalOrNot,
                    {QStringLiteral("未設定"), QStringLiteral("男性"), QStringLiteral("女性")},
                    M::Unchanged};
        case 35:
            return {equalOrNot, LoadListFile(GetCategory1Path()), M::Hiragana};
        case 36:
            return {equalOrNot, LoadListFile(GetCategory2Path()), M::Hiragana};
        case 41:
            return {equalOrNot, {QStringLiteral("個人用"), QStringLiteral("会社用")}, M::Hiragana};
        case 43:
            return {containsOrNot, {QString()}, M::Hiragana};
        case 44:
            return {containsOrNot, {}, M::Hiragana};
        default:
            break;
    }
    TSearchTopicChoices c{
        {Contains, StartsWith, EndsWith, Equals, Differs, NotContains}, {QString()}, M::Hiragana};
    if (topic == 1 || topic == 15) c.InputMode = M::FullKatakana;
    if (topic == 4 || (topic >= 7 && topic <= 11) || topic == 17 || (topic >= 20 && topic <= 24))
        c.InputMode = M::Off;
    return c;
}

QString SearchTopicText(const TUserInfo& r, int topic, QDate today) {
    switch (topic) {
        case 0:
            return r.CommonPrintCheck ? QStringLiteral("印刷する") : QStringLiteral("印刷しない");
        case 1:
            return r.PersonalFullNameKana();
        case 2:
            return r.PersonalFullName();
        case 3:
            return r.PerSonalHonorificTitle;
        case 4:
            return r.PersonalFullZip();
        case 5:
            return r.PerSonalAddress_1;
        case 6:
            return r.PerSonalAddress_2;
        case 7:
            return r.PerSonalTel_1;
        case 8:
            return r.PerSonalTel_2;
        case 9:
            return r.PerSonalMail_1;
        case 10:
            return r.PerSonalMail_2;
        case 11:
            return r.PerSonalHomePage;
        case 12:
            return FormatDate(r.CommonBirthday.date());
        case kTopicAge:
            return QString::asprintf("%.3d", r.PersonalAge(today));
        case 14:
            return SexDisplayName(r.PersonalSex);
        case 15:
            return r.OfficeKana;
        case 16:
            return r.OfficeName;
        case 17:
            return r.OfficeFullZip();
        case 18:
            return r.OfficeAddress_1;
        case 19:
            return r.OfficeAddress_2;
        case 20:
            return r.OfficeTel_1;
        case 21:
            return r.OfficeTel_2;
        case 22:
            return r.OfficeMail_1;
        case 23:
            return r.OfficeMail_2;
        case 24:
            return r.OfficeHomePage;
        case 25:
            return r.OfficePost;
        case 26:
            return r.OfficeOfficialPosition;
        case 27:
        case 29:
        case 31:
        case 33:
            return r.JointName((topic - 27) / 2).PrintName;
        case 28:
        case 30:
        case 32:
        case 34:
            return r.JointName((topic - 28) / 2).HonorificTitle;
        case 35:
            return r.CommonCategory_1;
        case 36:
            return r.CommonCategory_2;
        case 37:
            return r.CommonInsertStr_1;
        case 38:
            return r.CommonInsertStr_2;
        case 39:
            return r.CommonInsertStr_3;
        case 40:
            return r.CommonInsertStr_4;
        case 41:
            return r.CommonUseTypePersonal ? QStringLiteral("個人用") : QStringLiteral("会社用");
        case 42:
            return FormatDate(r.CommonRegistDate.date());
        case 43:
            return r.CommonMemo;
        case 44:
            return r.CommonHistoryOneLine();
        default:
            return QString();
    }
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
        row.Topic = c.Topic;
        row.Op = OpIndex(c.Operator);
        QString operand = c.Operand;
        if (c.Topic == kTopicAge) {
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

const QString* PlainTopicField(const TUserInfo& r, int topic) {
    switch (topic) {
        case 3:
            return &r.PerSonalHonorificTitle;
        case 5:
            return &r.PerSonalAddress_1;
        case 6:
            return &r.PerSonalAddress_2;
        case 7:
            return &r.PerSonalTel_1;
        case 8:
            return &r.PerSonalTel_2;
        case 9:
            return &r.PerSonalMail_1;
        case 10:
            return &r.PerSonalMail_2;
        case 11:
            return &r.PerSonalHomePage;
        case 15:
            return &r.OfficeKana;
        case 16:
            return &r.OfficeName;
        case 18:
            return &r.OfficeAddress_1;
        case 19:
            return &r.OfficeAddress_2;
        case 20:
            return &r.OfficeTel_1;
        case 21:
            return &r.OfficeTel_2;
        case 22:
            return &r.OfficeMail_1;
        case 23:
            return &r.OfficeMail_2;
        case 24:
            return &r.OfficeHomePage;
        case 25:
            return &r.OfficePost;
        case 26:
            return &r.OfficeOfficialPosition;
        case 27:
        case 29:
        case 31:
        case 33:
            return &r.JointName((topic - 27) / 2).PrintName;
        case 28:
        case 30:
        case 32:
        case 34:
            return &r.JointName((topic - 28) / 2).HonorificTitle;
        case 35:
            return &r.CommonCategory_1;
        case 36:
            return &r.CommonCategory_2;
        case 37:
            return &r.CommonInsertStr_1;
        case 38:
            return &r.CommonInsertStr_2;
        case 39:
            return &r.CommonInsertStr_3;
        case 40:
            return &r.CommonInsertStr_4;
        case 43:
            return &r.CommonMemo;
        default:
            return nullptr;
    }
}

// The topic's text for a record as the operators see it: spaces removed,
// CP932 bytes, into a buffer reused from record to record.
void TopicBytes(const TUserInfo& r, int topic, QDate today, QByteArray& out) {
    out.resize(0);
    if (const QString* field = PlainTopicField(r, topic)) {
        AppendWithoutSpaces(*field, out);
    } else if (topic == 1 || topic == 2) {
        // The joining space of the full name goes anyway.
        AppendWithoutSpaces(topic == 1 ? r.PerSonalKana_1 : r.PerSonalName_1, out);
        AppendWithoutSpaces(topic == 1 ? r.PerSonalKana_2 : r.PerSonalName_2, out);
    } else if (topic == kTopicAge) {
        const int age = r.PersonalAge(today);
        if (age >= 0 && age < 1000) {
            out.resize(3);
            out[0] = char('0' + age / 100);
            out[1] = char('0' + age / 10 % 10);
            out[2] = char('0' + age % 10);
        } else {
            out = QString::asprintf("%.3d", age).toLatin1();
        }
    } else {
        AppendWithoutSpaces(SearchTopicText(r, topic, today), out);
    }
}

}  // namespace

bool TSearchMatcher::RowHolds(const Row& row, const TUserInfo& r) const {
    if (row.Op < 0) return false;
    if (row.Op == kInMonth) {
        const QDate d = ParseDate(WithoutSpaces(SearchTopicText(r, row.Topic, today_)));
        return d.isValid() && row.Month != 0 && d.month() == row.Month;
    }
    QByteArray& t = buffer_;
    TopicBytes(r, row.Topic, today_, t);
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
