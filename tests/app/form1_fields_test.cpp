// The main window shows the plan's fields and hands every user edit to the plan.
#include "app_fixture.h"
#include "form1.h"

#include "planning/field_id.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

using vantrel::EditField;
using vantrel::FieldId;
namespace colors = vantrel::colors;

namespace {

struct Form1Fixture : ::testing::Test {
    AppFixture f;
    std::unique_ptr<TForm1> form;

    void SetUp() override {
        form = std::make_unique<TForm1>(f.ctx);
        f.errors.clear();
    }
    QLineEdit* Edit(int n) const { return qobject_cast<QLineEdit*>(form->FieldWidget(EditField(n))); }
    template <class W> W* Widget(FieldId id) const { return qobject_cast<W*>(form->FieldWidget(id)); }
    static bool ShowsColor(const QWidget* w, std::uint32_t rgb) {
        return w->styleSheet().contains(
            QStringLiteral("background-color: #%1;").arg(rgb, 6, 16, QLatin1Char('0')));
    }
    void Paste(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        edit->insert(text);
    }
};

} // namespace

TEST_F(Form1Fixture, EveryPlanFieldHasItsControl) {
    for (int n = 1; n <= 54; ++n) {
        ASSERT_NE(Edit(n), nullptr) << "Edit" << n;
        // Texts read from files are cut to the same length as the box takes typing.
        const int limit = vantrel::MaxTextLength(vantrel::EditField(n));
        EXPECT_EQ(Edit(n)->maxLength(), limit > 0 ? limit : 32767) << "Edit" << n;
    }
    for (FieldId id : {FieldId::cb3, FieldId::ComboBox1, FieldId::ComboBox2, FieldId::ComboBox3})
        EXPECT_NE(Widget<QComboBox>(id), nullptr);
    EXPECT_NE(Widget<QCheckBox>(FieldId::cbRVSM), nullptr);
    EXPECT_NE(Widget<QScrollBar>(FieldId::ScrollBar1), nullptr);
    EXPECT_NE(Widget<QScrollBar>(FieldId::ScrollBar2), nullptr);
    for (FieldId id :
         {FieldId::Label74, FieldId::Label75, FieldId::Label95, FieldId::label87, FieldId::Panel6})
        EXPECT_NE(Widget<QLabel>(id), nullptr);
    EXPECT_NE(form->FieldWidget(FieldId::rg2), nullptr);
}

TEST_F(Form1Fixture, ShowsThePlansTextsAndColours) {
    for (int n = 1; n <= 54; ++n) {
        EXPECT_EQ(Edit(n)->text().toStdString(), f.plan.Text(EditField(n))) << "Edit" << n;
        EXPECT_TRUE(ShowsColor(Edit(n), f.plan.Color(EditField(n)))) << "Edit" << n;
    }
    EXPECT_EQ(Widget<QComboBox>(FieldId::cb3)->currentIndex(), f.plan.ItemIndex(FieldId::cb3));
    EXPECT_EQ(Widget<QScrollBar>(FieldId::ScrollBar2)->value(), f.plan.Position(FieldId::ScrollBar2));
    EXPECT_EQ(Widget<QLabel>(FieldId::Label74)->text().toStdString(), f.plan.Text(FieldId::Label74));
}

TEST_F(Form1Fixture, FollowsThePlansChanges) {
    f.plan.SetColor(FieldId::Edit13, colors::Red);
    EXPECT_TRUE(ShowsColor(Edit(13), colors::Red));
    f.plan.SetText(FieldId::Edit30, "1234");
    EXPECT_EQ(Edit(30)->text(), "1234");
    f.plan.SetPosition(FieldId::ScrollBar1, -50);
    EXPECT_EQ(Widget<QScrollBar>(FieldId::ScrollBar1)->value(), -50);
    EXPECT_EQ(Widget<QLabel>(FieldId::Label75)->text(), QString::fromUtf8("-50°C/-58°F"));
    f.plan.SetItemIndex(FieldId::rg2, 0);
    EXPECT_TRUE(form->FieldWidget(FieldId::rg2)->findChild<QRadioButton*>("rg2Item0")->isChecked());
    EXPECT_TRUE(f.errors.empty());
}

TEST_F(Form1Fixture, TypedTextGoesToThePlanAndRipples) {
    Edit(13)->selectAll();
    TypeText(Edit(13), "10");
    EXPECT_EQ(f.plan.Text(FieldId::Edit13), "10");
    EXPECT_EQ(f.plan.Text(FieldId::Edit50), "1"); // fewer passengers than needed for two attendants
    EXPECT_EQ(Edit(50)->text(), "1");
    EXPECT_TRUE(f.errors.empty());
}

