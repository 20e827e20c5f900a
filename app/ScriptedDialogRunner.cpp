// Scripted dialogs for tests.
#include "app/ScriptedDialogRunner.h"

#include <QLineEdit>

namespace q2 {

int ScriptedDialogRunner::Exec(QDialog& dialog) {
    seen.append(dialog.windowTitle());
    if (dialogs.empty()) return QDialog::Rejected;
    Step step = std::move(dialogs.front());
    dialogs.pop_front();
    return step(dialog);
}

QString ScriptedDialogRunner::OpenFileName(QWidget*, const FileDialogRequest& request) {
    seen.append(request.Caption);
    fileRequests.push_back(request);
    if (fileNames.empty()) return QString();
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedDialogRunner::SaveFileName(QWidget* parent, const FileDialogRequest& request) {
    return OpenFileName(parent, request);
}

ScriptedDialogRunner::Step ScriptedDialogRunner::TypeAndAccept(const QString& editName,
                                                               const QString& text) {
    return [editName, text](QDialog& d) {
        QLineEdit* edit = d.findChild<QLineEdit*>(editName);
        if (!edit) return int(QDialog::Rejected);
        edit->setText(text);
        // Go through the dialog's own OK handling, as a click would.
        QMetaObject::invokeMethod(&d, "BtnOKClick");
        return d.result() == QDialog::Accepted ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
}

ScriptedDialogRunner::Step ScriptedDialogRunner::Reject() {
    return [](QDialog&) { return int(QDialog::Rejected); };
}

}  // namespace q2
