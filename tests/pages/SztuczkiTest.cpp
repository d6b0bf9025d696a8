// The "Sztuczki" page: the articles that come with the program and the tricks text.
#include "Errors.h"
#include "MainFormFixture.h"
#include "ProgramDir.h"
#include "kodFrSztuczki.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kMissing =
    u"Sztuczki.txt są niedostępne. Możliwe, że zostały przypadkowo usunięte, lub program Tolmar "
    u"został zainstalowany w trybie minimalnym bez dodatkowych składników"_s;

// Records what the page asks the shell to do, and fails on request as a broken shell would.
class RecordingShell : public RefusingPlatform
{
public:
    explicit RecordingShell(Platform& machine) : RefusingPlatform(machine, {}), machine_(machine)
    {
        SetCurrentPlatform(this);
    }
    ~RecordingShell() override { SetCurrentPlatform(&machine_); }

    void ShellExecute(const QString& verb, const QString& target, int showCommand) override
    {
        calls << verb + u' ' + target + u' ' + QString::number(showCommand);
        if (failing) throw SystemError(u"Brak powłoki"_s);
    }

    QStringList calls;
    bool failing = false;

private:
    Platform& machine_;
};

class SztuczkiTest : public MainFormTest
{
protected:
    void SetUp() override { SetProgramDir(program.path()); }
    void TearDown() override { SetProgramDir(QString()); }

    TFrSztuczki& Page() { return *Form().FrSztuczki; }
    void MakeFolder(const QString& relative) { QDir(program.path()).mkpath(relative); }
    void MakeFile(const QString& relative, const QByteArray& bytes)
    {
        QFile file(program.path() + u'/' + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList Articles()
    {
        QStringList items;
        for (int i = 0; i < Page().Arty->count(); ++i)
            items << Page().Arty->itemText(i);
        return items;
    }
    // The articles folder as the buttons name it.
    QString Articles(const QString& rest)
    {
        return CurrentPlatform().SystemPathOf(program.path()) + u"\\Poradnik\\Arty\\"_s + rest;
    }

    QTemporaryDir program;
};

} // namespace

TEST_F(SztuczkiTest, ArticlesAreListedSortedWithoutHiddenEntries)
{
    for (const char* folder : {"Zima", "alfa", "Beta", ".ukryte"})
        MakeFolder(u"Poradnik/ARTY/"_s + QString::fromLatin1(folder));
    MakeFile(u"Poradnik/ARTY/notatka.txt"_s, "x");
    Start();
    EXPECT_EQ(Articles(), (QStringList{u"alfa"_s, u"Beta"_s, u"notatka.txt"_s, u"Zima"_s}));
    EXPECT_EQ(Page().Arty->currentIndex(), -1);
    EXPECT_EQ(Page().Arty->currentText(), u"Wybierz artykuł"_s);
}

TEST_F(SztuczkiTest, ButtonsOpenAndPrintTheChosenArticleThroughTheShell)
{
    MakeFolder(u"Poradnik/arty/Kosz"_s);
    Start();
    RecordingShell shell(machine.Get());
    // With no article chosen the document is looked for in the articles folder itself.
    QTest::mouseClick(Page().Button3, Qt::LeftButton);
    Page().Arty->setCurrentIndex(0);
    QTest::mouseClick(Page().Button3, Qt::LeftButton);
    QTest::mouseClick(Page().Button2, Qt::LeftButton);
    EXPECT_EQ(shell.calls, (QStringList{u"open "_s + Articles(u"\\index.htm 3"_s),
                                        u"open "_s + Articles(u"Kosz\\index.htm 3"_s),
                                        u"print "_s + Articles(u"Kosz\\index.htm 3"_s)}));

    // Only reading keeps its failures to itself; printing reports them.
    shell.failing = true;
    QTest::mouseClick(Page().Button3, Qt::LeftButton);
    EXPECT_TRUE(dialogs.Messages().empty());
    dialogs.ExpectMessage(MessageAnswer::Ok);
    QTest::mouseClick(Page().Button2, Qt::LeftButton);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Brak powłoki."_s);
}

TEST_F(SztuczkiTest, TheTricksTextIsReadOrTheBuiltInOneTurnsRed)
{
    MakeFolder(u"Poradnik"_s);
    MakeFile(u"Poradnik/Sztuczki.TXT"_s, "Skr\xf3ty klawiszowe\r\nCtrl+Esc - menu Start\r\n");
    Start();
    EXPECT_EQ(Page().Memo1->toPlainText(), u"Skróty klawiszowe\nCtrl+Esc - menu Start\n"_s);
    EXPECT_NE(Page().Memo1->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_TRUE(Articles().isEmpty()); // no articles folder

    QFile::remove(program.path() + u"/Poradnik/Sztuczki.TXT"_s);
    Restart();
    const QString text = Page().Memo1->toPlainText();
    EXPECT_TRUE(text.startsWith(u"Sztuczki w Windows - praktyczny poradnik\n"_s));
    EXPECT_TRUE(text.contains(u"\nSzybki dostęp do podstawowych elementów systemu\n"_s));
    EXPECT_TRUE(text.endsWith(u"2227A280-3AEA-1069-A2DE-08002B30309D}\n"_s + kMissing));
    EXPECT_EQ(Page().Memo1->palette().color(QPalette::Text), QColor(Qt::red));

    // The Rundll32 section lists thirty-eight different commands, each with what it does.
    const QString rundll =
        text.section(u"\nRundll32.exe\n"_s, 1).section(u"\nSzybki dostęp"_s, 0, 0);
    static const QRegularExpression pair(u"^[\\w.]+,\\w+.* - \\S.*$"_s,
                                         QRegularExpression::MultilineOption);
    QStringList commands;
    for (auto match = pair.globalMatch(rundll); match.hasNext();)
        commands << match.next().captured().section(u" - "_s, 0, 0);
    EXPECT_EQ(commands.size(), 38) << commands.join(u'\n').toStdString();
    commands.removeDuplicates();
    EXPECT_EQ(commands.size(), 38) << "a command listed twice";
}

TEST_F(SztuczkiTest, TheShippedGuideIsFound)
{
    SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM));
    Start();
    EXPECT_EQ(Articles().size(), 3);
    EXPECT_TRUE(Page().Memo1->toPlainText().startsWith(u"Sztuczki na co dzień\n"_s));
    for (const QString& article : Articles())
        EXPECT_TRUE(QFile::exists(QStringLiteral(TOLMAR_DATA_PROGRAM) + u"/Poradnik/arty/"_s +
                                  article + u"/index.htm"_s))
            << article.toStdString();
}

