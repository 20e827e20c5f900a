// The three-way question asked before unsaved changes would be lost:
// 保存 / 保存しない / キャンセル; and the four-way one asked before a save
// over a file that another program changed since it was read:
// 再読み込み / 上書き保存 / 名前を付けて保存 / キャンセル.
#pragma once

#include <QString>

#include "platform/Prompter.h"

namespace q2 {

enum class TSaveChoice { Save, Discard, Cancel };

// A prompter that can offer the three answers. Prompters without it get a
// Yes/No question: Yes discards, No cancels.
class SaveChoicePrompter {
public:
    virtual ~SaveChoicePrompter() = default;
    virtual TSaveChoice AskSave(const QString& text) = 0;
};

TSaveChoice AskSaveChoice(const QString& text);

enum class TChangedFileChoice { Reload, Overwrite, SaveAs, Cancel };

// A prompter that can offer the four answers. Prompters without it get a
// Yes/No question: Yes overwrites, No cancels.
class ChangedFilePrompter {
public:
    virtual ~ChangedFilePrompter() = default;
    virtual TChangedFileChoice AskChangedFile(const QString& text) = 0;
};

TChangedFileChoice AskChangedFileChoice(const QString& text);

// The scripted prompter of the tests with the three-way answers: `choices`
// first, then the Yes/No queue (Yes discards, No cancels).
// `changedFileChoices` likewise for the four-way question.
class ScriptedChoicePrompter : public ScriptedPrompter,
                               public SaveChoicePrompter,
                               public ChangedFilePrompter {
public:
    TSaveChoice AskSave(const QString& text) override;
    TChangedFileChoice AskChangedFile(const QString& text) override;
    std::deque<TSaveChoice> choices;
    std::deque<TChangedFileChoice> changedFileChoices;
};

}  // namespace q2
