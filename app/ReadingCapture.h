// Captures the reading of text composed through the input method in a name
// box and appends it, as full-width katakana, to a reading box.
#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace q2 {

class ReadingCapture : public QObject {
    Q_OBJECT
public:
    // Watches `name` for the life of both boxes; `reading` receives the readings.
    ReadingCapture(QLineEdit* name, QLineEdit* reading);

    // What one finished composition adds to the reading box text `current`.
    static QString AppendReading(const QString& current, const QString& reading);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* reading_;
    QString lastKana_;  // the last all-kana pre-edit of the running composition
};

}  // namespace q2
