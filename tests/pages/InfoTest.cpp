// The "Informacje o sprzedawcy" page: the vendor's entries in OEMINFO.INI, written by the save
// button, and the logo OEMLOGO.BMP, written when a picture is chosen.
#include "Cp1250.h"
#include "Files.h"
#include "LogoPicture.h"
#include "MainFormFixture.h"
#include "ProfileText.h"
#include "kodFrInfo.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <jpeglib.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kInfo = u"drive_c/WINDOWS/SYSTEM/OEMINFO.INI"_s;
const QString kLogo = u"drive_c/WINDOWS/SYSTEM/OEMLOGO.BMP"_s;

// A JPEG file of the image, written by the IJG library.
QByteArray Jpeg(const QImage& image, bool gray = false)
{
    const QImage pixels =
        image.convertToFormat(gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    jpeg_compress_struct info = {};
    jpeg_error_mgr errors = {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(pixels.width());
    info.image_height = JDIMENSION(pixels.height());
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(pixels.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

// Left half red, right half blue: a stretch keeps the halves apart.
QImage TwoColours(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return image;
}

QByteArray Bmp(const QImage& image) { return BitmapFileBytes(image); }

bool Reddish(QRgb pixel) { return qRed(pixel) > 200 && qBlue(pixel) < 60; }
bool Bluish(QRgb pixel) { return qBlue(pixel) > 200 && qRed(pixel) < 60; }

const QByteArray kIcon("\0\0\1\0\1\0", 6);

class InfoTest : public MainFormTest
{
protected:
    void SetUp() override { machine.MakeWindows(); }

    TfrInfo& Page() { return *Form().frInfo; }
    void Save() { QTest::mouseClick(Page().SpeedButton2, Qt::LeftButton); }
    void ChooseLogo() { QTest::mouseClick(Page().SpeedButton1, Qt::LeftButton); }
    // A picture the user picks, by its host path.
    QString Picture(const QString& name, const QByteArray& bytes)
    {
        machine.WriteFile(u"drive_c/Obrazki/"_s + name, bytes);
        return machine.Host(u"drive_c/Obrazki/"_s + name);
    }
    QString Error() const
    {
        return dialogs.Messages().empty() ? QString() : dialogs.Messages().back().text;
    }
    QImage Shown() { return Page().Image1->pixmap().toImage(); }
};

} // namespace

TEST_F(InfoTest, TheFiveEntriesAreSavedAndComeBackWithPolishLetters)
{
    machine.WriteFile(kInfo, "; od sprzedawcy\r\n[General]\r\nModel=Stary\r\n");
    Start();
    EXPECT_EQ(Page().Edit2->text(), u"Stary"_s);
    // Filling the page writes nothing.
    EXPECT_EQ(machine.ReadFile(kInfo), "; od sprzedawcy\r\n[General]\r\nModel=Stary\r\n");

    Page().Edit1->setText(u"Zakład Usług Komputerowych „Żuraw”"_s);
    Page().Edit2->setText(u"Żuraw 450"_s);
    Page().Edit3->setText(u"http://zuraw.example.pl"_s);
    Page().Edit4->setText(u"C:\\Pomoc\\żuraw.htm"_s);
    Page().InfoDodatkowe->setPlainText(u"Serwis: ul. Łąkowa 5\nCzynne 8-16"_s);
    Save();
    const QByteArray file = machine.ReadFile(kInfo);
    EXPECT_TRUE(file.startsWith("; od sprzedawcy\r\n[General]\r\nModel=\xaf"
                                "uraw 450\r\n"));
    EXPECT_TRUE(file.contains("Manufacturer=Zak\xb3"
                              "ad Us\xb3ug Komputerowych \x84\xaf"
                              "uraw\x94\r\n"));
    EXPECT_TRUE(file.contains("[Support Information]\r\nLine1=Serwis: ul. \xa3\xb9kowa 5\r\n"
                              "Line2=Czynne 8-16\r\n"));

    Restart();
    EXPECT_EQ(Page().Edit1->text(), u"Zakład Usług Komputerowych „Żuraw”"_s);
    EXPECT_EQ(Page().Edit2->text(), u"Żuraw 450"_s);
    EXPECT_EQ(Page().Edit3->text(), u"http://zuraw.example.pl"_s);
    EXPECT_EQ(Page().Edit4->text(), u"C:\\Pomoc\\żuraw.htm"_s);
    EXPECT_EQ(Page().InfoDodatkowe->toPlainText(), u"Serwis: ul. Łąkowa 5\nCzynne 8-16"_s);
}

TEST_F(InfoTest, EmptyFieldsAreWrittenAsEmptyValues)
{
    machine.WriteFile(kInfo, "[General]\r\nManufacturer=Bajt\r\nModel=PC\r\nSupportURL=u\r\n"
                             "LocalFile=f\r\n[Support Information]\r\nLine1=a\r\nLine2=b\r\n");
    Start();
    for (QLineEdit* field : {Page().Edit1, Page().Edit2, Page().Edit3, Page().Edit4})
        field->clear();
    Page().InfoDodatkowe->clear();
    Save();
    EXPECT_EQ(machine.ReadFile(kInfo), "[General]\r\nManufacturer=\r\nModel=\r\nSupportURL=\r\n"
                                       "LocalFile=\r\n[Support Information]\r\nLine1=\r\n");
    Restart();
    for (QLineEdit* field : {Page().Edit1, Page().Edit2, Page().Edit3, Page().Edit4})
        EXPECT_EQ(field->text(), QString()) << field->objectName().toStdString();
    EXPECT_EQ(Page().InfoDodatkowe->toPlainText(), QString());
}

TEST_F(InfoTest, EachMemoLineIsItsOwnEntryAndAShorterTextRemovesTheRest)
{
    Start();
    // A line that looks like a section or an entry stays a value of its own line.
    Page().InfoDodatkowe->setPlainText(u"Pierwsza\n[General]\nModel=X\n"_s);
    Save();
    EXPECT_EQ(machine.ReadFile(kInfo), "[General]\r\nManufacturer=\r\nModel=\r\nSupportURL=\r\n"
                                       "LocalFile=\r\n\r\n[Support Information]\r\n"
                                       "Line1=Pierwsza\r\nLine2=[General]\r\nLine3=Model=X\r\n");
    Page().InfoDodatkowe->setPlainText(u"Jedna"_s);
    Save();
    const QByteArray file = machine.ReadFile(kInfo);
    EXPECT_TRUE(file.endsWith("[Support Information]\r\nLine1=Jedna\r\n")) << file.data();
    Restart();
    EXPECT_EQ(Page().InfoDodatkowe->toPlainText(), u"Jedna"_s);
    EXPECT_EQ(Page().Edit2->text(), QString());
}

// Windows' profile functions trim a value and strip one pair of quotes around it when they read.
TEST_F(InfoTest, BlanksAndQuotesAroundATextComeBackAsTyped)
{
    Start();
    const QString fields[] = {u"  Bajt  "_s, u"\"Model\""_s, u"'adres'"_s, u"\tplik"_s};
    Page().Edit1->setText(fields[0]);
    Page().Edit2->setText(fields[1]);
    Page().Edit3->setText(fields[2]);
    Page().Edit4->setText(fields[3]);
    const QString memo = u"  wcięty\n\"cytat\"\nzwykły \"środek\" linii\n'a' "_s;
    Page().InfoDodatkowe->setPlainText(memo);
    Save();
    const QByteArray file = machine.ReadFile(kInfo);
    EXPECT_TRUE(file.contains("Manufacturer=\"  Bajt  \"\r\nModel=\"\"Model\"\"\r\n"))
        << file.data();
    EXPECT_TRUE(file.contains("Line3=zwyk\xb3y \"\x9crodek\" linii\r\n"))
        << "a plain line stays plain";

    Restart();
    EXPECT_EQ(Page().Edit1->text(), fields[0]);
    EXPECT_EQ(Page().Edit2->text(), fields[1]);
    EXPECT_EQ(Page().Edit3->text(), fields[2]);
    EXPECT_EQ(Page().Edit4->text(), fields[3]);
    EXPECT_EQ(Page().InfoDodatkowe->toPlainText(), memo);
}

TEST_F(InfoTest, AReadOnlyFileIsReportedAndKeptAsItWas)
{
    machine.WriteFile(kInfo, "[General]\r\nManufacturer=Bajt\r\n");
    QFile::setPermissions(machine.Host(kInfo), QFile::ReadOwner | QFile::ReadGroup);
    Start();
    Page().Edit1->setText(u"Nowa"_s);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Save();
    EXPECT_EQ(Error(), u"Unable to write to C:\\WINDOWS\\SYSTEM\\OEMINFO.INI."_s);
    EXPECT_EQ(machine.ReadFile(kInfo), "[General]\r\nManufacturer=Bajt\r\n");
}

TEST_F(InfoTest, APickedBitmapOrJpegIsStretchedToTheLogoSize)
{
    machine.WriteFile(kLogo, Bmp(TwoColours(30, 30)));
    Start();
    EXPECT_EQ(Shown().size(), QSize(30, 30)); // the logo file as it is

    const struct
    {
        const char* name;
        QByteArray bytes;
    } pictures[] = {{"kwadrat.bmp", Bmp(TwoColours(172, 172))},
                    {"zdjecie.JPG", Jpeg(TwoColours(64, 300))}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name);
        dialogs.ExpectFile(Picture(QString::fromLatin1(picture.name), picture.bytes));
        ChooseLogo();
        const QImage logo = QImage::fromData(machine.ReadFile(kLogo), "BMP");
        ASSERT_EQ(logo.size(), kLogoSize);
        EXPECT_TRUE(Reddish(logo.pixel(10, 57)) && Reddish(logo.pixel(80, 2)));
        EXPECT_TRUE(Bluish(logo.pixel(100, 57)) && Bluish(logo.pixel(179, 114)));
        EXPECT_TRUE(Reddish(Shown().pixel(2, 2)));
    }
    dialogs.ExpectFile(Picture(u"szare.jpeg"_s, Jpeg(TwoColours(40, 20), true)));
    ChooseLogo();
    const QImage gray = QImage::fromData(machine.ReadFile(kLogo), "BMP");
    ASSERT_EQ(gray.size(), kLogoSize);
    EXPECT_GT(qGray(gray.pixel(10, 10)), qGray(gray.pixel(170, 100)) + 20);
    // A double click on the picture chooses the logo as the button does.
    dialogs.ExpectFile(Picture(u"maly.bmp"_s, Bmp(QImage(8, 8, QImage::Format_RGB32))));
    QTest::mouseDClick(Page().Image1, Qt::LeftButton);
    EXPECT_EQ(Shown().size(), QSize(8, 8));
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(InfoTest, ALogoSavedOverTheOldOneKeepsItsAttributesAndReadOnlyHolds)
{
    machine.WriteFile(kLogo, Bmp(TwoColours(30, 30)));
    Start();
    const QString logo = u"C:\\WINDOWS\\SYSTEM\\OEMLOGO.BMP"_s;
    // Every combination of attributes is the writer's own test; here, the page uses it.
    const int attributes = SupportsDosAttributes(machine.Prefix()) ? faHidden | faSysFile : 0;
    FileSetAttr(logo, attributes);
    dialogs.ExpectFile(Picture(u"kwadrat.bmp"_s, Bmp(TwoColours(172, 172))));
    ChooseLogo();
    EXPECT_EQ(QImage::fromData(machine.ReadFile(kLogo), "BMP").size(), kLogoSize);
    EXPECT_EQ(FileGetAttr(logo), faArchive | attributes);

    FileSetAttr(logo, faReadOnly);
    const QByteArray before = machine.ReadFile(kLogo);
    dialogs.ExpectFile(Picture(u"maly.bmp"_s, Bmp(TwoColours(8, 8))));
    dialogs.ExpectMessage(MessageAnswer::Ok);
    ChooseLogo();
    EXPECT_EQ(Error(), u"Cannot create file C:\\WINDOWS\\SYSTEM\\OEMLOGO.BMP."_s);
    EXPECT_EQ(machine.ReadFile(kLogo), before);
    EXPECT_EQ(FileGetAttr(logo), faArchive | faReadOnly);
    EXPECT_EQ(Shown().size(), QSize(172, 172)) << "the picture that matches the file";
}

TEST_F(InfoTest, APictureThatCannotBeTheLogoChangesNothing)
{
    const QByteArray logo = Bmp(TwoColours(180, 115));
    machine.WriteFile(kLogo, logo);
    Start();
    const struct
    {
        std::optional<QString> picked;
        QString error;
    } cases[] = {
        {Picture(u"ikona.ico"_s, kIcon), u"Cannot assign a TIcon to a TBitmap."_s},
        {Picture(u"rysunek.wmf"_s, "x"), u"Cannot assign a TMetafile to a TBitmap."_s},
        {Picture(u"zepsuty.bmp"_s, "BM to nie obrazek"), u"Bitmap image is not valid."_s},
        {Picture(u"zepsuty.jpg"_s, "\xff\xd8\xff nie"), u"JPEG error"_s},
        {machine.Host(u"drive_c/brak.bmp"_s), u"Cannot open file C:\\brak.bmp."_s},
        {std::nullopt, QString()}, // cancelled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error.toStdString());
        dialogs.ExpectFile(c.picked);
        if (!c.error.isEmpty()) dialogs.ExpectMessage(MessageAnswer::Ok);
        ChooseLogo();
        EXPECT_TRUE(Error().startsWith(c.error));
        EXPECT_EQ(machine.ReadFile(kLogo), logo);
        EXPECT_EQ(Shown().pixel(170, 100), qRgb(0, 0, 255));
    }
}

TEST_F(InfoTest, NoLogoIsWrittenWithoutAPicture)
{
    machine.WriteFile(kLogo, "nie bitmapa");
    Start();
    EXPECT_TRUE(Page().Image1->pixmap().isNull()); // an unreadable logo: silently none
    EXPECT_TRUE(dialogs.Messages().empty());
    QFile::remove(machine.Host(kLogo));
    dialogs.ExpectFile(std::nullopt);
    ChooseLogo();
    dialogs.ExpectFile(Picture(u"ikona.ico"_s, kIcon));
    dialogs.ExpectMessage(MessageAnswer::Ok);
    ChooseLogo();
    EXPECT_FALSE(QFile::exists(machine.Host(kLogo)));
}

TEST(LogoPicture, PureRules)
{
    EXPECT_EQ(PictureKindOf(u"a.BMP"_s), PictureKind::Bitmap);
    EXPECT_EQ(PictureKindOf(u"a.Jpeg"_s), PictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf(u"a.emf"_s), PictureKind::Metafile);
    EXPECT_EQ(PictureKindOf(u"a.gif"_s), PictureKind::Unknown);
    EXPECT_THROW(ReadBitmapPicture(u"/x/a.gif"_s, u"C:\\a.gif"_s), PictureError);
    const QImage decoded = DecodeJpeg(Jpeg(TwoColours(33, 17)));
    EXPECT_EQ(decoded.size(), QSize(33, 17));
    EXPECT_EQ(StretchedLogo(decoded).size(), kLogoSize);
    const QByteArray file = BitmapFileBytes(StretchedLogo(decoded));
    EXPECT_EQ(file.left(2), "BM");
    EXPECT_EQ(file[28], 24); // bits per pixel
    try {
        DecodeJpeg(Jpeg(TwoColours(8, 8)).left(40));
        FAIL() << "a cut JPEG was decoded";
    } catch (const PictureError& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith(u"JPEG error #"_s));
    }
}

TEST(ProfileValueOf, WindowsReadsBackExactlyTheText)
{
    const struct
    {
        QString text;
        QString written;
    } cases[] = {
        {u""_s, u""_s},
        {u"Zakład „Żuraw”"_s, u"Zakład „Żuraw”"_s},
        {u"a \"b\" c"_s, u"a \"b\" c"_s},
        {u"\"otwarty"_s, u"\"otwarty"_s},
        {u"koniec'"_s, u"koniec'"_s},
        {u"\""_s, u"\""_s},
        {u"'\""_s, u"'\""_s},
        {u" a"_s, u"\" a\""_s},
        {u"a\t"_s, u"\"a\t\""_s},
        {u"  "_s, u"\"  \""_s},
        {u"\"a\""_s, u"\"\"a\"\""_s},
        {u"'a'"_s, u"\"'a'\""_s},
        {u"\"\""_s, u"\"\"\"\""_s},
        {u" \"a\" "_s, u"\" \"a\" \""_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(ProfileValueOf(c.text), c.written);
        const QByteArray file = "[s]\r\nk=" + ToCp1250(ProfileValueOf(c.text)) + "\r\n";
        EXPECT_EQ(ProfileLookup(file, u"s"_s, u"k"_s), c.text);
    }
}
