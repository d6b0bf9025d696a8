// A termination request ends the program from anywhere: with a question open, the question is
// closed as its close box would, then the window as its close box does.
#include "Termination.h"

#include "CloseProgram.h"
#include "MainFormFixture.h"

#include <QTest>
#include <QTimer>
#include <csignal>

using namespace Qt::Literals::StringLiterals;

TEST_F(MainFormTest, ATerminationRequestClosesAnOpenQuestionAndThenTheWindow)
{
    TMainForm& form = Start();
    OnTerminationRequest(&form, [&form] { CloseProgram(form); });

    QtDialogService real;
    SetDialogService(&real);
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    // Should the request not arrive, the question is closed all the same so the test ends.
    bool rescued = false;
    QTimer::singleShot(5000, [&rescued] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            rescued = true;
            box->close();
        }
    });
    const MessageAnswer answer = real.WarningQuestion(&form, u"Czy napewno?"_s);
    SetDialogService(&dialogs);

    EXPECT_FALSE(rescued);
    EXPECT_EQ(answer, MessageAnswer::Closed);
    EXPECT_TRUE(QTest::qWaitFor([&form] { return !form.isVisible(); }, 5000));
    EXPECT_TRUE(Dword(HKEY_CURRENT_USER, kSettingsKey, u"WindowLeft"_s).has_value())
        << "the window closed as its close box does, storing its place";
}
