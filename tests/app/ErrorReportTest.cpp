// The general error report: the "." rule, and that a handler's error reaches the user and
// the program carries on.
#include "ErrorReport.h"

#include "Errors.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

TEST(ErrorReport, DotIsAddedAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(ErrorReportText(QStringLiteral("Failed to set data for 'X'")),
              QStringLiteral("Failed to set data for 'X'"));
    EXPECT_EQ(ErrorReportText(QStringLiteral("Unable to write to C:\\MSDOS.SYS")),
              QStringLiteral("Unable to write to C:\\MSDOS.SYS."));
    EXPECT_EQ(ErrorReportText(QStringLiteral("Błąd 42")), QStringLiteral("Błąd 42."));
    EXPECT_EQ(ErrorReportText(QStringLiteral("Czy na pewno?")), QStringLiteral("Czy na pewno?."));
    EXPECT_EQ(ErrorReportText(QStringLiteral("Koniec.")), QStringLiteral("Koniec."));
    EXPECT_EQ(ErrorReportText(QStringLiteral("Uwaga!")), QStringLiteral("Uwaga!"));
    EXPECT_EQ(ErrorReportText(QStringLiteral("(nawias)")), QStringLiteral("(nawias)"));
    EXPECT_EQ(ErrorReportText(QStringLiteral("ścieżka/")), QStringLiteral("ścieżka/."));
    EXPECT_EQ(ErrorReportText(QStringLiteral("przecinek,")), QStringLiteral("przecinek,"));
    EXPECT_EQ(ErrorReportText(QString()), QString());
}

namespace {
struct Thrower
{
    int calls = 0;
    void Fail()
    {
        ++calls;
        throw EIniFileException(QStringLiteral("Unable to write to C:\\x.ini"));
    }
    void Take(bool checked) { calls += checked ? 10 : 1; }
};
} // namespace

TEST(ErrorReport, HandlerErrorsGoToOneMessageBoxAndTheProgramCarriesOn)
{
    ScriptedDialogs dialogs;
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Thrower thrower;
    auto handler = Handler(&thrower, &Thrower::Fail);
    EXPECT_NO_THROW(handler());
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Tolmar - Quorvix"));
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Unable to write to C:\\x.ini."));
    EXPECT_EQ(dialogs.Messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(dialogs.Messages()[0].buttons, MessageButtons::Ok);
    Handler(&thrower, &Thrower::Take)(true);
    EXPECT_EQ(thrower.calls, 11);
}
