// Every caption of every window fits its control in the fonts the program draws with.
#include "Clipping.h"

#include "MainFormFixture.h"
#include "ProgramDir.h"
#include "kodFrAbout.h"
#include "kodKnow.h"
#include "kodKreatorAnimTapeta.h"
#include "kodProgramy.h"
#include "kodfmAutor.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QTabWidget>

namespace {

class ClippingTest : public MainFormTest
{
protected:
    // The default machine, so the lists are filled as on a first start.
    void StartOnTheTemplate()
    {
        machine.WriteTemplate();
        SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM));
        Start();
        SetProgramDir(QString());
    }
};

void ExpectWhole(QWidget* window)
{
    window->show();
    const QStringList clipped = ClippedCaptions(window);
    EXPECT_TRUE(clipped.isEmpty()) << window->objectName().toStdString() << ":\n"
                                   << clipped.join(u'\n').toStdString();
}

} // namespace

TEST_F(ClippingTest, EveryCaptionOfEveryWindowFits)
{
    StartOnTheTemplate();
    for (int page = 0; page < Form().Karty->count(); ++page)
        Form().Karty->setCurrentIndex(page);
    ExpectWhole(&Form());
    ProgramWindows& windows = Windows();
    TfmKreatorAnimTapeta wizard(&Form());
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{&windows.fmSet, &TfmProgramy::Shared(), &wizard,
                                         &Form().FmKnow(), &Form().frAbout->FmAutor()}) {
        ExpectWhole(dialog);
        dialog->hide();
    }
}

TEST(Clipping, ACaptionLongerThanItsControlIsNamedWithThePixelsItLacks)
{
    QWidget window;
    auto* box = new QCheckBox(QStringLiteral("Pokazuj pliki ukryte"), &window);
    box->setObjectName(QStringLiteral("CheckBox1"));
    box->setGeometry(0, 0, 400, 17);
    EXPECT_TRUE(ClippedCaptions(&window).isEmpty());
    box->setText(box->text().repeated(8));
    const QStringList clipped = ClippedCaptions(&window);
    ASSERT_EQ(clipped.size(), 1);
    EXPECT_TRUE(clipped[0].startsWith(QStringLiteral("CheckBox1: "))) << clipped[0].toStdString();
}
