#include "kodFrInfo.h"

#include "Colours.h"
#include "Controls.h"
#include "Dialogs.h"
#include "Errors.h"
#include "Files.h"
#include "Guarded.h"
#include "LogoPicture.h"
#include "Platform.h"
#include "TIniFile.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kGeneral = u"General"_s;
const QString kSupport = u"Support Information"_s;

// Built anew for every use: the system directory is asked each time.
QString InfoFile() { return GetSystemPath(u"sys"_s) + u"\\OEMINFO.INI"_s; }
QString LogoFile() { return GetSystemPath(u"sys"_s) + u"\\OEMLOGO.BMP"_s; }

using Field = ControlRow<TfrInfo, QLineEdit>;
const Field kFields[] = {
    {&TfrInfo::Edit1, "Edit1", {12, 34, 330, 21}, {}},
    {&TfrInfo::Edit2, "Edit2", {12, 78, 330, 21}, {}},
    {&TfrInfo::Edit3, "Edit3", {12, 122, 330, 21}, {}},
    {&TfrInfo::Edit4, "Edit4", {12, 166, 330, 21}, {}},
};

const QString kExplanation =
    u"Gdy uzupełnisz poniższe pola, informacje, które wpiszesz będą widoczne na karcie "
    u"Właściwości: System w panelu sterowania.\n"
    u"Jest to szczególnie użyteczne dla sprzedawców, chcących aby klienci pamiętali o firmie w "
    u"której nabyli sprzęt i  wiedzieli gdzie \n"
    u"ewentualnie mogą uzyskać pomoc techniczną.\n"
    u"Firma może wstawić swoje logo, opis świadczonych usług oraz informacje kontaktowe."_s;

void SaveLogo(const QImage& logo)
{
    const QString path = LogoFile();
    try {
        WriteFileBytes(path, BitmapFileBytes(logo));
    } catch (const EInOutError&) {
        // A bitmap that cannot be saved reports its file, not the number of the failure.
        throw PictureError(u"Cannot create file %1"_s.arg(path));
    }
}

} // namespace

QStringList MemoLines(const QString& text)
{
    if (text.isEmpty()) return {};
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n')) lines.removeLast();
    return lines;
}

QString SupportLineKey(int number) { return u"Line%1"_s.arg(number); }

QString ProfileValueOf(const QString& text)
{
    const bool enclosed = text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
                          text.back() == text.front();
    if (!enclosed && text.trimmed() == text) return text;
    return u'"' + text + u'"';
}

TfrInfo::TfrInfo(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TfrInfo"_s);
    setMinimumSize(640, 449);

    Memo1 = Named<QPlainTextEdit>(this, "Memo1", {8, 4, 625, 72});
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A memo draws its text from its edges, without a margin of its own.
    Memo1->document()->setDocumentMargin(0);
    Memo1->setPlainText(kExplanation);
    SetColour(Memo1, QPalette::Base, palette().color(QPalette::Button));
    Label1 = NewLabel(this, "Label1", {}, {8, 77, 3, 2});
    Label2 = NewLabel(this, "Label2", {}, {320, 77, 3, 2});

    GroupBox1 = NewGroupBox(this, "GroupBox1", u"Informacje"_s, {8, 80, 625, 361});
    GroupBox3 = NewGroupBox(GroupBox1, "GroupBox3", {}, {8, 18, 354, 333});
    Label3 = NewLabel(GroupBox3, "Label3", u"Nazwa firmy:"_s, {12, 18, 330, 13});
    Label4 = NewLabel(GroupBox3, "Label4", u"Model komputera:"_s, {12, 62, 330, 13});
    Label5 = NewLabel(GroupBox3, "Label5", u"Adres URL pomocy technicznej:"_s, {12, 106, 330, 13});
    Label6 =
        NewLabel(GroupBox3, "Label6", u"Adres lokalny pomocy technicznej:"_s, {12, 150, 330, 13});
    Label7 = NewLabel(GroupBox3, "Label7", u"Informacje dodakowe:"_s, {12, 194, 330, 13});
    Build(this, GroupBox3, kFields);
    InfoDodatkowe = Named<QPlainTextEdit>(GroupBox3, "InfoDodatkowe", {12, 210, 330, 84});
    InfoDodatkowe->setLineWrapMode(QPlainTextEdit::NoWrap);
    InfoDodatkowe->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InfoDodatkowe->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SpeedButton2 = Named<QPushButton>(GroupBox3, "SpeedButton2", {12, 300, 160, 25});
    SpeedButton2->setText(u"Zapisz te informacje"_s);
    SpeedButton2->setFlat(true);
    OnChange(SpeedButton2, Handler(this, &TfrInfo::SpeedButton2Click));

    GroupBox2 = NewGroupBox(GroupBox1, "GroupBox2", {}, {370, 18, 245, 333});
    SpeedButton1 = Named<QPushButton>(GroupBox2, "SpeedButton1", {32, 16, 180, 25});
    SpeedButton1->setText(u"Logo firmy:"_s);
    SpeedButton1->setFlat(true);
    OnChange(SpeedButton1, Handler(this, &TfrInfo::SpeedButton1Click));
    Panel1 = Named<QFrame>(GroupBox2, "Panel1", {32, 46, kLogoSize.width(), kLogoSize.height()});
    Image1 = Named<QLabel>(Panel1, "Image1", {0, 0, kLogoSize.width(), kLogoSize.height()});
    Image1->setScaledContents(true);
    OnEvent(Image1, QEvent::MouseButtonDblClick, Handler(this, &TfrInfo::Image1DblClick));
    Label9 = NewText(GroupBox2, "Label9",
                     u"Notka: Logo powinno mieć rozmiary 172x172 (ale i tak wyświetlane jest w "
                     u"wformacie 180x115) i być zapisane w formacie BMP."_s,
                     {12, 172, 221, 70});
    Label9->setFont(QFont(u"MS Sans Serif"_s, 8));
    SetColour(Label9, QPalette::WindowText, QColor(0, 0, 128));
}

