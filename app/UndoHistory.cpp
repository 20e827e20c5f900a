// The book's undo history.
#include "app/UndoHistory.h"

namespace q2 {

void TUndoHistory::Push(std::unique_ptr<TUndoStep> step) {
    if (savedAt_ > done_) savedAt_ = -1;  // the saved state lay in the dropped branch
    steps_.erase(steps_.begin() + done_, steps_.end());
    // A step is not folded into one the saved state depends on.
    if (done_ > 0 && savedAt_ != done_ && steps_[done_ - 1]->MergeWith(*step)) {
        emit Changed();
        return;
    }
    steps_.push_back(std::move(step));
    ++done_;
    emit Changed();
}

QString TUndoHistory::UndoText() const {
    return CanUndo() ? steps_[done_ - 1]->Text() : QString();
}

QString TUndoHistory::RedoText() const {
    return CanRedo() ? steps_[done_]->Text() : QString();
}

void TUndoHistory::Undo() {
    if (!CanUndo()) return;
    --done_;
    steps_[done_]->Undo();
    emit Changed();
}

void TUndoHistory::Redo() {
    if (!CanRedo()) return;
    steps_[done_]->Redo();
    ++done_;
    emit Changed();
}

void TUndoHistory::SetSaved(bool saved) {
    const bool was = Saved();
    if (saved)
        savedAt_ = done_;
    else if (savedAt_ == done_)
        savedAt_ = -1;
    if (was != Saved()) emit Changed();
}

void TUndoHistory::Clear() {
    const bool saved = Saved();
    steps_.clear();
    done_ = 0;
    savedAt_ = saved ? 0 : -1;
    emit Changed();
}

}  // namespace q2
