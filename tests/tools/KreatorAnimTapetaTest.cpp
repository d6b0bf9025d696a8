// The animated wallpaper wizard: its steps and captions, the values it takes on the way, and
// the page it writes into the wallpaper folder.
#include "MainFormFixture.h"
#include "ProgramDir.h"
#include "UserInput.h"
#include "kodFrInterfejs.h"
#include "kodFrKreatorAnimEnd.h"
#include "kodFrKreatorAnimKod.h"
#include "kodFrKreatorAnimOpcje.h"
#include "kodFrKreatorAnimPlik.h"
#include "kodFrKreatorAnimTlo.h"
#include "kodFrKreatorAnimXY.h"
#include "kodKreatorAnimTapeta.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kWallpaper = u"drive_c/WINDOWS/Web/Wallpaper"_s;

class KreatorAnimTapetaTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        machine.MakeWindows();
        machine.WriteFile(kWallpaper + u"/.keep"_s, {});
    }
    TfmKreatorAnimTapeta& Open(Machine::Options options = {})
    {
        Start(std::move(options));
        wizard = std::make_unique<TfmKreatorAnimTapeta>(&Form());
        return *wizard;
    }
    void Next() { wizard->SpeedButton2->click(); }
    void Back() { wizard->SpeedButton3->click(); }
    QString Caption() const { return wizard->windowTitle(); }
    QStringList Written() const
    {
        return QDir(machine.Host(kWallpaper)).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }
    QByteArray Page(const QString& name) const
    {
        return machine.ReadFile(kWallpaper + u'/' + name + u".html"_s);
    }
    // The worked example, to the closing page: the caption on each step as it is shown.
    QStringList WalkTheExample(const QString& title = u"Ryby"_s)
    {
        QStringList captions{Caption()};
        machine.WriteFile(u"drive_c/Moje dokumenty/ryby.swf"_s, "FWS");
        dialogs.ExpectFile(machine.Host(u"drive_c/Moje dokumenty/ryby.swf"_s));
        wizard->KreatorAnimFrPlik->SpeedButton1->click();
        Next();
        captions << Caption();
        wizard->KreatorAnimFrKod->CbKodowanie->setCurrentIndex(0);
        Next();
        captions << Caption();
        wizard->KreatorAnimFrXY->SpinX->setValue(800);
        wizard->KreatorAnimFrXY->SpinY->setValue(600);
        wizard->KreatorAnimFrXY->ComboBox1->setCurrentIndex(1);
        Next();
        captions << Caption();
        wizard->KreatorAnimFrTlo->Edit1->setText(title);
        dialogs.ExpectColor(QColor(0, 0, 255));
        wizard->KreatorAnimFrTlo->PanelKolorClick();
        Next();
        captions << Caption();
        wizard->KreatorAnimFrOpcje->CbJakosc->setCurrentIndex(1);
        Next();
        captions << Caption();
        return captions;
    }
    bool OnTheClosingPage() const
    {
        return wizard->Krok >= 6 && wizard->KreatorAnimFrEnd->isVisibleTo(wizard.get()) &&
               !wizard->KreatorAnimFrOpcje->isVisibleTo(wizard.get()) &&
               wizard->SpeedButton2->text() == u"Zakończ"_s;
    }

    std::unique_ptr<TfmKreatorAnimTapeta> wizard;
};

