// The check run before a print or mail batch: what will go wrong, per record
// and field, with the edit that fixes it where one is clear.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "model/UserInfo.h"
#include "print/PieceRenderer.h"

namespace q2 {

class TZipIndex;

enum class TPreflightSeverity { Fault, Warning, Info };

enum class TPreflightCode {
    ZipEmpty,
    ZipMalformed,
    ZipUnknown,
    ZipTownMismatch,
    ZipNoAddressNumber,
    AddressEmpty,
    GlyphMissing,
    VerticalFormMissing,
    FitFloor,
    FitOverflow,
    MailCharset,
    MailNoAddress,
    MailUnsafeAddress,
    NameEmpty,
    NameNoHonorific,
    NameOnchuWithSama,
    InkOutsidePrintable,
};

// The code as q2tool prints it ("zip-unknown", …).
QString PreflightCodeName(TPreflightCode code);
TPreflightSeverity SeverityOf(TPreflightCode code);
// "エラー", "警告", "情報".
QString SeverityText(TPreflightSeverity severity);

// Fields of the mail template that are not record fields.
inline constexpr const char* kSubjectField = "件名";
inline constexpr const char* kBodyField = "本文";

// One change of one field. Whole: the field must still read From and becomes
// To. Otherwise every From in the field becomes To (one character's substitute).
struct TFieldEdit {
    QString Field;  // property name ("PerSonalAddress_1", "CommonJointNameObj_2.HonorificTitle") or 件名/本文
    QString From, To;
    bool Whole = true;
    bool operator==(const TFieldEdit&) const = default;
};

struct TPreflightFinding {
    int Record = -1;  // index in the checked list; -1 for the mail template
    QString Name;     // the record's name as the lists show it
    QString Field;    // the field the finding is about
    TPreflightCode Code = TPreflightCode::ZipEmpty;
    QString Message;
    QString Suggestion;       // empty when there is nothing to suggest
    QList<TFieldEdit> Fix;    // empty when no fix is clear
    TPreflightSeverity Severity() const { return SeverityOf(Code); }
    bool Fixable() const { return !Fix.isEmpty(); }
};

bool HasFault(const QList<TPreflightFinding>& findings);

// A text the layout drew at its smallest size or could not fit in its frame.
// The layout fills these; the check only reports them.
struct TFitMark {
    QString Frame;  // "住所", "宛名", …
    QString Field;  // the record field whose text it is
    Points Size;
    bool AtFloor = false;
    bool Overflow = false;
};
using TFitProbe = std::function<QList<TFitMark>(const TUserInfo&, const TPieceSetup&)>;

// What the layout tells, laid out as printed: an address drawn at its floor
// size, an address that overflows its frame even there, and a sender block
// that does not fit at its smallest size.
QList<TFitMark> LayoutFitMarks(const TUserInfo& record, const TPieceSetup& setup);

struct TPrintCheckOptions {
    const TZipIndex* Zip = nullptr;  // nullptr: postal codes are not compared with the data
    TFitProbe Fit = LayoutFitMarks;  // empty: no fit findings
};

// Findings 1, 2, 3 and 5 over the records about to be printed, in list order.
QList<TPreflightFinding> CheckPrint(const QList<const TUserInfo*>& records, const TPieceSetup& setup,
                                    const TPrintCheckOptions& options);

// Findings 4 and 5 over the recipients of a bulk mail and its two templates.
QList<TPreflightFinding> CheckMail(const QList<const TUserInfo*>& records, const QString& subject,
                                   const QString& body);

// Applies a finding's fix to the record (or to the template texts for 件名 and
// 本文). False, with nothing changed, when a field no longer reads what the
// check saw.
bool ApplyFix(const TPreflightFinding& finding, TUserInfo* record, QString* subject = nullptr,
              QString* body = nullptr);

// The field as the lists caption it ("住所１", "連名２敬称", …).
QString FieldCaption(const QString& field);

// record index, name, field, code, message, suggestion; tab-separated.
QString PreflightLine(const TPreflightFinding& finding, int index);

// ISO-2022-JP carries JIS X 0208 and ASCII; half-width katakana are widened
// on the way. False for the NEC and IBM extensions, the user-defined area and
// anything CP932 cannot hold.
bool Iso2022JpCarries(char32_t c);
// The text to write instead of a character ISO-2022-JP cannot carry, empty
// when none is known.
QString MailSubstitute(char32_t c);

}  // namespace q2