void TfrInfo::LoadState()
{
    Guarded([&] {
        const QString path = LogoFile();
        Image1->setPixmap(
            QPixmap::fromImage(ReadBitmapPicture(CurrentPlatform().HostPath(path), path)));
    });

    Unguarded([&] {
        TIniFile ini(InfoFile());
        Edit1->setText(ini.ReadString(kGeneral, u"Manufacturer"_s, {}));
        Edit2->setText(ini.ReadString(kGeneral, u"Model"_s, {}));
        Edit3->setText(ini.ReadString(kGeneral, u"SupportURL"_s, {}));
        Edit4->setText(ini.ReadString(kGeneral, u"LocalFile"_s, {}));
        QStringList lines;
        for (int n = 1; const auto line = ini.Read(kSupport, SupportLineKey(n)); ++n)
            lines << *line;
        InfoDodatkowe->setPlainText(lines.join(u'\n'));
    });
}

void TfrInfo::SpeedButton2Click()
{
    TIniFile ini(InfoFile());
    ini.WriteString(kGeneral, u"Manufacturer"_s, ProfileValueOf(Edit1->text()));
    ini.WriteString(kGeneral, u"Model"_s, ProfileValueOf(Edit2->text()));
    ini.WriteString(kGeneral, u"SupportURL"_s, ProfileValueOf(Edit3->text()));
    ini.WriteString(kGeneral, u"LocalFile"_s, ProfileValueOf(Edit4->text()));
    // One entry per line, numbered as the system's support display reads them; an empty text
    // still writes its one empty line, and lines left from a longer text go.
    const QStringList lines = MemoLines(InfoDodatkowe->toPlainText());
    const int count = std::max<int>(lines.size(), 1);
    for (int n = 1; n <= count; ++n)
        ini.WriteString(kSupport, SupportLineKey(n),
                        n <= lines.size() ? ProfileValueOf(lines[n - 1]) : QString());
    for (int n = count + 1; ini.ValueExists(kSupport, SupportLineKey(n)); ++n)
        ini.DeleteKey(kSupport, SupportLineKey(n));
}

void TfrInfo::SpeedButton1Click()
{
    const auto picked = Dialogs().OpenPicture(this, u"Wybierz logo firmy"_s,
                                              {u"Bitmapa (*.BMP)|*.bmp"_s}, PickerFolder());
    // A cancelled choice leaves the logo file and the picture as they are.
    if (!picked) return;
    const QImage picture = ReadBitmapPicture(*picked, CurrentPlatform().SystemPathOf(*picked));
    SaveLogo(StretchedLogo(picture));
    // Shown only once saved, so a failure leaves the picture that matches the file.
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void TfrInfo::Image1DblClick() { SpeedButton1->click(); }
