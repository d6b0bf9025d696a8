#include "kodKreatorAnimTapeta.h"

#include "Controls.h"
#include "Cp1250.h"
#include "Dialogs.h"
#include "Files.h"
#include "Platform.h"
#include "ProgramDir.h"
#include "kodFrKreatorAnimEnd.h"
#include "kodFrKreatorAnimKod.h"
#include "kodFrKreatorAnimOpcje.h"
#include "kodFrKreatorAnimPlik.h"
#include "kodFrKreatorAnimTlo.h"
#include "kodFrKreatorAnimXY.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kCaption = u"Kreator animowanej tapety   "_s;
const QString kNext = u"Dalej >"_s;
const QString kFinish = u"Zakończ"_s;
// The player's installation cabinet and download page.
const QString kPlayerCabinet = u"http://download.example.org/pub/flash/swflash.cab"_s;
const QString kPlayerPage = u"http://www.example.org/flash/player/"_s;

} // namespace

QString WizardCaption(int step)
{
    if (step > 5) return kCaption;
    return kCaption + u'[' + QString::number(step) + u" z 5]"_s;
}

QString AlignmentAttribute(const QString& item)
{
    if (item == u"Do prawej"_s) return u"right"_s;
    if (item == u"Do lewej"_s) return u"left"_s;
    if (item == u"Do góry"_s) return u"top"_s;
    if (item == u"Do dołu"_s) return u"bottom"_s;
    return QString(); // "Do środka" too: a movie is centred when the attribute is empty
}

QString QualityParameter(const QString& item)
{
    if (item == u"Słaba"_s) return u"Low"_s;
    if (item == u"Dobra"_s) return u"Medium"_s;
    if (item == u"Bardzo dobra"_s) return u"High"_s;
    return QString();
}

QString MenuParameter(bool shown) { return shown ? u"True"_s : u"False"_s; }

QString ColourText(const QColor& colour)
{
    return u"%1%2%3"_s.arg(colour.red(), 2, 16, QChar(u'0'))
        .arg(colour.green(), 2, 16, QChar(u'0'))
        .arg(colour.blue(), 2, 16, QChar(u'0'));
}

QString HtmlText(const QString& text)
{
    QString out;
    for (const char32_t c : text.toUcs4()) {
        if (c == U'&')
            out += u"&amp;"_s;
        else if (c == U'<')
            out += u"&lt;"_s;
        else if (c == U'>')
            out += u"&gt;"_s;
        else if (c == U'"')
            out += u"&quot;"_s;
        else if (c > 127)
            out += u"&#"_s + QString::number(c) + u';';
        else
            out += QChar(c);
    }
    return out;
}

bool IsWallpaperTitle(const QString& title)
{
    bool onlyDotsAndBlanks = true;
    for (const QChar c : title) {
        if (c.unicode() < 32 || u"\\/:*?\"<>|"_s.contains(c)) return false;
        if (c != u'.' && c != u' ') onlyDotsAndBlanks = false;
    }
    return !onlyDotsAndBlanks;
}

int StrToInt(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        throw std::runtime_error(u"'%1' is not a valid integer value"_s.arg(text).toStdString());
    return value;
}

QString WallpaperPage(const AnimatedWallpaper& wallpaper)
{
    const QString movie = HtmlText(wallpaper.movie);
    const QString title = HtmlText(wallpaper.title);
    const QString align = HtmlText(AlignmentAttribute(wallpaper.alignment));
    const QString quality = QualityParameter(wallpaper.quality);
    const QString menu = MenuParameter(wallpaper.menu);
    const QString colour = ColourText(wallpaper.colour);
    const QString width = QString::number(wallpaper.width);
    const QString height = QString::number(wallpaper.height);
    const QStringList lines = {
        u"<HTML>"_s,
        u"<HEAD>"_s,
        u"<meta http-equiv=Content-Type content=\"text/html;  charset="_s +
            HtmlText(wallpaper.encoding) + u"\">"_s,
        u"<TITLE>"_s + title + u"</TITLE>"_s,
        u"</HEAD>"_s,
        u"<BODY bgcolor=\""_s + colour + u"\">"_s,
        u"<OBJECT classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\""_s,
        u" codebase=\""_s + kPlayerCabinet + u"#version=6,0,0,0\""_s,
        u" WIDTH=\""_s + width + u"\" HEIGHT=\""_s + height + u"\" id=\""_s + title +
            u"\" ALIGN=\""_s + align + u"\">"_s,
        u" <PARAM NAME=movie VALUE=\""_s + movie + u"\"> <PARAM NAME=menu VALUE="_s + menu +
            u"> <PARAM NAME=quality VALUE="_s + quality + u"> <PARAM NAME=bgcolor VALUE="_s +
            colour + u"> <EMBED src=\""_s + movie + u"\" menu="_s + menu + u" quality="_s +
            quality + u" bgcolor="_s + colour + u"  WIDTH=\""_s + width + u"\" HEIGHT=\""_s +
            height + u"\" NAME=\""_s + title + u"\" ALIGN=\""_s + align + u'"',
        u" TYPE=\"application/x-shockwave-flash\" PLUGINSPAGE=\""_s + kPlayerPage +
            u"\"></EMBED>"_s,
        u"</OBJECT>"_s,
        u"</BODY>"_s,
        u"</HTML>"_s,
    };
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}

