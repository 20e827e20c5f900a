// The three-way question asked before unsaved changes would be lost:
// 保存 / 保存しない / キャンセル.
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

// The scripted prompter of the tests with the three-way answers: `choices`
// first, then the Yes/No queue (Yes discards, No cancels).
class ScriptedChoicePrompter : public ScriptedPrompter, public SaveChoicePrompter {
public:
    TSaveChoice AskSave(const QString& text) override;
    std::deque<TSaveChoice> choices;
};

}  // namespace q2
