// The status window of a bulk mail run: progress, status text and cancel.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace q2 {

class TFormSendStatus : public QDialog {
    Q_OBJECT
public:
    explicit TFormSendStatus(QWidget* parent = nullptr);

    // Sets the range and moves the position to its minimum.
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    void SetStatus(const QString& text);
    bool Cancelled() const { return cancelled_; }
    void BtnCancelClick();

    QProgressBar* GaugeStatus;
    QLabel* LblStatus;
    QPushButton* BtnCancel;

signals:
    void StatusChanged(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    // The window is shown only during a run; closing it asks to cancel, and
    // the dialog hides it when the run has ended.
    void closeEvent(QCloseEvent* event) override;
    void reject() override { BtnCancelClick(); }

private:
    bool cancelled_ = false;
};

}  // namespace q2
