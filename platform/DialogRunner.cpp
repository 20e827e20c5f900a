// The on-screen dialog runner.
#include "platform/DialogRunner.h"

#include <QDialog>
#include <QFileDialog>
#include <QRegularExpression>
#include <QStandardPaths>

namespace q2 {

QString FilterSuffix(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.([A-Za-z0-9]+))"));
    const QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString DialogStartFolder(const QString& folder) {
    return folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                            : folder;
}

namespace {

class WidgetDialogRunner : public DialogRunner {
public:
    int Exec(QDialog& dialog) override { return dialog.exec(); }

    QString OpenFileName(QWidget* parent, const FileDialogRequest& r) override {
        QFileDialog d(parent, r.Caption, DialogStartFolder(r.Folder), r.Filter);
        d.setAcceptMode(QFileDialog::AcceptOpen);
        d.setFileMode(QFileDialog::ExistingFile);
        return d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty()
                   ? d.selectedFiles().constFirst()
                   : QString();
    }

    QString SaveFileName(QWidget* parent, const FileDialogRequest& r) override {
        QFileDialog d(parent, r.Caption, DialogStartFolder(r.Folder), r.Filter);
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setFileMode(QFileDialog::AnyFile);
        d.setDefaultSuffix(r.DefaultSuffix);
        // A name typed without extension gets the one of the filter chosen
        // (vCard → .vcf), not the first filter's.
        QObject::connect(&d, &QFileDialog::filterSelected, &d, [&d, &r](const QString& filter) {
            const QString suffix = FilterSuffix(filter);
            d.setDefaultSuffix(suffix.isEmpty() ? r.DefaultSuffix : suffix);
        });
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
