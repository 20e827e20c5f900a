// The three-way save question.
#include "app/SaveChoice.h"

namespace q2 {

TSaveChoice AskSaveChoice(const QString& text) {
    Prompter& p = GetPrompter();
    if (auto* three = dynamic_cast<SaveChoicePrompter*>(&p)) return three->AskSave(text);
    return p.Ask(text) ? TSaveChoice::Discard : TSaveChoice::Cancel;
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