TEST_F(Form1Fixture, SelectionsCheckBoxAndBarsGoToThePlan) {
    auto* reserves = Widget<QComboBox>(FieldId::cb3);
    reserves->setCurrentIndex(2);
    emit reserves->activated(2);
    EXPECT_EQ(f.plan.ItemIndex(FieldId::cb3), 2);
    EXPECT_EQ(f.plan.Text(FieldId::Edit21), "1166"); // NBAA reserve in pounds

    const bool rvsm = f.plan.Checked(FieldId::cbRVSM);
    Widget<QCheckBox>(FieldId::cbRVSM)->click();
    EXPECT_EQ(f.plan.Checked(FieldId::cbRVSM), !rvsm);

    Widget<QScrollBar>(FieldId::ScrollBar2)->setValue(994);
    EXPECT_EQ(f.plan.Position(FieldId::ScrollBar2), 994);
    EXPECT_EQ(f.plan.Text(FieldId::Label74), "994/2935");

    form->FieldWidget(FieldId::rg2)->findChild<QRadioButton*>("rg2Item0")->click();
    EXPECT_EQ(f.plan.ItemIndex(FieldId::rg2), 0);
    EXPECT_TRUE(f.errors.empty());
}

TEST_F(Form1Fixture, ProgramSelectionOfTheActiveFlightRunsNothing) {
    int lookups = 0;
    f.plan.onComboBox3Change = [&lookups] { ++lookups; };
    f.plan.SetItems(FieldId::ComboBox3, {"Flight A", "Flight B"});
    f.plan.SetItemIndex(FieldId::ComboBox3, 1);
    auto* flights = Widget<QComboBox>(FieldId::ComboBox3);
    EXPECT_EQ(flights->count(), 2);
    EXPECT_EQ(flights->currentText(), "Flight B");
    EXPECT_EQ(lookups, 0);
    emit flights->activated(0); // the user's pick runs the look-up
    EXPECT_EQ(lookups, 1);
}

TEST_F(Form1Fixture, ComputedAndLimitFieldsCannotBeTyped) {
    for (int n :
         {4, 5, 7, 8, 11, 12, 16, 19, 20, 21, 23, 24, 25, 26, 29, 35, 36, 37, 45, 46, 47, 48, 28, 30, 49, 50})
        EXPECT_TRUE(Edit(n)->isReadOnly()) << "Edit" << n;
    for (int n : {27, 31, 32, 33, 34, 52}) {
        EXPECT_TRUE(Edit(n)->isReadOnly()) << "Edit" << n;
        EXPECT_EQ(Edit(n)->focusPolicy(), Qt::NoFocus) << "Edit" << n;
    }
    for (int n : {1, 2, 3, 6, 9, 10, 13, 14, 15, 17, 18, 22, 51, 53, 54})
        EXPECT_FALSE(Edit(n)->isReadOnly()) << "Edit" << n;
}

TEST_F(Form1Fixture, PastedNonNumberShowsTheConversionErrorAndKeepsEarlierResults) {
    const std::string zfw = f.plan.Text(FieldId::Edit23);
    const std::string block = f.plan.Text(FieldId::Edit24);
    const std::string total = f.plan.Text(FieldId::Edit29);
    Paste(Edit(17), "12a");
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_EQ(f.errors[0], "'12a' is not a valid integer value");
    EXPECT_EQ(Edit(17)->text(), "12a");
    EXPECT_EQ(f.plan.Text(FieldId::Edit23), zfw);
    EXPECT_EQ(f.plan.Text(FieldId::Edit24), block);
    EXPECT_EQ(f.plan.Text(FieldId::Edit29), total);

    // The window goes on working: a valid value recomputes everything again.
    Paste(Edit(17), "27337");
    EXPECT_EQ(f.errors.size(), 1u);
    Paste(Edit(13), "51");
    EXPECT_TRUE(f.plan.Color(FieldId::Edit13) == colors::Red);
    EXPECT_TRUE(ShowsColor(Edit(13), colors::Red));
}

TEST_F(Form1Fixture, EveryBadPasteIsReportedOnce) {
    Paste(Edit(15), "1o");
    Paste(Edit(15), "500");
    Paste(Edit(18), "-");
    EXPECT_EQ(f.errors, (std::vector<std::string>{"'1o' is not a valid integer value",
                                                  "'-' is not a valid integer value"}));
}

TEST_F(Form1Fixture, RefusesToBeResized) {
    const QSize before = form->size();
    form->resize(before + QSize(100, 100));
    EXPECT_EQ(form->size(), before);
    form->resize(before - QSize(100, 100));
    EXPECT_EQ(form->size(), before);
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

TEST_F(Form1Fixture, FitsA1280By800Screen) {
    EXPECT_LE(form->frameGeometry().width(), 1280);
    EXPECT_LE(form->frameGeometry().height(), 800 - 60); // room for a title bar and a task bar
}

TEST_F(Form1Fixture, MessageBoxesOnTheWindowKeepTheirOwnReadableLook) {
    // A message box is a child of the window; the window's light-on-dark captions must not
    // reach its text.
    QMessageBox box(QMessageBox::Critical, "Vantrel Suite", "Cannot find FS2004 installation.",
                    QMessageBox::Yes | QMessageBox::No, form.get());
    box.ensurePolished();
    for (QLabel* label : box.findChildren<QLabel*>()) {
        label->ensurePolished();
        EXPECT_NE(label->palette().color(QPalette::WindowText), QColor(0xe6, 0xe6, 0xe6));
    }
    auto* caption = form->findChild<QLabel*>("capEdit13");
    caption->ensurePolished();
    EXPECT_EQ(caption->palette().color(QPalette::WindowText), QColor(0xe6, 0xe6, 0xe6));
}
