// The book's undo and redo steps, and the point at which the book was last
// saved: the modified mark follows this history.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

namespace q2 {

// One change that has already been made and can be taken back and made again.
class TUndoStep {
public:
    virtual ~TUndoStep() = default;
    virtual QString Text() const = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    // Folds `next`, made right after this step, into this one; false when the
    // two stay separate steps.
    virtual bool MergeWith(const TUndoStep& /*next*/) { return false; }
};

class TUndoHistory : public QObject {
    Q_OBJECT
public:
    // Records a change already made. Steps undone before are dropped.
    void Push(std::unique_ptr<TUndoStep> step);
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < int(steps_.size()); }
    QString UndoText() const;
    QString RedoText() const;
    void Undo();
    void Redo();
    int Count() const { return int(steps_.size()); }

    // Saved means the book is as it was at the last save (or open).
    bool Saved() const { return done_ == savedAt_; }
    // Saved(true) marks the present as the saved point; false marks a change
    // no step can take back, so no undo reaches a saved state again.
    void SetSaved(bool saved);
    // Forgets every step; the saved state stays as it is.
    void Clear();

signals:
    void Changed();

private:
    std::vector<std::unique_ptr<TUndoStep>> steps_;
    int done_ = 0;     // steps_[0, done_) are in effect
    int savedAt_ = 0;  // -1: no point of the history is the saved book
};

}  // namespace q2
