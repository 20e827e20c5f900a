// The on-screen dialog runner.
#include "platform/DialogRunner.h"

#include <QDialog>
#include <QFileDialog>

namespace q2 {
namespace {

class WidgetDialogRunner : public DialogRunner {
public:
    int Exec(QDialog& dialog) override { return dialog.exec(); }

    QString OpenFileName(QWidget* parent, const FileDialogRequest& r) override {
        QFileDialog d(parent, r.Caption, r.Folder, r.Filter);
        d.setAcceptMode(QFileDialog::AcceptOpen);
        d.setFileMode(QFileDialog::ExistingFile);
        return d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty()
                   ? d.selectedFiles().constFirst()
                   : QString();
    }

    QString SaveFileName(QWidget* parent, const FileDialogRequest& r) override {
        QFileDialog d(parent, r.Caption, r.Folder, r.Filter);
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setFileMode(QFileDialog::AnyFile);
        d.setDefaultSuffix(r.DefaultSuffix);
        if (!r.FileName.isEmpty()) d.selectFile(r.FileName);
        return d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty()
                   ? d.selectedFiles().constFirst()
                   : QString();
    }
};

WidgetDialogRunner widgetRunner;
DialogRunner* current = nullptr;

}  // namespace

DialogRunner& GetDialogRunner() {
    return current ? *current : widgetRunner;
}
void SetDialogRunner(DialogRunner* runner) {
    current = runner;
}

}  // namespace q2
