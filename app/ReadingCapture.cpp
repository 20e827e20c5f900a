// Reading capture. The input method tells no reading of its own here, so the
// last pre-edit text that is all kana before a commit stands for it: the
// romaji steps ("やまd") are skipped and the conversion ("山田") is not kana.
#include "app/ReadingCapture.h"

#include <QInputMethodEvent>
#include <QLineEdit>

#include "platform/WidthMap.h"

namespace q2 {
namespace {

bool IsStrippedMark(QChar c) {
    return c == u'"' || c == u'\'' || c == u'`' || c == u',';
}

QString WithoutMarks(QString text) {
    text.removeIf(IsStrippedMark);
    return text;
}

bool IsReading(const QString& text) {
    bool anyKana = false;
    for (QChar c : text) {
        if (IsKana(c))
            anyKana = true;
        else if (!IsStrippedMark(c))
            return false;
    }
    return anyKana;
}

}  // namespace

ReadingCapture::ReadingCapture(QLineEdit* name, QLineEdit* reading)
    : QObject(name), reading_(reading) {
    name->installEventFilter(this);
}

QString ReadingCapture::AppendReading(const QString& current, const QString& reading) {
    // The marks go before the width mapping as well: once full-width they
    // would no longer be the characters removed.
    return WithoutMarks(current + ToKatakana(ToFullWidth(WithoutMarks(reading))));
}

bool ReadingCapture::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::InputMethod) {
        const auto* im = static_cast<QInputMethodEvent*>(event);
        if (!im->commitString().isEmpty()) {
            if (!lastKana_.isEmpty()) reading_->setText(AppendReading(reading_->text(), lastKana_));
            lastKana_.clear();
        }
        const QString preedit = im->preeditString();
        if (IsReading(preedit))
            lastKana_ = preedit;
        else if (preedit.isEmpty() && im->commitString().isEmpty())
            lastKana_.clear();  // the composition was cancelled
    }
    return QObject::eventFilter(watched, event);  // the name box still gets the event
}

}  // namespace q2
