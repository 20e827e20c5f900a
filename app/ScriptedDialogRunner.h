// A dialog runner that answers from queues: each dialog step fills in the
// real dialog's controls and says how it closes; an empty queue cancels.
#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

#include "platform/DialogRunner.h"

namespace q2 {

class ScriptedDialogRunner : public DialogRunner {
public:
    using Step = std::function<int(QDialog&)>;

    int Exec(QDialog& dialog) override;
    QString OpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString SaveFileName(QWidget* parent, const FileDialogRequest& request) override;

    // A step that types `text` into the line edit named `editName` and
    // presses OK.
    static Step TypeAndAccept(const QString& editName, const QString& text);
    static Step Reject();

    std::deque<Step> dialogs;
    std::deque<QString> fileNames;               // answers to open and save dialogs, in order
    QStringList seen;                            // captions of every dialog run, in order
    std::deque<FileDialogRequest> fileRequests;  // what the file dialogs were asked
};

}  // namespace q2
