// The status window of a bulk mail run.
#include "FormSendStatus.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace q2 {

TFormSendStatus::TFormSendStatus(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("送信状況"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    GaugeStatus = new QProgressBar(this);
    GaugeStatus->setTextVisible(false);
    LblStatus = new QLabel(this);
    LblStatus->setMinimumWidth(360);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblStatus);
    layout->addWidget(GaugeStatus);
    layout->addWidget(BtnCancel, 0, Qt::AlignHCenter);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormSendStatus::BtnCancelClick);
}

void TFormSendStatus::SetRange(int minimum, int maximum) {
    GaugeStatus->setRange(minimum, maximum);
    GaugeStatus->setValue(minimum);
}

void TFormSendStatus::SetPosition(int position) {
    GaugeStatus->setValue(position);
}

void TFormSendStatus::SetStatus(const QString& text) {
    LblStatus->setText(text);
    emit StatusChanged(text);
}

void TFormSendStatus::BtnCancelClick() {
    cancelled_ = true;
}

void TFormSendStatus::showEvent(QShowEvent* event) {
    cancelled_ = false;
    QDialog::showEvent(event);
}

void TFormSendStatus::closeEvent(QCloseEvent* event) {
    BtnCancelClick();
    event->ignore();
}

}  // namespace q2