const QByteArray kRyby =
    "<HTML>\r\n"
    "<HEAD>\r\n"
    "<meta http-equiv=Content-Type content=\"text/html;  charset=ISO-8859-2\">\r\n"
    "<TITLE>Ryby</TITLE>\r\n"
    "</HEAD>\r\n"
    "<BODY bgcolor=\"0000ff\">\r\n"
    "<OBJECT classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\"\r\n"
    " codebase=\"http://download.example.org/pub/flash/swflash.cab#version=6,0,0,0\"\r\n"
    " WIDTH=\"800\" HEIGHT=\"600\" id=\"Ryby\" ALIGN=\"left\">\r\n"
    " <PARAM NAME=movie VALUE=\"C:\\Moje dokumenty\\ryby.swf\"> <PARAM NAME=menu VALUE=False> "
    "<PARAM NAME=quality VALUE=Medium> <PARAM NAME=bgcolor VALUE=0000ff> <EMBED "
    "src=\"C:\\Moje dokumenty\\ryby.swf\" menu=False quality=Medium bgcolor=0000ff  WIDTH=\"800\" "
    "HEIGHT=\"600\" NAME=\"Ryby\" ALIGN=\"left\"\r\n"
    " TYPE=\"application/x-shockwave-flash\" "
    "PLUGINSPAGE=\"http://www.example.org/flash/player/\"></EMBED>\r\n"
    "</OBJECT>\r\n"
    "</BODY>\r\n"
    "</HTML>\r\n";

} // namespace

TEST(KreatorAnimTapeta, ItemsMapExactlyAndColoursTakeTwoDigitsEach)
{
    EXPECT_EQ(AlignmentAttribute(u"Do prawej"_s), u"right"_s);
    EXPECT_EQ(AlignmentAttribute(u"Do lewej"_s), u"left"_s);
    EXPECT_EQ(AlignmentAttribute(u"Do góry"_s), u"top"_s);
    EXPECT_EQ(AlignmentAttribute(u"Do dołu"_s), u"bottom"_s);
    EXPECT_EQ(AlignmentAttribute(u"Do środka"_s), QString());
    EXPECT_EQ(AlignmentAttribute(u"do lewej"_s), QString());
    EXPECT_EQ(QualityParameter(u"Słaba"_s), u"Low"_s);
    EXPECT_EQ(QualityParameter(u"Dobra"_s), u"Medium"_s);
    EXPECT_EQ(QualityParameter(u"Bardzo dobra"_s), u"High"_s);
    EXPECT_EQ(QualityParameter(u"Wybierz jakość"_s), QString());
    EXPECT_EQ(MenuParameter(true), u"True"_s);
    EXPECT_EQ(ColourText(QColor(255, 128, 0)), u"ff8000"_s);
    EXPECT_EQ(ColourText(QColor(10, 0, 255)), u"0a00ff"_s);
    EXPECT_EQ(HtmlText(u"a&b<c>\"d' ą€😀"_s), u"a&amp;b&lt;c&gt;&quot;d' &#261;&#8364;&#128512;"_s);
    EXPECT_EQ(WizardCaption(2), u"Kreator animowanej tapety   [2 z 5]"_s);
}

namespace {

// The text a page's reader sees in markup made of ASCII: the four entities and decimal
// character references decoded; nothing when anything else stands there.
std::optional<QString> ReadMarkupText(const QString& markup)
{
    static const std::pair<QString, char32_t> kEntities[] = {
        {u"amp"_s, U'&'}, {u"lt"_s, U'<'}, {u"gt"_s, U'>'}, {u"quot"_s, U'"'}};
    QList<char32_t> text;
    for (qsizetype i = 0; i < markup.size(); ++i) {
        const QChar c = markup[i];
        if (c == u'<' || c == u'>' || c == u'"') return std::nullopt;
        if (c != u'&') {
            text << c.unicode();
            continue;
        }
        const qsizetype end = markup.indexOf(u';', i);
        if (end < 0) return std::nullopt;
        const QString name = markup.mid(i + 1, end - i - 1);
        i = end;
        bool ok = false;
        if (name.startsWith(u'#')) {
            const uint code = name.mid(1).toUInt(&ok, 10);
            if (!ok || name.size() < 2 || !name.at(1).isDigit()) return std::nullopt;
            text << char32_t(code);
            continue;
        }
        for (const auto& [entity, code] : kEntities)
            if (name == entity) {
                text << code;
                ok = true;
            }
        if (!ok) return std::nullopt;
    }
    return QString::fromUcs4(text.constData(), text.size());
}

} // namespace

