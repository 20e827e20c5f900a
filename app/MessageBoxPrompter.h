// Messages and Yes/No questions as modal message boxes with the program's caption.
#pragma once

#include <QString>

#include "platform/Prompter.h"

namespace q2 {

class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QString caption) : caption_(std::move(caption)) {}
    void Inform(const QString& text) override;
    bool Ask(const QString& text) override;

private:
    QString caption_;
};

}  // namespace q2
