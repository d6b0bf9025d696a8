// The side menu and the help panel: their links, and the fold and unfold animations run by
// their threads with the program's clock.
#include "HelpText.h"
#include "MainFormFixture.h"
#include "ProgramDir.h"
#include "kodKnow.h"

#include <QPlainTextEdit>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

namespace {

// A clock that holds the ten-second wait of a fold until the test lets it go.
class GatedClock : public FakeClock
{
public:
    bool Sleep(int milliseconds) override
    {
        if (milliseconds >= 10000) {
            ++longWaits;
            gate.acquire();
        }
        return FakeClock::Sleep(milliseconds);
    }
    QSemaphore gate;
    std::atomic<int> longWaits = 0;
};

void Send(QWidget* widget, QEvent::Type type)
{
    QEvent event(type);
    QCoreApplication::sendEvent(widget, &event);
}

class SidePanelsTest : public MainFormTest
{
protected:
    std::vector<QString> launched;
    Machine::Options Recording()
    {
        Machine::Options options;
        options.launch = [this](const QString& program, const QStringList& arguments,
                                const QStringList&) {
            launched.push_back(program + u' ' + arguments.join(u' '));
        };
        return options;
    }
};

} // namespace

TEST_F(SidePanelsTest, TheFirstFoldStartsFromTheFormsLabelHeights)
{
    TMainForm& form = Start();
    ASSERT_EQ(form.Menu->height(), 160);
    EXPECT_EQ(form.LabelHeights(), (std::array<int, 7>{13, 12, 12, 12, 12, 12, 12}));
    Send(form.Menu->TopCap, QEvent::Leave);
    EXPECT_TRUE(form.MenuBusy);
    EXPECT_EQ(form.MenuCommand, QStringLiteral("Zwin"));
    SettleAnimations();
    EXPECT_EQ(form.Menu->height(), 40);
    EXPECT_EQ(form.MenuTips->y(), 288 - 120);
    EXPECT_EQ(form.LabelHeights(), (std::array<int, 7>{0, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(form.MenuLabels[3]->height(), 0);
    // Ten seconds' wait, 13 label steps and 15 panel steps of 10 ms.
    EXPECT_EQ(clock.slept, 10000 + 13 * 10 + 15 * 10);
    // The caps touch and the filler has no height.
    EXPECT_EQ(form.Menu->BottomCap->y(), 20);
    EXPECT_EQ(form.Menu->Filler->height(), 0);

    Send(form.Menu->Filler, QEvent::Enter);
    SettleAnimations();
    EXPECT_EQ(form.Menu->height(), 160);
    EXPECT_EQ(form.MenuTips->y(), 288);
    EXPECT_EQ(form.LabelHeights(), (std::array<int, 7>{20, 19, 19, 19, 19, 19, 19}));
    // Entering again while unfolded starts nothing.
    Send(form.Menu->TopCap, QEvent::Enter);
    EXPECT_FALSE(form.MenuBusy);
}

TEST_F(SidePanelsTest, HelpTextsDuringTheWaitFoldOnceAndTheNextUnfolds)
{
    TMainForm& form = Start();
    GatedClock gated;
    for (int i = 0; i < 10; ++i)
        ShowHelpText(QStringLiteral("opis %1").arg(i));
    ASSERT_TRUE(QTest::qWaitFor([&] { return gated.longWaits == 1; }, 5000));
    EXPECT_TRUE(form.TipsBusy);
    EXPECT_EQ(form.TipsCommand, QStringLiteral("Zwin"));
    EXPECT_EQ(form.MenuTips->height(), 180);
    EXPECT_EQ(form.OpisPomocy->toPlainText(), QStringLiteral("opis 9"));
    gated.gate.release();
    SettleAnimations();
    EXPECT_EQ(form.MenuTips->height(), 40);
    EXPECT_EQ(form.OpisPomocy->height(), 0);
    EXPECT_EQ(gated.longWaits, 1);

    ShowHelpText(QStringLiteral("nowy opis"));
    EXPECT_EQ(form.TipsCommand, QStringLiteral("Rozwin"));
    SettleAnimations();
    EXPECT_EQ(form.MenuTips->height(), 180);
    EXPECT_EQ(form.MenuTips->y(), 288);
    EXPECT_EQ(gated.longWaits, 1);
}

TEST_F(SidePanelsTest, TheSameTextTwiceChangesTheBoxOnce)
{
    TMainForm& form = Start();
    QSignalSpy changes(form.OpisPomocy, &QPlainTextEdit::textChanged);
    ShowHelpText(QStringLiteral("ten sam"));
    ShowHelpText(QStringLiteral("ten sam"));
    EXPECT_EQ(changes.count(), 1);
    SettleAnimations();
    ShowHelpText(QStringLiteral("ten sam"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(form.TipsBusy);
}

TEST_F(SidePanelsTest, PicturesAreLoadedWithGreenTransparentOrLeftEmpty)
{
    TMainForm& bare = Start();
    EXPECT_TRUE(bare.Menu->TopCap->pixmap().isNull());
    Stop();
    SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM));
    TMainForm& form = Start();
    SetProgramDir(QString());
    const QImage cap = form.Menu->TopCap->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(cap.isNull());
    EXPECT_EQ(cap.pixelColor(0, 0).alpha(), 0) << "the rounded corner is transparent";
    EXPECT_EQ(cap.pixelColor(65, 10).alpha(), 255);
    EXPECT_FALSE(form.rysunek_kuli->pixmap().isNull());
    EXPECT_EQ(form.rysunek_kuli->size(), QSize(187, 164));
}

TEST_F(SidePanelsTest, LinksChangeColourAndOpenTheirDocuments)
{
    TMainForm& form = Start(Recording());
    QLabel* label3 = form.MenuLabels[2];
    EXPECT_EQ(label3->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    Send(label3, QEvent::Enter);
    EXPECT_EQ(label3->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    Send(label3, QEvent::Leave);
    EXPECT_EQ(label3->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    QTest::mouseClick(form.MenuLabels[2], Qt::LeftButton);
    QTest::mouseClick(form.MenuLabels[3], Qt::LeftButton);
    QTest::mouseClick(form.MenuLabels[4], Qt::LeftButton);
    ASSERT_EQ(launched.size(), 3u);
    EXPECT_EQ(launched[0],
              QStringLiteral("xdg-open mailto:tolmar@example.org?Subject=Problem z działaniem "
                             "programu&Body=W programie Tolmar wystąpił następujący błąd: "
                             ">tutaj wpisz informacje o błędzie<"));
    EXPECT_EQ(launched[1], QStringLiteral("xdg-open mailto:tolmar@example.org"));
    EXPECT_EQ(launched[2], QStringLiteral("xdg-open http://tolmar.example.org"));

    QTest::mouseClick(form.MenuLabels[5], Qt::LeftButton);
    EXPECT_TRUE(Form().FmKnow().isVisible());
    Form().FmKnow().close();
    QTest::mouseClick(form.MenuLabels[6], Qt::LeftButton);
    EXPECT_TRUE(Windows().fmSet.isVisible());
    Windows().fmSet.close();
}

TEST_F(SidePanelsTest, TheHelpDocumentOpensFromTheProgramsFolder)
{
    SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM));
    TMainForm& form = Start(Recording());
    QTest::mouseClick(form.MenuLabels[1], Qt::LeftButton);
    SetProgramDir(QString());
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], QStringLiteral("xdg-open " TOLMAR_DATA_PROGRAM "/Pomoc/help.doc"));
}
