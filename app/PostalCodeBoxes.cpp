// The joined postal code boxes.
#include "app/PostalCodeBoxes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "model/UserInfo.h"

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
        // Only a whole code fills both boxes; anything else is pasted as text.
        if (!SplitPostalCode(QGuiApplication::clipboard()->text(), &upper, &lower) ||
            lower.isEmpty())
            return false;
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

void JoinPostalCodeBoxes(QLineEdit* first, QLineEdit* second) {
    new PostalCodePair(first, second);
}

}  // namespace q2
