// The three-way save question.
#include "app/SaveChoice.h"

namespace q2 {

TSaveChoice AskSaveChoice(const QString& text) {
    Prompter& p = GetPrompter();
    if (auto* three = dynamic_cast<SaveChoicePrompter*>(&p)) return three->AskSave(text);
    return p.Ask(text) ? TSaveChoice::Discard : TSaveChoice::Cancel;
}

TChangedFileChoice AskChangedFileChoice(const QString& text) {
    Prompter& p = GetPrompter();
    if (auto* four = dynamic_cast<ChangedFilePrompter*>(&p)) return four->AskChangedFile(text);
    return p.Ask(text) ? TChangedFileChoice::Overwrite : TChangedFileChoice::Cancel;
}

TChangedFileChoice ScriptedChoicePrompter::AskChangedFile(const QString& text) {
    if (changedFileChoices.empty())
        return Ask(text) ? TChangedFileChoice::Overwrite : TChangedFileChoice::Cancel;
    shown.append(text);
    asked.append(text);
    const TChangedFileChoice c = changedFileChoices.front();
    changedFileChoices.pop_front();
    return c;
}

TSaveChoice ScriptedChoicePrompter::AskSave(const QString& text) {
    if (choices.empty()) return Ask(text) ? TSaveChoice::Discard : TSaveChoice::Cancel;
    shown.append(text);
    asked.append(text);
    const TSaveChoice c = choices.front();
    choices.pop_front();
    return c;
}

}  // namespace q2
