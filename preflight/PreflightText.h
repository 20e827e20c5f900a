// The findings' texts in the user's words, and the small text helpers the
// checks share.
#pragma once

#include <QString>
#include <QStringList>

#include "model/UserInfo.h"

namespace q2 {

struct PreflightText {
    static QString ZipEmpty() { return QStringLiteral("郵便番号がありません"); }
    static QString ZipMalformed(const QString& zip) {
        return QStringLiteral("郵便番号「%1」が７桁の数字ではありません").arg(zip);
    }
    static QString ZipUnknown(const QString& zip) {
        return QStringLiteral("郵便番号 %1 は郵便番号データにありません").arg(zip);
    }
    static QString ZipTownMismatch(const QString& zip, const QString& town) {
        return QStringLiteral("住所１が郵便番号 %1 の町域「%2」で始まっていません").arg(zip, town);
    }
    static QString ZipNoAddressNumber(const QString& zip) {
        return QStringLiteral("郵便番号 %1 はカスタマーバーコードに住所表示番号が入りません（事業所の個別番号か末尾が00の番号）")
            .arg(zip);
    }
    static QString AddressEmpty() { return QStringLiteral("住所１がありません"); }
    static QString SuggestCode(const QString& zip) { return QStringLiteral("住所から 〒%1").arg(zip); }
    static QString SuggestDigits(const QString& zip) { return QStringLiteral("半角数字で %1").arg(zip); }
    static QString GlyphMissing(const QString& ch, const QString& face) {
        return QStringLiteral("「%1」は印刷フォント %2 に字形がなく、□か別のフォントで印刷されます").arg(ch, face);
    }
    static QString VerticalFormMissing(const QString& ch, const QString& face, bool rotated) {
        return rotated ? QStringLiteral("「%1」の縦書き用の字形が印刷フォント %2 になく、横書きの字形を回して印刷します")
                             .arg(ch, face)
                       : QStringLiteral("「%1」の縦書き用の字形が印刷フォント %2 になく、横書きの字形のまま印刷されます")
                             .arg(ch, face);
    }
    static QString Substitute(const QString& ch, const QString& to) {
        return QStringLiteral("「%1」→「%2」").arg(ch, to);
    }
    static QString FitFloor(const QString& frame, double size) {
        return QStringLiteral("%1が最小の大きさ（%2ポイント）まで縮められています").arg(frame).arg(size);
    }
    static QString FitOverflow(const QString& frame, double size) {
        return QStringLiteral("%1が枠に収まりません（%2ポイントでもはみ出します）").arg(frame).arg(size);
    }
    static QString MailCharset(const QString& ch) {
        return QStringLiteral("「%1」は ISO-2022-JP のメールで送れない文字です（受け取った側で文字化けします）").arg(ch);
    }
    static QString MailNoAddress() { return QStringLiteral("メールアドレスがありません"); }
    static QString MailUnsafeAddress(const QString& address) {
        return QStringLiteral("メールアドレス「%1」は送信に使えない文字を含んでいます").arg(address);
    }
    // `cuts`: "右に 2.4 mm", "上に 1.0 mm", …
    static QString InkOutsidePrintable(const QString& part, const QStringList& cuts) {
        return QStringLiteral("%1がプリンタの印刷できる範囲から%2 はみ出し、その部分は印刷されません")
            .arg(part, cuts.join(QStringLiteral("、")));
    }
    static QString InkCut(const QString& side, double mm) {
        return QStringLiteral("%1に %2 mm").arg(side, QString::number(mm, 'f', 1));
    }
    static QString NameEmpty() { return QStringLiteral("住所があるのに宛名がありません"); }
    static QString NameNoHonorific() { return QStringLiteral("宛名に敬称がありません"); }
    static QString NameOnchuWithSama() {
        return QStringLiteral("「御中」と「様」が同じ宛名面に印刷されます（どちらか一方にします）");
    }
    static QString RemoveOnchu(const QString& without) {
        return without.isEmpty() ? QStringLiteral("「御中」を削る") : QStringLiteral("「御中」を削って「%1」").arg(without);
    }
};

// The record as the lists name it: the full name, else the company.
inline QString DisplayName(const TUserInfo& r) {
    const QString name = r.PersonalFullName().trimmed();
    return name.isEmpty() ? r.OfficeName : name;
}

// The seven digits of a postal code typed with half- or full-width digits,
// hyphens and blanks; empty when it is anything else.
inline QString SevenDigits(const QString& text) {
    QString digits;
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9') digits += c;
        else if (c >= u'０' && c <= u'９') digits += QChar(u'0' + (c.unicode() - u'０'));
        else if (c != u'-' && c != u'－' && c != u'ー' && !c.isSpace()) return QString();
    }
    return digits.size() == 7 ? digits : QString();
}

inline bool IsAsciiDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

}  // namespace q2
