// Messages, Yes/No questions and the save question as modal message boxes with the program's caption.
#pragma once

#include <QString>

#include "app/SaveChoice.h"
#include "platform/Prompter.h"

namespace q2 {

enum class TMessageKind { Information, Warning, Error };

// Which icon a message gets, from its wording: something failed or cannot be
// read or written is an error; a refusal that asks the user to put something
// right (a missing entry, a wrong password, nothing to print) is a warning;
// a report of work done is information.
TMessageKind MessageKindOf(const QString& text);

class MessageBoxPrompter : public Prompter, public SaveChoicePrompter, public ChangedFilePrompter {
public:
    explicit MessageBoxPrompter(QString caption) : caption_(std::move(caption)) {}
    void Inform(const QString& text) override;
    bool Ask(const QString& text) override;
    // 保存 / 保存しない / キャンセル; Escape and the close box cancel.
    TSaveChoice AskSave(const QString& text) override;
    // 再読み込み / 上書き保存 / 名前を付けて保存 / キャンセル; Escape cancels.
    TChangedFileChoice AskChangedFile(const QString& text) override;

private:
    QString caption_;
};

}  // namespace q2
