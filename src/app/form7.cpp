#include "form7.h"

#include "app_context.h"
#include "app_title.h"
#include "cockpit/control_board.h"
#include "core/profile_file.h"
#include "planning/flight_plan.h"
#include "ui_form7.h"
#include "voice/checklist_file_check.h"
#include "voice/checklist_speaker.h"
#include "voice/mspeech.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

#include <filesystem>

namespace {

const QColor kIdle = QColor::fromRgb(QRgb(vantrel::ChecklistStrip::kIdle));

void Paint(QLabel* panel, const QColor& colour) {
    if (!panel) return;
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(p);
}

QWidget* TopLevelNamed(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name)) return w;
    return nullptr;
}

// Errors of the speech component reach the user in the standard error box.
void ShowError(QWidget* parent, const char* text) {
    auto* box = new QMessageBox(QMessageBox::Critical, QString::fromUtf8(vantrel::kApplicationTitle),
                                QString::fromUtf8(text), QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace

TForm7::TForm7(vantrel::AppContext& ctx, QWidget* parent, std::string checklistFile)
    : QWidget(parent), ctx_(ctx), ui(new Ui::TForm7), checklistFile_(std::move(checklistFile)) {
    ui->setupUi(this);
    // A floating strip above all windows, with a thin border and no caption.
    setWindowFlags(Qt::Window | Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFocusPolicy(Qt::StrongFocus);
    QPalette title = ui->Label8->palette();
    title.setColor(QPalette::Window, palette().color(QPalette::Active, QPalette::Highlight));
    title.setColor(QPalette::WindowText, palette().color(QPalette::Active, QPalette::HighlightedText));
    ui->Label8->setPalette(title);
    for (QLabel* panel : findChildren<QLabel*>()) {
        if (panel == ui->Label8) continue;
        Paint(panel, kIdle);
        panel->installEventFilter(this);
    }
    if (checklistFile_.empty()) {
        std::string dir = ctx_.plan ? ctx_.plan->paths.ProgramDir : std::string();
        if (dir.empty()) dir = QCoreApplication::applicationDirPath().toStdString() + "/";
        checklistFile_ = dir + "checklists/checklists.ini";
    }
    strip_.speakItem = [this](const std::string& section, int item) {
        return SpeakChecklistItem(section, item);
    };
    strip_.onChanged = [this](const std::string& name) {
        Paint(PanelNamed(name), QColor::fromRgb(QRgb(strip_.Color(name))));
    };
    // Show the colours before the speech starts (a repaint, not a nested event loop, so that
    // another click cannot start a step inside this one).
    strip_.showNow = [this] { repaint(); };
    PlaceWindow(-999, -999);
    FormCreate();
}

TForm7::~TForm7() {
    DestroySpeech();
}

void TForm7::FormCreate() {
    checklistsDisabled_ = true;
    std::error_code ec;
    if (std::filesystem::is_regular_file(checklistFile_, ec)) {
        checklistsDisabled_ = false;
        speech_ = std::make_unique<vantrel::TMSpeech>();
        ctx_.ChecklistSpeech = speech_.get();
        // The weather report speaks its sentence as one line, without its own voice settings.
        ctx_.speak = [this](const std::string& sentence) {
            if (!speech_) return;
            speech_->Text = {sentence};
            speech_->Speak();
        };
        const std::vector<std::string> engines = speech_->Engines();
        for (const std::string& name : engines)
            ui->lbengines->addItem(QString::fromStdString(name));
        const vantrel::ChecklistFileCheck check = vantrel::CheckChecklistFile(checklistFile_, engines.size());
        if (!check.problems.empty()) TellProblem(check.problems);
        if (check.voiceFound) {
            try {
                speech_->Select(engines[static_cast<std::size_t>(check.voice)]);
            } catch (const vantrel::EMSpeechException& e) {
                ShowError(this, e.what());
            }
            SpeakChecklistItem("welcome", 1);
            show();
        } else {
            checklistsDisabled_ = true;
            hide();
            HideWeatherButtons();
        }
    }
    ctx_.ChecklistsDisabled = checklistsDisabled_;
}

// What is wrong with the checklist file, told once at start-up without waiting for the user.
void TForm7::TellProblem(const std::string& text) {
    if (ctx_.dialogs.showError)
        ctx_.dialogs.showError(text);
    else
        ShowError(this, text.c_str());
}

void TForm7::HideWeatherButtons() {
    ctx_.WeatherButtonsHidden = true;
    if (ctx_.HideWeatherButtons) ctx_.HideWeatherButtons();
    if (QWidget* main = TopLevelNamed("Form1"))
        for (const char* name : {"Button5", "Button511", "Button11"})
            if (auto* button = main->findChild<QWidget*>(QLatin1String(name))) button->hide();
}

void TForm7::PlaceWindow(int left7, int top7) {
    const QWidget* main = TopLevelNamed("Form1");
    const QWidget* gauge = TopLevelNamed("Form4");
    const QRect mainFrame = main ? main->frameGeometry() : QRect();
    int left =
        left7 != -999 ? left7 : mainFrame.left() + mainFrame.width() - (gauge ? gauge->width() : 0) - 10;
    int top = top7 != -999 ? top7 : mainFrame.top() + 265;
    // Keep the whole strip on a screen: a position stored on a larger desktop, or the place
    // beside a main window near the screen's edge, must not leave it out of reach.
    const QScreen* screen = QGuiApplication::screenAt(QPoint(left, top));
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        left = std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - width()));
        top = std::clamp(top, area.top(), std::max(area.top(), area.bottom() + 1 - height()));
    }
    move(left, top);
}

