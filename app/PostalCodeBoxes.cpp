// The joined postal code boxes.
#include "app/PostalCodeBoxes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace q2 {
namespace {

class PostalCodePair : public QObject {
public:
    PostalCodePair(QLineEdit* first, QLineEdit* second)
        : QObject(first), first_(first), second_(second) {
        first->installEventFilter(this);
        second->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        auto* box = static_cast<QLineEdit*>(watched);
        if (key == QKeySequence::Paste) return Paste();
        // A digit that no longer fits the first box starts the second.
        if (box == first_ && key->text().size() == 1 && key->text().front().isDigit() &&
            !first_->hasSelectedText() && first_->cursorPosition() == first_->text().size() &&
            first_->text().size() >= first_->maxLength() && first_->maxLength() < 32767) {
            second_->setFocus(Qt::OtherFocusReason);
            second_->selectAll();
            second_->insert(key->text());
            return true;
        }
        return false;
    }

private:
    bool Paste() {
        QString upper, lower;
        if (!SplitPostalCode(QGuiApplication::clipboard()->text(), &upper, &lower)) return false;
        first_->setText(upper);
        second_->setText(lower);
        second_->setFocus(Qt::OtherFocusReason);
        second_->end(false);
        return true;
    }

    QLineEdit* first_;
    QLineEdit* second_;
};

}  // namespace

bool SplitPostalCode(const QString& text, QString* upper, QString* lower) {
    QString plain;
    for (QChar c : text.trimmed()) {
        // Full-width digits and dashes as their half-width forms.
        if (c.isDigit() && c.digitValue() >= 0)
            plain += QChar(u'0' + c.digitValue());
        else if (c == u'－' || c == u'ー' || c == u'‐' || c == u'−' || c == u'―')
            plain += u'-';
        else
            plain += c;
    }
    static const QRegularExpression code(QStringLiteral("^(?:〒\\s*)?(\\d{3})-?(\\d{4})$"));
    const QRegularExpressionMatch m = code.match(plain);
    if (!m.hasMatch()) return false;
    *upper = m.captured(1);
    *lower = m.captured(2);
    return true;
}

void JoinPostalCodeBoxes(QLineEdit* first, QLineEdit* second) {
    new PostalCodePair(first, second);
}

}  // namespace q2
