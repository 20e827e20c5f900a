// Password checks. Answers are compared as the CP932 bytes the files hold:
// letter case counts and nothing is trimmed.
#include "app/PasswordCheck.h"

#include <QDialog>

#include "app/FormPasswordAuth.h"
#include "platform/Cp932.h"
#include "platform/Prompter.h"

namespace q2 {
namespace {

constexpr int kTries = 3;

TPasswordResult Ask(TFormPasswordAuth& prompt, const QString& expected) {
    const QByteArray want = EncodeCp932(expected);
    for (int i = 0; i < kTries; ++i) {
        if (prompt.Execute() != QDialog::Accepted) return TPasswordResult::Cancelled;
        if (EncodeCp932(prompt.Password()) == want) return TPasswordResult::Passed;
        GetPrompter().Inform(QStringLiteral("パスワードが違います"));
    }
    GetPrompter().Inform(QStringLiteral("規定の回数パスワードを間違えたため、ソフトを終了します"));
    return TPasswordResult::TooManyWrong;
}

}  // namespace

TPasswordResult CheckStartupPassword(TFormPasswordAuth& prompt, const QString& softPassword) {
    return Ask(prompt, softPassword);
}

TPasswordResult CheckFilePassword(TFormPasswordAuth& prompt, const QString& stored) {
    return Ask(prompt, stored);
}

}  // namespace q2