TfmKreatorAnimTapeta::TfmKreatorAnimTapeta(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(u"TfmKreatorAnimTapeta"_s);
    setFixedSize(492, 334);

    ImIcoKreator = Named<QLabel>(this, "ImIcoKreator", {0, 0, 148, 289});
    ImIcoKreator->setPixmap(QPixmap(ProgramFile(u"\\data\\gfx\\bmp\\Kreator.bmp"_s)));
    KreatorAnimFrPlik = new TKreatorAnimFrPlik(this);
    KreatorAnimFrKod = new TKreatorAnimFrKod(this);
    KreatorAnimFrXY = new TKreatorAnimFrXY(this);
    KreatorAnimFrTlo = new TKreatorAnimFrTlo(this);
    KreatorAnimFrOpcje = new TKreatorAnimFrOpcje(this);
    KreatorAnimFrEnd = new TKreatorAnimFrEnd(this);
    for (QWidget* frame :
         std::initializer_list<QWidget*>{KreatorAnimFrPlik, KreatorAnimFrKod, KreatorAnimFrXY,
                                         KreatorAnimFrTlo, KreatorAnimFrOpcje, KreatorAnimFrEnd})
        frame->setGeometry(156, 0, 333, 289);

    Bevel1 = Named<QFrame>(this, "Bevel1", {0, 290, 492, 2});
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    const auto button = [this](const char* name, const QString& caption, int left) {
        auto* made = Named<QPushButton>(this, name, {left, 300, 75, 25});
        made->setText(caption);
        MakeSpeedButton(made);
        return made;
    };
    SpeedButton4 = button("SpeedButton4", u"Pomoc"_s, 8);
    SpeedButton3 = button("SpeedButton3", u"< Wstecz"_s, 248);
    SpeedButton2 = button("SpeedButton2", kNext, 327);
    SpeedButton1 = button("SpeedButton1", u"Anuluj"_s, 409);
    OnChange(SpeedButton1, Handler(this, &TfmKreatorAnimTapeta::SpeedButton1Click));
    OnChange(SpeedButton2, Handler(this, &TfmKreatorAnimTapeta::SpeedButton2Click));
    OnChange(SpeedButton3, Handler(this, &TfmKreatorAnimTapeta::SpeedButton3Click));
    OnChange(SpeedButton4, Handler(this, &TfmKreatorAnimTapeta::SpeedButton4Click));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        KreatorAnimFrXY->SpinX->setValue(screen->size().width());
        KreatorAnimFrXY->SpinY->setValue(screen->size().height());
    }
    ShowStep();
}

void TfmKreatorAnimTapeta::SpeedButton1Click() { reject(); }

void TfmKreatorAnimTapeta::SpeedButton2Click()
{
    // A size that is not a number keeps the wizard on its step: it is checked before the step
    // counter moves, so nothing goes on with a size that was never given.
    if (Krok == 3) {
        const int width = StrToInt(KreatorAnimFrXY->SpinX->text());
        const int height = StrToInt(KreatorAnimFrXY->SpinY->text());
        Tapeta.width = width;
        Tapeta.height = height;
    }
    if (Krok < 7) ++Krok;
    switch (Krok) {
    case 2:
        Tapeta.movie = KreatorAnimFrPlik->DialogOtworzFileName;
        break;
    case 3:
        Tapeta.encoding = KreatorAnimFrKod->CbKodowanie->currentText();
        break;
    case 4:
        Tapeta.alignment = KreatorAnimFrXY->ComboBox1->currentText();
        break;
    case 5:
        Tapeta.title = KreatorAnimFrTlo->Edit1->text();
        Tapeta.colour = KreatorAnimFrTlo->Kolor();
        break;
    case 6:
        Tapeta.quality = KreatorAnimFrOpcje->CbJakosc->currentText();
        Tapeta.menu = KreatorAnimFrOpcje->ChckMenu->isChecked();
        SpeedButton2->setText(kFinish);
        SpeedButton3->setEnabled(false);
        break;
    default:
        WritePage();
        return;
    }
    ShowStep();
}

void TfmKreatorAnimTapeta::SpeedButton3Click()
{
    if (Krok > 1) --Krok;
    SpeedButton2->setText(kNext);
    ShowStep();
}

void TfmKreatorAnimTapeta::SpeedButton4Click()
{
    ShellExecute(u"open"_s, CurrentPlatform().SystemPathOf(ProgramFile(u"\\Pomoc\\help.doc"_s)),
                 SW_SHOWMAXIMIZED);
}

void TfmKreatorAnimTapeta::ShowStep()
{
    QWidget* const frames[] = {KreatorAnimFrPlik, KreatorAnimFrKod,   KreatorAnimFrXY,
                               KreatorAnimFrTlo,  KreatorAnimFrOpcje, KreatorAnimFrEnd};
    for (int step = 1; step <= 6; ++step)
        frames[step - 1]->setVisible(step == Krok);
    setWindowTitle(WizardCaption(Krok));
}

void TfmKreatorAnimTapeta::WritePage()
{
    // The title names the file and stands in the markup: a title that would leave the
    // wallpaper folder or name no file is refused, and "< Wstecz" leads back to it.
    if (!IsWallpaperTitle(Tapeta.title)) {
        Krok = 6;
        SpeedButton3->setEnabled(true);
        Dialogs().Message(this, kCaption.trimmed(),
                          u"Tytuł tapety jest nazwą jej pliku: nie może być pusty, składać się "
                          u"z samych kropek i spacji ani zawierać znaków \\ / : * ? \" < > |. "
                          u"Wróć do kroku 4 i popraw tytuł."_s,
                          MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    // A page that cannot be written leaves the wizard on its closing page, so "Zakończ" can
    // try again.
    WriteFileBytes(GetSystemPath(u"win"_s) + u"\\Web\\Wallpaper\\"_s + Tapeta.title + u".html"_s,
                   ToCp1250(WallpaperPage(Tapeta)));
    accept();
}
