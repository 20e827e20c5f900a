// The short guide "Quintaro2 の使い方" opened from ヘルプ: the main tasks,
// step by step, and the keyboard shortcuts.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace q2 {

class TFormHelp : public QDialog {
    Q_OBJECT
public:
    explicit TFormHelp(QWidget* parent = nullptr);
    // The guide as shown, for tests and for anyone reusing it.
    static QString GuideHtml();

    QTextBrowser* Browser;
};

}  // namespace q2
