// A termination request ends the program from anywhere: with a question open, the question is
// closed as its close box would, then the window as its close box does.
#include "Termination.h"

#include "CloseProgram.h"
#include "MainFormFixture.h"
#include "ProgramAddresses.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// Closes a box still open after five seconds, should the request not arrive, so that the test
// ends; true once it had to.
std::shared_ptr<bool> RescueAfterFiveSeconds()
{
    auto rescued = std::make_shared<bool>(false);
    QTimer::singleShot(5000, [rescued] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            *rescued = true;
            box->close();
        }
    });
    return rescued;
}

} // namespace

TEST_F(MainFormTest, ATerminationRequestClosesAnOpenQuestionAndThenTheWindow)
{
    TMainForm& form = Start();
    QObject program;
    OnTerminationRequest(&program, CloseProgram);

    QtDialogService real;
    SetDialogService(&real);
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    const auto rescued = RescueAfterFiveSeconds();
    const MessageAnswer answer = real.WarningQuestion(&form, u"Czy napewno?"_s);
    SetDialogService(&dialogs);

    EXPECT_FALSE(*rescued);
    EXPECT_EQ(answer, MessageAnswer::Closed);
    EXPECT_TRUE(QTest::qWaitFor([&form] { return !form.isVisible(); }, 5000));
    EXPECT_TRUE(Dword(HKEY_CURRENT_USER, kSettingsKey, u"WindowLeft"_s).has_value())
        << "the window closed as its close box does, storing its place";
}

// The program shows boxes after its main window is gone (a save that fails at exit): a
// termination request closes them too, and the next request does as well.
TEST(Termination, ARequestClosesABoxShownAfterTheMainWindowIsGone)
{
    QObject program;
    OnTerminationRequest(&program, CloseProgram);
    auto* window = new QWidget;
    window->show();
    delete window;

    QtDialogService real;
    for (int request = 0; request < 2; ++request) {
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        const auto rescued = RescueAfterFiveSeconds();
        real.Message(nullptr, u"Tolmar - Quorvix"_s, u"Nie można zapisać pliku rejestru"_s,
                     MessageIcon::Error, MessageButtons::Ok);
        EXPECT_FALSE(*rescued) << "request " << request;
        EXPECT_TRUE(TerminationRequested());
    }
}
