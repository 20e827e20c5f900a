// Default prompter for programs without windows.
#include "Prompter.h"

#include <cstdio>

namespace q2 {
namespace {

class StderrPrompter : public Prompter {
public:
    void Inform(const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    bool Ask(const QString& text) override {
        std::fprintf(stderr, "%s (No)\n", text.toUtf8().constData());
        return false;
    }
};

StderrPrompter defaultPrompter;
Prompter* current = nullptr;

}  // namespace

Prompter& GetPrompter() { return current ? *current : defaultPrompter; }
void SetPrompter(Prompter* prompter) { current = prompter; }

}  // namespace q2
