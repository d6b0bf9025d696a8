// The main window shown and active, driven through the window system as a user's mouse and
// keyboard drive it: the wheel over the pages' fields, and the help texts over lists.
#include "HelpText.h"
#include "MainFormFixture.h"
#include "UserInput.h"
#include "kodFrIkony.h"
#include "kodFrWindows.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDesktop = u"Control Panel\\Desktop"_s;

// What a spin field or a drop-down list shows; nothing for other controls.
std::optional<QString> Shows(QWidget* control)
{
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) return spin->text();
    if (auto* box = qobject_cast<QComboBox*>(control)) return box->currentText();
    return std::nullopt;
}

class FocusedWindowTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        machine.SetText(HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s, u"530"_s);
        Start();
        ASSERT_TRUE(ShowActive(&Form()));
    }
};

} // namespace

// Scrolling down a page over its fields changes none of them; a field clicked first takes it.
TEST_F(FocusedWindowTest, OnlyAFocusedFieldTakesTheWheel)
{
    int turned = 0;
    for (int page = 0; page < Form().Karty->count(); ++page) {
        ShowPage(Form().Karty->widget(page));
        for (QWidget* control : Form().Karty->widget(page)->findChildren<QWidget*>()) {
            const std::optional<QString> before = Shows(control);
            if (!before || !control->isVisible()) continue;
            // As when its box is ticked: a field greyed out takes no wheel anyway.
            control->setEnabled(true);
            if (!control->isEnabled()) continue;
            ++turned;
            Form().Karty->tabBar()->setFocus();
            Wheel(control, -1);
            Wheel(control, +2);
            EXPECT_EQ(Shows(control), before) << control->objectName().toStdString();
        }
    }
    EXPECT_GE(turned, 9);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s), u"530"_s);

    QSpinBox* blink = Form().frWindows->SpinEdit1;
    ShowPage(Form().frWindows);
    Click(blink);
    Wheel(blink, +1);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s), u"531"_s);
}

TEST_F(FocusedWindowTest, AListShowsItsHelpTextOverItsItems)
{
    machine.SetText(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_s,
                    u"Poczta"_s, u"poczta.exe"_s);
    Restart();
    ASSERT_TRUE(ShowActive(&Form()));
    const std::pair<QWidget*, QListWidget*> lists[] = {{Form().frWindows, Form().frWindows->Lista},
                                                       {Form().FrIkony, Form().FrIkony->ChckList}};
    for (const auto& [page, list] : lists) {
        ShowPage(page);
        ShowHelpText(QString());
        const QString help = HelpOver(list->viewport());
        EXPECT_FALSE(help.isEmpty()) << list->objectName().toStdString();
    }
}

// A long text that unfolds the folded help box is shown from its first line.
TEST_F(FocusedWindowTest, TheHelpBoxShowsANewTextFromItsFirstLine)
{
    ShowHelpText(u"krótki"_s);
    SettleAnimations();
    ASSERT_EQ(Form().MenuTips->height(), 40);
    QString text;
    for (int line = 1; line <= 30; ++line)
        text += u"Wiersz %1 opisu. "_s.arg(line);
    ShowHelpText(text);
    SettleAnimations();
    ASSERT_EQ(Form().MenuTips->height(), 180);
    ASSERT_GT(Form().OpisPomocy->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(Form().OpisPomocy->verticalScrollBar()->value(), 0);
}
