// The one way the program tells the user something or asks a Yes/No question.
// The application installs message boxes; tests install a scripted prompter.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>

namespace q2 {

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void Inform(const QString& text) = 0;
    virtual bool Ask(const QString& text) = 0;
};

// The prompter in force. Without one installed, texts go to standard error
// and questions are answered No.
Prompter& GetPrompter();
void SetPrompter(Prompter* prompter);  // nullptr restores the default

// Records every text shown and answers questions from a queue (No when empty).
class ScriptedPrompter : public Prompter {
public:
    void Inform(const QString& text) override { shown.append(text); }
    bool Ask(const QString& text) override {
        shown.append(text);
        asked.append(text);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QStringList shown;  // informs and questions, in order
    QStringList asked;
    std::deque<bool> answers;
};

// Installs a prompter for the lifetime of a scope.
class ScopedPrompter {
public:
    explicit ScopedPrompter(Prompter& p) { SetPrompter(&p); }
    ~ScopedPrompter() { SetPrompter(nullptr); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;
};

}  // namespace q2
