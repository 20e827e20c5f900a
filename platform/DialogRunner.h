// How modal dialogs and file choosers are run: on screen in the program, from
// a script in the tests (ScriptedDialogRunner), so that no test ever blocks.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace q2 {

struct FileDialogRequest {
    QString Caption;
    QString Folder;         // where the dialog starts
    QString FileName;       // preset name (save dialogs)
    QString Filter;         // Qt filter text, e.g. "Quintaro2 ファイル (*.QT2)"
    QString DefaultSuffix;  // without the dot; save dialogs only
};

class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // Shows the dialog modally; QDialog::Accepted or QDialog::Rejected.
    virtual int Exec(QDialog& dialog) = 0;
    // The chosen path, or an empty text when the user cancelled.
    virtual QString OpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // Save dialogs ask before an existing file is replaced.
    virtual QString SaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
};

// The extension of a filter's first pattern, without the dot
// ("vCardファイル (*.vcf *.VCF)" → "vcf"); empty when it names none ("*").
QString FilterSuffix(const QString& filter);
// Where a file dialog starts: the folder asked for, else the documents folder.
QString DialogStartFolder(const QString& folder);

// The runner in force; without one installed, dialogs are shown on screen.
DialogRunner& GetDialogRunner();
void SetDialogRunner(DialogRunner* runner);  // nullptr restores the on-screen runner

class ScopedDialogRunner {
public:
    explicit ScopedDialogRunner(DialogRunner& r) { SetDialogRunner(&r); }
    ~ScopedDialogRunner() { SetDialogRunner(nullptr); }
    ScopedDialogRunner(const ScopedDialogRunner&) = delete;
    ScopedDialogRunner& operator=(const ScopedDialogRunner&) = delete;
};

}  // namespace q2