void TForm7::ToggleChecklistWindow() {
    if (checklistsDisabled_) return;
    setVisible(!isVisible());
}

QLabel* TForm7::SpeedHoldPanel() const {
    return ui->pnat;
}

QLabel* TForm7::ReverseThrustPanel() const {
    return ui->pnrev;
}

void TForm7::ShowControl(const vantrel::ControlBoard& controls, const std::string& name) {
    QLabel* panel = name == "Form7.pnat" ? ui->pnat : name == "Form7.pnrev" ? ui->pnrev : nullptr;
    if (!panel || !controls.Has(name)) return;
    const vantrel::ControlState& state = controls.Get(name);
    panel->setText(QString::fromStdString(state.caption));
    Paint(panel, QColor::fromRgb(QRgb(state.color)));
}

void TForm7::DestroySpeech() {
    if (speech_ && ctx_.ChecklistSpeech == speech_.get()) {
        ctx_.ChecklistSpeech = nullptr;
        ctx_.speak = nullptr;
    }
    speech_.reset();
}

int TForm7::SpeakChecklistItem(const std::string& section, int item) {
    try {
        return vantrel::SpeakChecklistItem(speech_.get(), checklistsDisabled_, checklistFile_, section, item);
    } catch (const vantrel::EMSpeechException& e) {
        ShowError(this, e.what());
        return -1;
    }
}

QLabel* TForm7::PanelNamed(const std::string& name) const {
    return name.empty() ? nullptr : findChild<QLabel*>(QString::fromStdString(name));
}

QLabel* TForm7::CurrentChecklistPanel() const {
    return PanelNamed(strip_.CurrentChecklistPanel());
}

QLabel* TForm7::NextChecklistPanel() const {
    return PanelNamed(strip_.NextChecklistPanel());
}

void TForm7::StepChecklist(QLabel* panel) {
    if (panel) strip_.StepChecklist(panel->objectName().toStdString());
}

void TForm7::StartChecklist(QLabel* panel) {
    strip_.StartChecklist(panel->objectName().toStdString());
}

void TForm7::Panel2Click() {
    StartChecklist(ui->Panel2);
}
void TForm7::Panel1Click() {
    StartChecklist(ui->Panel1);
}
void TForm7::Panel4Click() {
    StartChecklist(ui->Panel4);
}
void TForm7::Panel5Click() {
    StartChecklist(ui->Panel5);
}
void TForm7::Panel10Click() {
    StartChecklist(ui->Panel10);
}
void TForm7::Panel12Click() {
    StartChecklist(ui->Panel12);
}
void TForm7::Panel6Click() {
    StartChecklist(ui->Panel6);
}
void TForm7::Panel7Click() {
    StartChecklist(ui->Panel7);
}
void TForm7::Panel8Click() {
    StartChecklist(ui->Panel8);
}
void TForm7::Panel9Click() {
    StartChecklist(ui->Panel9);
}
void TForm7::Panel11Click() {
    StartChecklist(ui->Panel11);
}

void TForm7::Panel13Click() {
    strip_.NextItem();
}

void TForm7::Panel14Click() {
    strip_.LastItem();
}

void TForm7::Panel3MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton) {
        QWidget* main = TopLevelNamed("Form1");
        if (!main) return;
        if (main->isVisible()) {
            main->hide();
        } else {
            main->showNormal();
            main->raise();
            main->activateWindow();
        }
    } else if (button == Qt::RightButton) {
        hide();
    }
}

bool TForm7::eventFilter(QObject* watched, QEvent* event) {
    auto* panel = qobject_cast<QLabel*>(watched);
    if (!panel) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        if (panel == ui->Panel3) Panel3MouseDown(static_cast<QMouseEvent*>(event)->button());
        return true; // panels are not drag handles
    }
    if (event->type() != QEvent::MouseButtonRelease) return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !panel->rect().contains(mouse->position().toPoint()))
        return true;
    const std::pair<QLabel*, void (TForm7::*)()> clicks[] = {
        {ui->Panel2, &TForm7::Panel2Click},   {ui->Panel1, &TForm7::Panel1Click},
        {ui->Panel4, &TForm7::Panel4Click},   {ui->Panel5, &TForm7::Panel5Click},
        {ui->Panel10, &TForm7::Panel10Click}, {ui->Panel12, &TForm7::Panel12Click},
        {ui->Panel6, &TForm7::Panel6Click},   {ui->Panel7, &TForm7::Panel7Click},
        {ui->Panel8, &TForm7::Panel8Click},   {ui->Panel9, &TForm7::Panel9Click},
        {ui->Panel11, &TForm7::Panel11Click}, {ui->Panel13, &TForm7::Panel13Click},
        {ui->Panel14, &TForm7::Panel14Click},
    };
    for (const auto& [p, handler] : clicks)
        if (p == panel) (this->*handler)();
    if (panel == ui->pnat && pnatClick) pnatClick();
    if (panel == ui->pnrev && pnrevClick) pnrevClick();
    return true;
}

void TForm7::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        strip_.NextItem();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Dragging with the left button from any point not covered by a panel.
void TForm7::mousePressEvent(QMouseEvent* event) {
    drag_.Press(*this, *event);
    QWidget::mousePressEvent(event);
}

void TForm7::mouseMoveEvent(QMouseEvent* event) {
    drag_.Move(*this, *event);
    QWidget::mouseMoveEvent(event);
}

void TForm7::mouseReleaseEvent(QMouseEvent* event) {
    drag_.Release(*event);
    QWidget::mouseReleaseEvent(event);
}

void TForm7::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
