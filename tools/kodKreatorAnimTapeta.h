#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;
class TKreatorAnimFrPlik;
class TKreatorAnimFrKod;
class TKreatorAnimFrXY;
class TKreatorAnimFrTlo;
class TKreatorAnimFrOpcje;
class TKreatorAnimFrEnd;

// What the wizard collects for the wallpaper page, as the user gave it.
struct AnimatedWallpaper
{
    QString movie;
    QString encoding;
    int width = 0;
    int height = 0;
    QString alignment;
    QString title;
    QColor colour;
    QString quality;
    bool menu = false;
};

// The caption on a step (1 to 5); the closing page has the base text alone.
QString WizardCaption(int step);
// The alignment attribute of an alignment item, the quality parameter of a quality item and
// the menu parameter; any text not in the list gives the empty text.
QString AlignmentAttribute(const QString& item);
QString QualityParameter(const QString& item);
QString MenuParameter(bool shown);
// Red, green and blue, each as two lowercase hexadecimal digits.
QString ColourText(const QColor& colour);
// A typed text made safe inside the page's markup and readable under any 8-bit charset: the
// markup's own characters and everything beyond ASCII as character references.
QString HtmlText(const QString& text);
// A title that can name the page's file inside the wallpaper folder: not empty, not only dots
// and blanks, and without a character that file names may not hold.
bool IsWallpaperTitle(const QString& title);
// The decimal integer a text holds; an error with the run-time library's text otherwise.
int StrToInt(const QString& text);
// The page's fourteen lines, each ended by CR LF.
QString WallpaperPage(const AnimatedWallpaper& wallpaper);

// The animated wallpaper wizard: five steps and a closing page that write an HTML page showing
// a Flash movie into the wallpaper folder of the Windows directory.
class TfmKreatorAnimTapeta : public QDialog
{
public:
    explicit TfmKreatorAnimTapeta(QWidget* parent = nullptr);

    QLabel* ImIcoKreator;
    QFrame* Bevel1;
    QPushButton* SpeedButton4;
    QPushButton* SpeedButton3;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton1;
    TKreatorAnimFrPlik* KreatorAnimFrPlik;
    TKreatorAnimFrKod* KreatorAnimFrKod;
    TKreatorAnimFrXY* KreatorAnimFrXY;
    TKreatorAnimFrTlo* KreatorAnimFrTlo;
    TKreatorAnimFrOpcje* KreatorAnimFrOpcje;
    TKreatorAnimFrEnd* KreatorAnimFrEnd;

    // 1 to 5 the steps, 6 the closing page, 7 the writing of the page.
    int Krok = 1;
    // Each value is taken when its step is left forward, and only then.
    AnimatedWallpaper Tapeta;

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();

private:
    void ShowStep();
    void WritePage();
};