// Whatever is typed reaches the page as ASCII that reads back as the typed text: under any
// 8-bit charset of the page, "ó" must not stand there as its windows-1250 byte.
TEST(KreatorAnimTapeta, EscapedTextIsAsciiAndReadsBackAsTyped)
{
    QList<char32_t> codes;
    for (char32_t c = 0; c < 0x800; ++c)
        codes << c;
    for (char32_t c = 0x800; c <= 0x10FFFF; c += 97)
        codes << c;
    codes << 0xFFFD << 0xFFFF << 0x10000 << 0x1F600 << 0x10FFFF;
    codes.removeIf([](char32_t c) { return c >= 0xD800 && c <= 0xDFFF; });

    std::mt19937 random(1250);
    std::vector<QString> texts;
    for (const char32_t c : codes)
        texts.push_back(QString::fromUcs4(&c, 1));
    for (int n = 0; n < 2000; ++n) {
        QList<char32_t> picked;
        for (int length = 1 + int(random() % 8); length > 0; --length)
            picked << codes[qsizetype(random() % codes.size())];
        texts.push_back(QString::fromUcs4(picked.constData(), picked.size()));
    }
    for (const QString& text : texts) {
        const QString markup = HtmlText(text);
        const bool ascii =
            std::all_of(markup.begin(), markup.end(), [](QChar c) { return c.unicode() < 128; });
        ASSERT_TRUE(ascii) << "U+" << std::hex << text.toUcs4().value(0);
        ASSERT_EQ(ReadMarkupText(markup), std::optional(text))
            << "U+" << std::hex << text.toUcs4().value(0);
    }
}

TEST_F(KreatorAnimTapetaTest, TheWorkedExampleWritesRybyByteForByte)
{
    Open();
    EXPECT_EQ(
        WalkTheExample(),
        QStringList(
            {u"Kreator animowanej tapety   [1 z 5]"_s, u"Kreator animowanej tapety   [2 z 5]"_s,
             u"Kreator animowanej tapety   [3 z 5]"_s, u"Kreator animowanej tapety   [4 z 5]"_s,
             u"Kreator animowanej tapety   [5 z 5]"_s, u"Kreator animowanej tapety   "_s}));
    ASSERT_EQ(dialogs.Pickers().size(), 1u);
    EXPECT_EQ(dialogs.Pickers()[0].title, u"Wskaż plik, który zawiera animację..."_s);
    EXPECT_EQ(dialogs.Pickers()[0].filters, QStringList{u"Pliki z animacją Flash|*.SWF"_s});
    EXPECT_EQ(dialogs.Pickers()[0].folder, machine.Host(u"drive_c"_s));
    EXPECT_EQ(wizard->KreatorAnimFrPlik->LLokalizacja->text(), u"C:\\Moje dokumenty\\ryby.swf"_s);
    EXPECT_TRUE(OnTheClosingPage());
    EXPECT_FALSE(wizard->SpeedButton3->isEnabled());
    EXPECT_TRUE(Written().isEmpty());
    Next();
    EXPECT_EQ(Page(u"Ryby"_s), kRyby);
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
}

