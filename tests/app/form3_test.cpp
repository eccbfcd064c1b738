#include "app_fixture.h"
#include "form1.h"
#include "form3.h"

#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using vantrel::FieldId;

namespace {

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
    QProcess p;
    p.start("pdfinfo", {pdf});
    p.waitForFinished(30000);
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& line : info.split('\n'))
        if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return -1;
}

// The print window beside a started main window, with a printer of the test's own: a PDF
// printer writing into the test's folder, or none.
struct PrintFixture : ::testing::Test {
    AppFixture f;
    std::unique_ptr<TForm1> main;
    std::unique_ptr<TForm3> form;
    QString printed;  // the file the test's printer writes
    int printers = 0; // times the window asked for the default printer
    int heightAtPrint = -1;
    bool printerInstalled = true;

    void SetUp() override {
        main = std::make_unique<TForm1>(f.ctx);
        f.ctx.windows.Form1 = main.get();
        form = std::make_unique<TForm3>(f.ctx);
        f.ctx.windows.Form3 = form.get();
        printed = f.dir.path() + "/printed.pdf";
        f.plan.paths.DocumentsDir = f.dir.path().toStdString() + "/Documents/";
        form->defaultPrinter = [this]() -> std::unique_ptr<QPrinter> {
            ++printers;
            heightAtPrint = form->frameGeometry().height();
            if (!printerInstalled) return nullptr;
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printed);
            return printer;
        };
        form->localNow = [] { return QDateTime(QDate(2026, 3, 5), QTime(14, 30)); };
    }
    QString Label(const char* name) const { return form->findChild<QLabel*>(name)->text(); }
    QStringList Documents() const { return QDir(f.dir.path() + "/Documents").entryList(QDir::Files); }
};

} // namespace

TEST_F(PrintFixture, SheetIsLaidOutInRowsAndColumns) {
    EXPECT_EQ(form->windowTitle(), "Vantrel - Print");
    EXPECT_TRUE(form->windowFlags() & Qt::Tool);
    EXPECT_EQ(form->size(), QSize(338, 343));
    QWidget* sheet = form->SheetWidget();
    EXPECT_EQ(sheet->geometry(), QRect(0, 0, 338, 285));
    EXPECT_EQ(sheet->font().pixelSize(), 12);
    const auto* print = form->findChild<QPushButton*>("Button1");
    EXPECT_EQ(print->text(), "Print");
    EXPECT_EQ(print->y(), 302);
    struct Place {
        const char* text; // a caption, or a value label's name
        int left, top;
    };
    const Place places[] = {
        {"Operator", 16, 24},     {"st22", 70, 24},           {"Flight", 120, 24}, {"st23", 168, 24},
        {"Date", 218, 24},        {"st24", 268, 24},          {"Origin", 16, 48},  {"st1", 70, 48},
        {"Dist", 120, 48},        {"ETE", 268, 48},           {"Dest", 16, 68},    {"st9", 268, 68},
        {"st15", 70, 86},         {"st19", 268, 86},          {"F/A", 218, 108},   {"st32", 268, 108},
        {"BOW", 16, 134},         {"LDG", 268, 134},          {"st40", 16, 152},   {"st45", 268, 152},
        {"Taxi", 16, 174},        {"Total", 268, 174},        {"st70", 16, 194},   {"st75", 268, 194},
        {"Weights in:", 16, 214}, {"Reserve mode:", 16, 234},
    };
    for (const Place& p : places) {
        const QLabel* found = sheet->findChild<QLabel*>(p.text);
        for (const QLabel* l : sheet->findChildren<QLabel*>())
            if (!found && l->text() == p.text) found = l;
        ASSERT_NE(found, nullptr) << p.text;
        EXPECT_EQ(found->pos(), QPoint(p.left, p.top)) << p.text;
    }
    int values = 0;
    for (const QLabel* l : sheet->findChildren<QLabel*>())
        if (l->objectName().startsWith("st")) {
            ++values;
            EXPECT_TRUE(l->alignment() & Qt::AlignHCenter) << l->objectName().toStdString();
        }
    EXPECT_EQ(values, 31);
}

