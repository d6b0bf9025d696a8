// Whose error it is: a handler that the user's action runs reports its own, one that the start-up
// reader runs by setting a control raises it into the reader's step.
#include "Controls.h"
#include "Errors.h"
#include "Guarded.h"
#include "MainFormFixture.h"
#include "ScriptedDialogs.h"
#include "kodFrDOS.h"
#include "kodFrInfo.h"
#include "kodMainForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A box whose handler fails the way a refused write does.
class FailingBox
{
public:
    FailingBox()
    {
        OnChange(&box, [this] {
            RunHandler([this] {
                ++runs;
                throw ERegistryException(u"Failed to set data for 'X'"_s);
            });
        });
    }
    QCheckBox box;
    int runs = 0;
};

} // namespace

TEST(ReaderStep, TheUsersClickReportsTheError)
{
    ScriptedDialogs dialogs;
    FailingBox failing;
    dialogs.ExpectMessage(MessageAnswer::Ok);
    failing.box.click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'X'"_s);
    EXPECT_TRUE(failing.box.isChecked());
}

TEST(ReaderStep, AGuardedStepEndsSilentlyAtTheFailingFill)
{
    ScriptedDialogs dialogs; // no message may appear
    FailingBox failing;
    bool restOfStep = false, nextStep = false;
    Guarded([&] {
        Fill([&] { failing.box.setChecked(true); });
        restOfStep = true;
    });
    Guarded([&] { nextStep = true; });
    EXPECT_EQ(failing.runs, 1);
    EXPECT_TRUE(failing.box.isChecked());
    EXPECT_FALSE(restOfStep);
    EXPECT_TRUE(nextStep);
}

TEST(ReaderStep, AnUnguardedStepRaisesTheHandlersErrorToTheReader)
{
    ScriptedDialogs dialogs;
    FailingBox failing;
    bool restOfStep = false;
    try {
        Unguarded([&] {
            Fill([&] { failing.box.setChecked(true); });
            restOfStep = true;
        });
        ADD_FAILURE() << "the handler's error did not reach the reader";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'X'");
    }
    EXPECT_FALSE(restOfStep);
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(ReaderStep, AStepThatSetsItsControlWithoutFillStillEndsWithTheError)
{
    ScriptedDialogs dialogs;
    FailingBox failing;
    EXPECT_THROW(Unguarded([&] { failing.box.setChecked(true); }), ERegistryException);
    // Once the step is over, the same handler reports to the user again.
    dialogs.ExpectMessage(MessageAnswer::Ok);
    failing.box.setChecked(false);
    EXPECT_EQ(dialogs.Messages().size(), 1u);
}

// The Windows page's swap-file entry is written back by an unguarded step: when that write is
// refused, the reader ends there, and the pages after it neither show nor write anything (the
// MS-DOS page would write its defaults into MSDOS.SYS).
class ReaderEndTest : public MainFormTest
{};

TEST_F(ReaderEndTest, ARefusedUnguardedWriteBackLeavesTheLaterPagesAlone)
{
    const QByteArray msdos = "[Options]\r\n";
    machine.MakeWindows();
    machine.WriteFile(u"drive_c/MSDOS.SYS"_s, msdos);
    machine.WriteFile(u"drive_c/WINDOWS/SYSTEM/OEMINFO.INI"_s,
                      "[General]\r\nManufacturer=Firma\r\n");
    refusedWrites = {u"ConservativeSwapfileUsage"_s};
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Start();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Unable to write to C:\\WINDOWS\\System.ini."_s);
    EXPECT_EQ(machine.ReadFile(u"drive_c/MSDOS.SYS"_s), msdos);
    EXPECT_FALSE(Form().FrDOS->CheckBox4->isChecked());
    EXPECT_TRUE(Form().frInfo->Edit1->text().isEmpty());
}