TEST_F(KreatorAnimTapetaTest, ValuesAreTakenOnlyWhenTheirStepIsLeftForward)
{
    Open();
    const QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_EQ(wizard->KreatorAnimFrXY->SpinX->value(), screen->size().width());
    EXPECT_EQ(wizard->KreatorAnimFrXY->SpinY->value(), screen->size().height());
    Next();
    Next();
    wizard->KreatorAnimFrXY->SpinX->setValue(800);
    wizard->KreatorAnimFrXY->ComboBox1->setEditText(u"Do środka"_s);
    Next();
    Back();
    EXPECT_EQ(Caption(), u"Kreator animowanej tapety   [3 z 5]"_s);
    Back();
    EXPECT_TRUE(wizard->KreatorAnimFrKod->isVisibleTo(wizard.get()));
    wizard->KreatorAnimFrKod->CbKodowanie->setEditText(u"utf-8"_s);
    EXPECT_EQ(wizard->Tapeta.encoding, u"Wybierz kodowanie"_s);
    Next();
    EXPECT_EQ(wizard->Tapeta.encoding, u"utf-8"_s);
    wizard->KreatorAnimFrXY->SpinX->setValue(1024);
    wizard->KreatorAnimFrXY->ComboBox1->setEditText(u"Do prawej"_s);
    EXPECT_EQ(wizard->Tapeta.width, 800);
    EXPECT_EQ(wizard->Tapeta.alignment, u"Do środka"_s);
    Back();
    Next();
    Next();
    EXPECT_EQ(wizard->Tapeta.width, 1024);
    EXPECT_EQ(wizard->Tapeta.alignment, u"Do prawej"_s);

    // Untouched, the movie, the quality and the colour are empty, empty and the button face
    // the panel shows, never the system colour's number.
    wizard->KreatorAnimFrTlo->Edit1->setText(u"Pusta"_s);
    wizard->KreatorAnimFrXY->ComboBox1->setEditText(u"Do środka"_s);
    Back();
    Next();
    Next();
    Next();
    Next();
    const QString page = QString::fromLatin1(Page(u"Pusta"_s));
    const QString face = ColourText(wizard->palette().color(QPalette::Button));
    EXPECT_NE(face, u"0f0000"_s);
    EXPECT_TRUE(page.contains(u"<BODY bgcolor=\""_s + face + u"\">"_s)) << page.toStdString();
    EXPECT_TRUE(page.contains(u"charset=utf-8\">"_s)) << page.toStdString();
    EXPECT_TRUE(page.contains(u"id=\"Pusta\" ALIGN=\"\">"_s)) << page.toStdString();
    EXPECT_TRUE(page.contains(u"VALUE=\"\"> <PARAM NAME=menu VALUE=False> <PARAM NAME=quality "
                              u"VALUE=> "_s))
        << page.toStdString();
}

TEST_F(KreatorAnimTapetaTest, ASizeThatIsNoNumberStaysOnItsStep)
{
    Open();
    Next();
    Next();
    auto* field = wizard->KreatorAnimFrXY->SpinX->findChild<QLineEdit*>();
    field->setText(u"12a"_s);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Next();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"'12a' is not a valid integer value."_s);
    EXPECT_EQ(wizard->Krok, 3);
    EXPECT_EQ(Caption(), u"Kreator animowanej tapety   [3 z 5]"_s);
    EXPECT_TRUE(wizard->KreatorAnimFrXY->isVisibleTo(wizard.get()));
    EXPECT_FALSE(wizard->KreatorAnimFrTlo->isVisibleTo(wizard.get()));
    field->setText(u"640"_s);
    Next();
    EXPECT_EQ(wizard->Krok, 4);
    EXPECT_EQ(wizard->Tapeta.width, 640);
}

TEST_F(KreatorAnimTapetaTest, ATitleThatCannotNameAFileInTheFolderIsRefused)
{
    machine.WriteFile(u"drive_c/WINDOWS/Web/.keep"_s, {});
    Open();
    for (const QString& title :
         {u"a\"b"_s, u"..\\..\\x"_s, u"a/b"_s, QString(), u". ."_s, u"a|b"_s}) {
        WalkTheExample(title);
        dialogs.ExpectMessage(MessageAnswer::Ok);
        Next();
        EXPECT_TRUE(OnTheClosingPage()) << title.toStdString();
        EXPECT_NE(wizard->result(), QDialog::Accepted);
        // Back to the title: "< Wstecz" leads there once the title is refused.
        ASSERT_TRUE(wizard->SpeedButton3->isEnabled());
        Back();
        EXPECT_EQ(wizard->SpeedButton2->text(), u"Dalej >"_s);
        for (int step = 5; step > 1; --step)
            Back();
    }
    EXPECT_EQ(dialogs.Messages().size(), 6u);
    EXPECT_TRUE(dialogs.Messages()[0].text.startsWith(u"Tytuł tapety"_s));
    EXPECT_TRUE(Written().isEmpty());
    EXPECT_EQ(machine.ReadFile(u"drive_c/WINDOWS/x.html"_s), QByteArray());
    EXPECT_EQ(machine.ReadFile(u"drive_c/WINDOWS/Web/x.html"_s), QByteArray());

    // Letters beyond ASCII are written as references, so either declared charset reads them.
    WalkTheExample(u"Ząb & źrebię"_s);
    Next();
    const QByteArray page = Page(u"Ząb & źrebię"_s);
    EXPECT_TRUE(page.contains("<TITLE>Z&#261;b &amp; &#378;rebi&#281;</TITLE>\r\n"))
        << page.toStdString();
    EXPECT_TRUE(page.contains(" NAME=\"Z&#261;b &amp; &#378;rebi&#281;\" ALIGN"))
        << page.toStdString();
}