TEST_F(PrintFixture, MainWindowPrintFillsTheSheetAndClosingPrintsNothing) {
    f.plan.values.UtcBiasMinutes = 300; // west of Greenwich: 23:59 local is already tomorrow
    form->localNow = [] { return QDateTime(QDate(2026, 3, 4), QTime(23, 59)); };
    bool modal = false;
    QPoint centre;
    const int cuesBefore = f.switchCues;
    QTimer::singleShot(0, form.get(), [&] {
        modal = form->isVisible() && form->isModal();
        centre = form->frameGeometry().center() - main->frameGeometry().center();
        form->close();
    });
    main->findChild<QPushButton*>("Button51")->click();
    EXPECT_TRUE(modal);
    EXPECT_LE(centre.manhattanLength(), 6); // centred on the main window, frames aside
    EXPECT_EQ(f.switchCues, cuesBefore + 1);
    EXPECT_TRUE(form->SheetFilled());
    EXPECT_EQ(Label("st24"), "05/03");
    EXPECT_EQ(Label("st1").toStdString(), f.plan.Text(FieldId::Edit1));
    EXPECT_EQ(Label("st44").toStdString(), f.plan.Text(FieldId::Edit25));
    EXPECT_EQ(Label("st62"), "lbs");
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(printers, 0);
    EXPECT_FALSE(QFileInfo::exists(printed));
    EXPECT_TRUE(Documents().isEmpty());
}

TEST_F(PrintFixture, PrintSendsOnePageWithTheSheetAndClosesWithOk) {
    form->FillFromPlan(TForm3::CivilOf(form->localNow()));
    form->show();
    form->Button1Click();
    EXPECT_EQ(printers, 1);
    EXPECT_EQ(heightAtPrint, 310); // the sheet alone
    EXPECT_EQ(form->frameGeometry().height(), 364);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(f.errors.empty());
    ASSERT_TRUE(QFileInfo::exists(printed));
    EXPECT_EQ(PdfPages(printed), 1);
    const QString text = PdfText(printed);
    EXPECT_TRUE(text.contains("ERJ-145LR Ops Flight Plan")) << text.toStdString();
    EXPECT_TRUE(text.contains("05/03"));
    EXPECT_TRUE(text.contains(QString::fromStdString(f.plan.Text(FieldId::Edit1))));
    EXPECT_TRUE(Documents().isEmpty());
}

TEST_F(PrintFixture, PrinterErrorIsShownAndTheWindowStays) {
    printed = f.dir.path() + "/no such folder/printed.pdf";
    form->FillFromPlan(TForm3::CivilOf(form->localNow()));
    form->show();
    form->Button1Click();
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_TRUE(QString::fromStdString(f.errors[0]).startsWith("The ops flight plan could not be printed"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->frameGeometry().height(), 364);
    EXPECT_NE(form->result(), QDialog::Accepted);
    EXPECT_TRUE(Documents().isEmpty());
}

TEST_F(PrintFixture, WithoutAPrinterThePageGoesToTheDocumentsFolderAsPdf) {
    printerInstalled = false;
    f.plan.UserSetText(FieldId::Edit2, "EHAM");
    const QString first = f.dir.path() + "/Documents/Ops flight plan 2026-03-05 " +
                          QString::fromStdString(f.plan.Text(FieldId::Edit1)) + "-EHAM.pdf";
    for (const QString& expected : {first, QString(first).replace(".pdf", " (2).pdf")}) {
        form->FillFromPlan(TForm3::CivilOf(form->localNow()));
        form->show();
        form->Button1Click();
        EXPECT_EQ(form->result(), QDialog::Accepted);
        ASSERT_TRUE(QFileInfo::exists(expected)) << Documents().join(", ").toStdString();
        ASSERT_FALSE(f.messages.empty());
        EXPECT_EQ(f.messages.back(), "No printer is installed. The ops flight plan was written to PDF at " +
                                         expected.toStdString());
        EXPECT_EQ(PdfPages(expected), 1);
        EXPECT_TRUE(PdfText(expected).contains("EHAM"));
    }
    EXPECT_EQ(Documents().size(), 2);
    EXPECT_FALSE(QFileInfo::exists(printed));
    EXPECT_TRUE(f.errors.empty());
}

TEST_F(PrintFixture, UnwritableDocumentsFolderIsReportedAndTheWindowStays) {
    printerInstalled = false;
    QFile blocker(f.dir.path() + "/Documents");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    form->FillFromPlan(TForm3::CivilOf(form->localNow()));
    form->show();
    form->Button1Click();
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_TRUE(
        QString::fromStdString(f.errors[0]).startsWith("The ops flight plan could not be written to "));
    EXPECT_TRUE(f.messages.empty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->frameGeometry().height(), 364);
}
