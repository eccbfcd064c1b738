// The main window's key filter: upper case, digits only in plan fields, letters in airport
// codes, free text in the active-flight strip, and the select-all of airport codes.
#include "app_fixture.h"
#include "form1.h"
#include "key_filter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

using vantrel::EditField;
using vantrel::FieldId;
using vantrel::FilterPlanKey;
using vantrel::KeyTarget;

TEST(FilterPlanKey, AirportCodesTakeLettersAndDigitsInUpperCase) {
    auto d = FilterPlanKey(u'k', KeyTarget::AirportCode);
    EXPECT_TRUE(d.accept);
    EXPECT_EQ(d.key, QChar(u'K'));
    EXPECT_TRUE(d.switchCue);
    EXPECT_TRUE(FilterPlanKey(u'7', KeyTarget::AirportCode).accept);
    EXPECT_FALSE(FilterPlanKey(u' ', KeyTarget::AirportCode).accept);
    EXPECT_FALSE(FilterPlanKey(u'-', KeyTarget::AirportCode).accept);
    EXPECT_FALSE(FilterPlanKey(QChar(0xE4), KeyTarget::AirportCode).accept); // a letter outside A-Z
}

TEST(FilterPlanKey, OtherFieldsTakeDigitsOnly) {
    EXPECT_TRUE(FilterPlanKey(u'0', KeyTarget::Other).accept);
    EXPECT_TRUE(FilterPlanKey(u'9', KeyTarget::Other).accept);
    for (char16_t c : {u'-', u'.', u',', u'a', u'Z', u'+', u' '})
        EXPECT_FALSE(FilterPlanKey(c, KeyTarget::Other).accept);
    EXPECT_TRUE(FilterPlanKey(u'-', KeyTarget::Other).switchCue); // the click sounds all the same
}

TEST(FilterPlanKey, BackspacePassesControlCharactersDoNot) {
    EXPECT_TRUE(FilterPlanKey(u'\b', KeyTarget::Other).accept);
    EXPECT_TRUE(FilterPlanKey(u'\b', KeyTarget::AirportCode).accept);
    EXPECT_FALSE(FilterPlanKey(u'\r', KeyTarget::Other).accept);
    EXPECT_FALSE(FilterPlanKey(QChar(0x16), KeyTarget::Other).accept);       // Ctrl+V
    EXPECT_FALSE(FilterPlanKey(QChar(0x03), KeyTarget::AirportCode).accept); // Ctrl+C
}

TEST(FilterPlanKey, FreeTextTakesEverythingInUpperCaseWithoutClick) {
    auto d = FilterPlanKey(u'a', KeyTarget::FreeText);
    EXPECT_TRUE(d.accept);
    EXPECT_EQ(d.key, QChar(u'A'));
    EXPECT_FALSE(d.switchCue);
    EXPECT_TRUE(FilterPlanKey(u'-', KeyTarget::FreeText).accept);
    EXPECT_TRUE(FilterPlanKey(QChar(0x16), KeyTarget::FreeText).accept);
}

namespace {

struct KeysFixture : ::testing::Test {
    AppFixture f;
    std::unique_ptr<TForm1> form;
    void SetUp() override {
        form = std::make_unique<TForm1>(f.ctx);
        f.switchCues = 0;
    }
    QLineEdit* Edit(int n) const { return qobject_cast<QLineEdit*>(form->FieldWidget(EditField(n))); }
};

} // namespace

TEST_F(KeysFixture, LowerCaseLetterInAnAirportCodeEntersUpperCase) {
    Edit(1)->clear();
    TypeText(Edit(1), "k");
    EXPECT_EQ(Edit(1)->text(), "K");
    EXPECT_EQ(f.plan.Text(FieldId::Edit1), "K");
    EXPECT_EQ(f.switchCues, 1);
}

TEST_F(KeysFixture, MinusSignInAWindComponentIsDiscarded) {
    Edit(9)->setText("5");
    Edit(9)->end(false);
    TypeKey(Edit(9), Qt::Key_Minus, "-");
    EXPECT_EQ(Edit(9)->text(), "5");
    TypeText(Edit(9), "0");
    EXPECT_EQ(Edit(9)->text(), "50");
    EXPECT_EQ(f.switchCues, 2);
}

TEST_F(KeysFixture, LettersAndDecimalMarksNeverReachANumberField) {
    Edit(15)->setText("500");
    Edit(15)->end(false);
    TypeText(Edit(15), "a.,e");
    EXPECT_EQ(Edit(15)->text(), "500");
}

TEST_F(KeysFixture, FreeTextFieldTakesLettersInUpperCaseWithoutClick) {
    TypeText(Edit(51), "d-abcd");
    EXPECT_EQ(Edit(51)->text(), "D-ABCD");
    EXPECT_EQ(f.plan.Text(FieldId::Edit51), "D-ABCD");
    EXPECT_EQ(f.switchCues, 0);
}