TEST_F(KreatorAnimTapetaTest, AMissingFolderLeavesTheClosingPageToTryAgain)
{
    Open();
    QDir(machine.Host(kWallpaper)).removeRecursively();
    WalkTheExample();
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Next();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"I/O error 3."_s);
    EXPECT_TRUE(OnTheClosingPage());
    EXPECT_EQ(Caption(), u"Kreator animowanej tapety   "_s);
    EXPECT_NE(wizard->result(), QDialog::Accepted);
    QDir().mkpath(machine.Host(kWallpaper));
    Next();
    EXPECT_EQ(Page(u"Ryby"_s), kRyby);
}

TEST_F(KreatorAnimTapetaTest, CancelWritesNothingAndHelpOpensTheHelpDocument)
{
    std::vector<QString> launched;
    Machine::Options options;
    options.launch = [&](const QString& program, const QStringList& arguments, const QStringList&) {
        launched.push_back(program + u' ' + arguments.join(u' '));
    };
    SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM));
    Open(std::move(options));
    WalkTheExample();
    wizard->SpeedButton4->click();
    SetProgramDir(QString());
    EXPECT_TRUE(OnTheClosingPage());
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], QStringLiteral("xdg-open " TOLMAR_DATA_PROGRAM "/Pomoc/help.doc"));
    wizard->SpeedButton1->click();
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
    EXPECT_TRUE(Written().isEmpty());
}

TEST_F(KreatorAnimTapetaTest, EachOpeningFromThePageIsAFreshWizard)
{
    Start();
    std::vector<QString> captions;
    const auto answer = [&] {
        QTimer::singleShot(0, [&] {
            auto* shown = dynamic_cast<TfmKreatorAnimTapeta*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            captions.push_back(shown->windowTitle());
            // Over the middle of the main window, not of the page that opened it.
            const QPoint off = shown->geometry().center() - Form().geometry().center();
            EXPECT_LE(off.manhattanLength(), 2) << off.x() << ", " << off.y();
            shown->SpeedButton2->click();
            shown->SpeedButton1->click();
        });
        Form().FrInterfejs->SpeedButton2->click();
    };
    answer();
    answer();
    EXPECT_EQ(captions, std::vector<QString>(2, u"Kreator animowanej tapety   [1 z 5]"_s));
}

// Typed into the focused field and left with Tab, as a user does: the text stays as typed, also
// when an item differs from it only in letter case.
TEST_F(KreatorAnimTapetaTest, TypedTextStaysAsTypedWhenTheFieldIsLeft)
{
    Open();
    ASSERT_TRUE(ShowActive(wizard.get()));
    const struct
    {
        int step;
        QComboBox* box;
        QString typed;
    } cases[] = {
        {2, wizard->KreatorAnimFrKod->CbKodowanie, u"iso-8859-2"_s},
        {3, wizard->KreatorAnimFrXY->ComboBox1, u"do lewej"_s},
        {5, wizard->KreatorAnimFrOpcje->CbJakosc, u"dobra"_s},
    };
    for (const auto& c : cases) {
        while (wizard->Krok < c.step)
            Next();
        Click(c.box, Qt::LeftButton, {10, c.box->height() / 2});
        Press(Qt::Key_A, Qt::ControlModifier);
        Type(c.typed);
        Press(Qt::Key_Tab);
        EXPECT_EQ(c.box->currentText(), c.typed);
    }
}