// Polish alphabetical order whatever the machine's locale: each accented letter right after its
// plain one, letter case aside (equal names keep the folder's order).
TEST(SortedArticles, PolishAlphabeticalOrder)
{
    const struct
    {
        QStringList names;
        QStringList sorted;
    } cases[] = {
        {{u"b"_s, u"C"_s, u"a"_s, u"B"_s}, {u"a"_s, u"b"_s, u"B"_s, u"C"_s}},
        {{u"Zzz"_s, u"Ćwiczenia"_s, u"Dysk"_s, u"Cyfry"_s},
         {u"Cyfry"_s, u"Ćwiczenia"_s, u"Dysk"_s, u"Zzz"_s}},
        {{u"Żaba"_s, u"Źródło"_s, u"zima"_s, u"Łódź"_s, u"Lato"_s, u"Mysz"_s, u"ósemka"_s, u"Oko"_s,
          u"Pióro"_s},
         {u"Lato"_s, u"Łódź"_s, u"Mysz"_s, u"Oko"_s, u"ósemka"_s, u"Pióro"_s, u"zima"_s,
          u"Źródło"_s, u"Żaba"_s}},
        {{u"Sztuczki"_s, u"Śmieci"_s, u"Tło"_s, u"Ąkuku"_s, u"Azbest"_s, u"Bajt"_s},
         {u"Azbest"_s, u"Ąkuku"_s, u"Bajt"_s, u"Sztuczki"_s, u"Śmieci"_s, u"Tło"_s}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SortedArticles(c.names), c.sorted);
}