TEST_F(KeysFixture, BackspacePassesEnterAndOtherControlKeysDoNot) {
    Edit(13)->setText("50");
    Edit(13)->end(false);
    TypeKey(Edit(13), Qt::Key_Backspace, "\b");
    EXPECT_EQ(Edit(13)->text(), "5");
    TypeKey(Edit(13), Qt::Key_Return, "\r");
    Edit(13)->home(false);
    TypeKey(Edit(13), Qt::Key_K, "\x0b", Qt::ControlModifier); // Ctrl+K would cut to the end
    EXPECT_EQ(Edit(13)->text(), "5");
}

TEST_F(KeysFixture, NavigationKeysAreNotFiltered) {
    Edit(13)->setText("50");
    Edit(13)->end(false);
    TypeKey(Edit(13), Qt::Key_Left, "");
    EXPECT_EQ(Edit(13)->cursorPosition(), 1);
    EXPECT_EQ(f.switchCues, 0);
}

TEST_F(KeysFixture, AFullAirportCodeIsReplacedByTheNextCharacter) {
    Edit(2)->setText("EDDM");
    Edit(2)->end(false);
    TypeText(Edit(2), "l");
    EXPECT_EQ(Edit(2)->text(), "L");
    TypeText(Edit(2), "owg");
    EXPECT_EQ(Edit(2)->text(), "LOWG");
}

TEST_F(KeysFixture, AClickInAnAirportCodeSelectsIt) {
    form->show();
    Edit(3)->setText("EDDN");
    Edit(3)->deselect();
    Click(Edit(3));
    EXPECT_EQ(Edit(3)->selectedText(), "EDDN");
    Edit(13)->deselect();
    Click(Edit(13));
    EXPECT_TRUE(Edit(13)->selectedText().isEmpty());
}

namespace {

// Copies text to the clipboard and pastes it with Ctrl+V into an edit box of the window.
void PasteWithKeys(QLineEdit* edit, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    TypeKey(edit, Qt::Key_V, "\x16", Qt::ControlModifier);
}

} // namespace

TEST_F(KeysFixture, ClipboardAndUndoKeysWorkInThePlanFields) {
    // Ctrl+A, then typing, replaces a full Cargo field.
    Edit(15)->setText("5000");
    TypeKey(Edit(15), Qt::Key_A, "\x01", Qt::ControlModifier);
    TypeText(Edit(15), "1200");
    EXPECT_EQ(Edit(15)->text(), "1200");
    EXPECT_EQ(f.plan.Text(FieldId::Edit15), "1200");
    // Ctrl+C copies, Ctrl+X cuts, Ctrl+Z takes the cut back.
    TypeKey(Edit(15), Qt::Key_A, "\x01", Qt::ControlModifier);
    TypeKey(Edit(15), Qt::Key_C, "\x03", Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1200");
    TypeKey(Edit(15), Qt::Key_X, "\x18", Qt::ControlModifier);
    EXPECT_EQ(Edit(15)->text(), "");
    EXPECT_EQ(f.plan.Text(FieldId::Edit15), "");
    TypeKey(Edit(15), Qt::Key_Z, "\x1a", Qt::ControlModifier);
    EXPECT_EQ(Edit(15)->text(), "1200");
    EXPECT_EQ(f.plan.Text(FieldId::Edit15), "1200");
}

TEST_F(KeysFixture, PastedTextObeysTheFieldsRulesWithOneClickPerPaste) {
    struct Case {
        int edit;
        const char* before;
        const char* pasted;
        const char* after;
        int clicks;
    };
    const Case cases[] = {
        {13, "", "4-2 pax\r\n", "42", 1},
        {2, "", "eh am", "EHAM", 1},
        {2, "EDDM", "lowg", "LOWG", 1}, // a full code is replaced, as by a typed key
        {51, "", "d-abcd\tklm", "D-ABCD KLM", 0},
    };
    for (const Case& c : cases) {
        Edit(c.edit)->setText(c.before);
        Edit(c.edit)->end(false);
        f.switchCues = 0;
        PasteWithKeys(Edit(c.edit), c.pasted);
        EXPECT_EQ(Edit(c.edit)->text(), c.after) << c.pasted;
        EXPECT_EQ(f.plan.Text(EditField(c.edit)), c.after) << c.pasted;
        EXPECT_EQ(f.switchCues, c.clicks) << c.pasted;
    }
}

TEST_F(KeysFixture, TheEditMenusPasteObeysTheSameRules) {
    form->show();
    Edit(13)->clear();
    QGuiApplication::clipboard()->setText("3 1");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2), Edit(13)->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(Edit(13), &menuEvent);
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
    ASSERT_NE(menu, nullptr);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste"))) paste = action;
    ASSERT_NE(paste, nullptr);
    f.switchCues = 0;
    paste->trigger();
    menu->close();
    EXPECT_EQ(Edit(13)->text(), "31");
    EXPECT_EQ(f.switchCues, 1);
}
