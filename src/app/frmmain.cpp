#include "frmmain.h"

#include "app_context.h"
#include "ui_frmmain.h"
#include "voice/mspeech.h"

#include <QEvent>
#include <QKeySequence>
#include <QMessageBox>
#include <QShortcut>

#include <cstring>

TfrmMain::TfrmMain(vantrel::AppContext& ctx, QWidget* parent) : TfrmMain(ctx, parent, nullptr) {}

TfrmMain::TfrmMain(vantrel::AppContext& ctx, QWidget* parent, std::unique_ptr<vantrel::TMSpeech> speech)
    : QWidget(parent), ctx_(ctx), ui(new Ui::TfrmMain) {
    ui->setupUi(this);
    // System menu and close box only: no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(544, 375);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmMain::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TfrmMain::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TfrmMain::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TfrmMain::Button4Click);
    for (QSlider* bar : {ui->PitchBar, ui->SpeedBar, ui->VolumeBar})
        bar->installEventFilter(this);
    FormCreate(std::move(speech));
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate(std::unique_ptr<vantrel::TMSpeech> speech) {
    if (!speech) speech = std::make_unique<vantrel::TMSpeech>();
    speech_ = speech.release();
    speech_->setParent(this);
    speech_->OnStart = [this](QObject*) { SpeechStart(); };
    speech_->OnStop = [this](QObject*) { SpeechStop(); };
}

void TfrmMain::ShowVoiceWindow() {
    show();
    raise();
    activateWindow();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TfrmMain::FormShow() {
    ui->lbEngines->clear();
    if (!speech_->Initialized()) {
        auto* box =
            new QMessageBox(QMessageBox::NoIcon, windowTitle(), "No speaker found", QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    for (const std::string& name : speech_->Engines())
        ui->lbEngines->addItem(QString::fromStdString(name));
}

void TfrmMain::ShowError(const char* text) {
    auto* box =
        new QMessageBox(QMessageBox::Critical, windowTitle(), QString::fromUtf8(text), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void TfrmMain::Button1Click() {
    int first = -1;
    for (const QModelIndex& index : ui->lbEngines->selectionModel()->selectedIndexes())
        if (first < 0 || index.row() < first) first = index.row();
    if (first < 0) return;
    try {
        speech_->Select(ui->lbEngines->item(first)->text().toStdString());
    } catch (const vantrel::EMSpeechException& e) {
        ShowError(e.what());
        return;
    }
    ui->GroupBox3->setEnabled(true);
    ui->Button2->setEnabled(true);
    const vantrel::TMSpeechEngineInfo& info = speech_->EngineInfo();
    ui->PitchBar->setRange(info.MinPitch, info.MaxPitch);
    ui->PitchBar->setValue(speech_->GetPitch());
    ui->PitchMax->setText(QString::number(info.MaxPitch));
    ui->PitchMin->setText(QString::number(info.MinPitch));
    ui->SpeedBar->setRange(static_cast<int>(info.MinSpeed), static_cast<int>(info.MaxSpeed));
    ui->SpeedBar->setValue(static_cast<int>(speech_->GetSpeed()));
    ui->SpeedMax->setText(QString::number(info.MaxSpeed));
    ui->SpeedMin->setText(QString::number(info.MinSpeed));
    ui->VolumeBar->setValue(speech_->GetVolume());
    ui->VolumeBar->setRange(static_cast<int>(info.MinVolume), static_cast<int>(info.MaxVolume));
    ui->VolumeBar->setValue(speech_->GetVolume());
    for (QSlider* bar : {ui->PitchBar, ui->SpeedBar, ui->VolumeBar})
        bar->setToolTip(QString::number(bar->value()));
}

void TfrmMain::Button2Click() {
    speech_->SetText(ui->TextPad->toPlainText().toStdString());
    try {
        speech_->Speak();
    } catch (const vantrel::EMSpeechException& e) {
        ShowError(e.what());
        return;
    }
    ui->Button3->setEnabled(true);
}

void TfrmMain::Button3Click() {
    if (speech_->Paused())
        speech_->Resume();
    else
        speech_->Pause();
}

void TfrmMain::Button4Click() {
    speech_->Stop();
}

// A bar's new position takes effect when the bar loses the focus.
bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == ui->PitchBar)
            PitchBarExit();
        else if (watched == ui->SpeedBar)
            SpeedBarExit();
        else if (watched == ui->VolumeBar)
            VolumeBarExit();
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::PitchBarExit() {
    ui->PitchBar->setToolTip(QString::number(ui->PitchBar->value()));
    speech_->SetPitch(static_cast<std::uint16_t>(ui->PitchBar->value()));
}

void TfrmMain::SpeedBarExit() {
    ui->SpeedBar->setToolTip(QString::number(ui->SpeedBar->value()));
    speech_->SetSpeed(static_cast<std::uint32_t>(ui->SpeedBar->value()));
}

void TfrmMain::VolumeBarExit() {
    ui->VolumeBar->setToolTip(QString::number(ui->VolumeBar->value()));
    speech_->SetVolume(ui->VolumeBar->value());
}

void TfrmMain::SpeechStart() {
    setWindowTitle("Text-to-Speech (Speaking)");
    ui->Button3->setText("&Pause");
    ui->Button4->setEnabled(true);
}

void TfrmMain::SpeechStop() {
    setWindowTitle("Text-to-Speech");
    ui->Button4->setEnabled(false);
    if (speech_->Paused())
        ui->Button3->setText("&Resume");
    else
        ui->Button3->setEnabled(false);
}

void InstallVoiceWindowShortcut(QWidget* mainWindow, TfrmMain* voiceWindow) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), mainWindow);
    QObject::connect(shortcut, &QShortcut::activated, voiceWindow, &TfrmMain::ShowVoiceWindow);
}

bool HasVoicesSwitch(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--voices") == 0) return true;
    return false;
}
