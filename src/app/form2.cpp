#include "form2.h"

#include "app_context.h"
#include "ui_form2.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

TForm2::TForm2(vantrel::AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), ctx_(ctx),
      ui(new Ui::TForm2) {
    ui->setupUi(this);
    setFixedSize(295, 96);
    ui->Image1->setPixmap(QPixmap(QStringLiteral(":/images/splash.jpg")));
    ui->Image1->installEventFilter(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3500);
    connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
    Timer1->start();
}

TForm2::~TForm2() = default;

void TForm2::Timer1Timer() {
    Timer1->stop();
    hide();
}

void TForm2::Image1Click() {
    Timer1->stop();
    hide();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Image1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
