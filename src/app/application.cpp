#include "application.h"

#include "fogenhttp.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "form5.h"
#include "form6.h"
#include "form7.h"
#include "formmain.h"
#include "frmmain.h"

#include "planning/flight_plan.h"

#include <QCoreApplication>

namespace vantrel {

Application::Application() : plan_(std::make_unique<FlightPlan>()) {
    ctx_.plan = plan_.get();
}

Application::~Application() {
    // The windows go before the plan and the context they refer to; the main window last,
    // because the others may still read it while they close.
    form6_.reset();
    frmMain_.reset();
    form3_.reset();
    form7_.reset();
    formMain_.reset();
    foGenHTTP_.reset();
    form5_.reset();
    form4_.reset();
    form2_.reset();
    form1_.reset();
}

template <class Window> void Application::Create(std::unique_ptr<Window>& slot, Window*& published) {
    slot = std::make_unique<Window>(ctx_, nullptr);
    published = slot.get();
    created_.push_back(published);
}

bool Application::CreateWindows(const std::string& programDir) {
    ctx_.programDir = programDir;
    WindowSet& w = ctx_.windows;
    Create(form1_, w.Form1);
    TForm1* main = w.Form1;
    if (main->StartupResult() == StartupResult::StoppedByUser) return false;
    // Closing the main window ends the program, whatever other windows are still open.
    QObject::connect(main, &TForm1::closed, QCoreApplication::instance(), &QCoreApplication::quit);
    Create(form2_, w.Form2);
    Create(form4_, w.Form4);
    Create(form5_, w.Form5);
    Create(foGenHTTP_, w.foGenHTTP);
    Create(formMain_, w.FormMain);
    Create(form7_, w.Form7);
    Create(form3_, w.Form3);
    Create(frmMain_, w.frmMain);
    Create(form6_, w.Form6);
    return true;
}

void Application::ShowWindows() {
    TForm1* main = ctx_.windows.Form1;
    main->show();
    ctx_.windows.Form4->show();
    main->raise();
    main->activateWindow();
    ctx_.windows.Form2->show();
    ctx_.windows.Form2->raise();
}

} // namespace vantrel
