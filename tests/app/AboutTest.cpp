// The About page and its two dialogs.
#include "MainFormFixture.h"
#include "ProgramDir.h"
#include "kodFrAbout.h"
#include "kodKnow.h"
#include "kodfmAutor.h"

#include <QPushButton>
#include <QTest>
#include <QTextEdit>

TEST_F(MainFormTest, AboutWithoutItsTextShowsEverythingElse)
{
    TMainForm& form = Start();
    EXPECT_TRUE(form.frAbout->RichEdit1->toPlainText().isEmpty());
    EXPECT_EQ(form.frAbout->Label1->text(), QStringLiteral("Tolmar"));
    EXPECT_EQ(form.frAbout->Label2->text(), QStringLiteral("Quorvex"));
    EXPECT_EQ(form.frAbout->SpeedButton1->text(), QStringLiteral("Autor"));
    EXPECT_EQ(form.frAbout->RichEdit1->geometry(), QRect(8, 80, 617, 361));
}

TEST_F(MainFormTest, AboutLoadsItsRichText)
{
    SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM));
    TMainForm& form = Start();
    SetProgramDir(QString());
    const QString text = form.frAbout->RichEdit1->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Tolmar 3.0 - Quorvex"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Każda zmiana jest zapisywana od razu")));
}

TEST_F(MainFormTest, TheAuthorsPictureChangesWhileTheButtonIsHeld)
{
    TMainForm& form = Start();
    QTest::mouseClick(form.frAbout->SpeedButton1, Qt::LeftButton);
    TfmAutor& author = form.frAbout->FmAutor();
    ASSERT_TRUE(author.isVisible());
    EXPECT_EQ(author.windowTitle(), QStringLiteral("O autorze..."));
    EXPECT_TRUE(author.Autor->isVisible());
    EXPECT_FALSE(author.Autor2->isVisible());
    QTest::mousePress(author.Autor, Qt::LeftButton);
    EXPECT_TRUE(author.Autor2->isVisible());
    EXPECT_FALSE(author.Autor->isVisible());
    QTest::mouseRelease(author.Autor2, Qt::LeftButton);
    EXPECT_TRUE(author.Autor->isVisible());
    EXPECT_FALSE(author.Autor2->isVisible());
    QTest::mouseClick(author.SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(author.isVisible());
}

TEST_F(MainFormTest, TheDialogsTexts)
{
    Start();
    const QStringList contact = Form().frAbout->FmAutor().RichEdit2->toPlainText().split(u'\n');
    ASSERT_EQ(contact.size(), 11);
    EXPECT_EQ(contact[0], QStringLiteral("Autor:"));
    EXPECT_TRUE(contact[1].startsWith(QStringLiteral("     ")));
    EXPECT_EQ(contact[5], QStringLiteral("---"));
    EXPECT_EQ(contact[8], QStringLiteral("     http://tolmar.example.org"));
    EXPECT_EQ(contact[10], QStringLiteral("     tolmar@example.org"));
    EXPECT_FALSE(Form().frAbout->FmAutor().RichEdit2->isEnabled());
    const QStringList know =
        Form().FmKnow().RichEdit->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(know.size(), 3);
    for (int i = 1; i < know.size(); ++i)
        EXPECT_TRUE(know[i].startsWith(QStringLiteral(" - "))) << know[i].toStdString();
    EXPECT_EQ(Form().FmKnow().windowTitle(), QStringLiteral("Czy wiesz, że..."));
    EXPECT_EQ(Windows().fmSet.windowTitle(), QStringLiteral("Konfiguracja"));
}
