#include "kodFrEdytorSysFiles.h"

#include "Colours.h"
#include "Controls.h"
#include "Cp1250.h"
#include "Dialogs.h"
#include "Errors.h"
#include "Files.h"
#include "Guarded.h"
#include "TRegistry.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSettingsKey = u"Software\\Tolmar\\Ustawienia"_s;
const QString kPathOpen = u"PathOpenInEdytorSysFiles"_s;
const QString kPathSave = u"PathSaveInEdytorSysFiles"_s;

const QStringList kBatchCommands = {
    u"@echo off"_s,
    u"SET TMP=<nowa lokalizacja katalogu TEMP>"_s,
    u"SET TEMP=<nowa lokalizacja katalogu TEMP>"_s,
    u"echo <tekst>"_s,
    u"rem <komentarz>"_s,
    u"goto <etykieta>"_s,
    u":<etykieta>"_s,
    u"pause"_s,
    u"pause >null"_s,
    u"cls"_s,
    u"cd"_s,
    u"copy <źródło [spacja] cel>"_s,
    u"xcopy <źródło [spacja] cel>"_s,
    u"move <dysk:\\ścieżka\\nazwa_pliku1,nazwa_pliku2[...] [spacja] cel>"_s,
    u"rename <dysk:\\nazwa_pliku1 [spacja] nazwa_pliku2>"_s,
    u"mkdir <ścieżka nowego katalogu>"_s,
    u"md <ścieżka nowego katalogu>"_s,
    u"del <dysk:\\ścieżka\\nazwa_pliku1 nazwa_pliku2[...]>"_s,
    u"call"_s,
    u"If"_s,
    u"If not"_s,
    u"If exists"_s,
    u"If not exists"_s,
};
const QStringList kProfileLines = {u"[<sekcja>]"_s, u"<wartość>=<dana>"_s, u";<komentarz>"_s};

using Button = ControlRow<TfrEdytorSysFiles, QPushButton>;
const Button kButtons[] = {
    {&TfrEdytorSysFiles::SpeedButton1,
     "SpeedButton1",
     {8, 368, 150, 25},
     u"Otwórz plik"_s,
     &TfrEdytorSysFiles::SpeedButton1Click},
    {&TfrEdytorSysFiles::SpeedButton2,
     "SpeedButton2",
     {164, 368, 150, 25},
     u"Zapisz plik jako..."_s,
     &TfrEdytorSysFiles::SpeedButton2Click},
    {&TfrEdytorSysFiles::SpeedButton3,
     "SpeedButton3",
     {320, 368, 150, 25},
     u"Zapisz plik"_s,
     &TfrEdytorSysFiles::SpeedButton3Click},
    {&TfrEdytorSysFiles::SpeedButton4,
     "SpeedButton4",
     {476, 368, 156, 25},
     u"Przeładuj plik"_s,
     &TfrEdytorSysFiles::SpeedButton4Click},
};

// An editable drop-down list of ready-made lines that shows "<wybierz>" until one is chosen.
// It hands a line over only when the user chooses one: an item clicked, or taken with Enter, in
// the open list, or Enter on the text shown, exactly as shown. Qt's box reports a choice also
// when the arrow keys or the wheel step through the items and when the focus leaves a text that
// names an item; those only show a line.
class ChoiceList final : public QComboBox
{
public:
    ChoiceList(QWidget* parent, const char* name, QRect geometry, const QStringList& items,
               std::function<void()> chosen)
        : QComboBox(parent), chosen_(std::move(chosen))
    {
        setObjectName(QString::fromLatin1(name));
        setGeometry(geometry);
        setEditable(true);
        setInsertPolicy(QComboBox::NoInsert);
        // Typed text stays as typed: no completing, and no item taken for it in another case.
        setCompleter(nullptr);
        addItems(items);
        setMaxVisibleItems(int(items.size()));
        setCurrentIndex(-1);
        setEditText(u"<wybierz>"_s);
        connect(this, &QComboBox::activated, this, [this] {
            if (!browsing_) chosen_();
        });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            chosen_();
            return;
        }
        const QScopedValueRollback browsing(browsing_, true);
        QComboBox::keyPressEvent(event);
    }
    void wheelEvent(QWheelEvent* event) override
    {
        const QScopedValueRollback browsing(browsing_, true);
        QComboBox::wheelEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        const QScopedValueRollback browsing(browsing_, true);
        QComboBox::focusOutEvent(event);
    }

private:
    std::function<void()> chosen_;
    bool browsing_ = false;
};

// The path a file is named by in the system's messages and settings.
QString SystemName(const QString& hostPath) { return CurrentPlatform().SystemPathOf(hostPath); }

[[noreturn]] void RaiseFileError(const QString& text, const QString& hostPath,
                                 const QString& reason)
{
    throw SystemError(text.arg(SystemName(hostPath), reason));
}

QByteArray ReadBytes(const QString& hostPath)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        RaiseFileError(u"Cannot open file \"%1\". %2"_s, hostPath, file.errorString());
    return file.readAll();
}

void WriteBytes(const QString& hostPath, const QByteArray& bytes)
{
    try {
        WriteHostFile(hostPath, bytes);
    } catch (const EFileWriteError& error) {
        RaiseFileError(error.Writing() ? u"Cannot write file \"%1\". %2"_s
                                       : u"Cannot create file \"%1\". %2"_s,
                       hostPath, error.Text());
    }
}

// The text block by block: the document's own plain text would turn no-break spaces into spaces.
QString DocumentText(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines.join(u'\n');
}

// Keeps the folder of a chosen file in the program's settings. The key is opened without
// creation, so without it the write fails and the error is the registry's own.
void RememberFolder(const QString& name, const QString& hostFile)
{
    TRegistry reg;
    reg.OpenKey(kSettingsKey, false);
    reg.WriteString(name, SystemName(QFileInfo(hostFile).absolutePath()));
}

// One start-up step: the remembered folder becomes the picker's initial folder when it exists.
void LoadFolder(TRegistry& reg, const QString& name, FileDialogState& dialog)
{
    Guarded([&] {
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.CloseKey();
        reg.OpenKey(kSettingsKey, false);
        const QString folder = reg.ReadString(name);
        // An empty text would resolve to the root of drive C:; it names no folder.
        if (!folder.isEmpty() && DirectoryExists(folder)) dialog.InitialDir = folder;
    });
    reg.CloseKey();
}

} // namespace

QString PickerStart(const FileDialogState& dialog)
{
    if (!dialog.FileName.isEmpty()) return dialog.FileName;
    if (dialog.InitialDir.isEmpty()) return PickerFolder();
    QString folder = dialog.InitialDir;
    folder.replace(u"%windir%"_s, GetSystemPath(u"win"_s), Qt::CaseInsensitive);
    return CurrentPlatform().HostPath(folder);
}

QString EditorText(const QByteArray& bytes)
{
    QString text = FromCp1250(bytes);
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return text;
}

QByteArray FileBytes(const QString& text)
{
    QString lines = text;
    lines.replace(u"\n"_s, u"\r\n"_s);
    return ToCp1250(lines);
}

TfrEdytorSysFiles::TfrEdytorSysFiles(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TfrEdytorSysFiles"_s);
    setMinimumSize(640, 449);

    editor = Named<QPlainTextEdit>(this, "editor", {0, 0, 640, 360});
    QFont font(u"Courier New"_s);
    font.setPixelSize(15);
    font.setBold(true);
    editor->setFont(font);
    SetColour(editor, QPalette::Base, Qt::black);
    SetColour(editor, QPalette::Text, Qt::white);
    editor->document()->setDocumentMargin(10);
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Build(this, this, kButtons);
    for (QPushButton* button : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
        button->setFlat(true);
    Label1 = NewLabel(this, "Label1", u"Najczęściej używane komendy wsadowe:"_s, {8, 400, 300, 16});
    Label2 = NewLabel(this, "Label2", u"Najczęściej używane komendy INI:"_s, {332, 400, 300, 16});
    ComboBox1 = new ChoiceList(this, "ComboBox1", {8, 418, 300, 21}, kBatchCommands,
                               Handler(this, &TfrEdytorSysFiles::ComboBox1Change));
    ComboBox2 = new ChoiceList(this, "ComboBox2", {332, 418, 300, 21}, kProfileLines,
                               Handler(this, &TfrEdytorSysFiles::ComboBox2Change));

    OpenD.Title = u"Przeglądaj w poszukiwaniu pliku systemowego"_s;
    OpenD.Filter = {u"Wszystkie pliki (*.*)|*.*"_s, u"Pliki wsadowe (*.bat)|*.bat"_s,
                    u"Pliki systemowe (*.sys)|*.sys"_s, u"Pliki INI (*.ini)|*.ini"_s};
    OpenD.InitialDir = u"%windir%"_s;
}

void TfrEdytorSysFiles::LoadState(TRegistry& reg)
{
    LoadFolder(reg, kPathOpen, OpenD);
    LoadFolder(reg, kPathSave, SaveD);
}

void TfrEdytorSysFiles::ResetEditor()
{
    OpenD.FileName.clear();
    SaveD.FileName.clear();
    editor->clear();
    update();
}

void TfrEdytorSysFiles::LoadFile(const QString& hostPath)
{
    // Every file is shown as plain text, rich text included, so what is saved is what was read.
    editor->setPlainText(EditorText(ReadBytes(hostPath)));
}

void TfrEdytorSysFiles::SaveTo(const QString& hostPath)
{
    WriteBytes(hostPath, FileBytes(DocumentText(*editor->document())));
}

void TfrEdytorSysFiles::SpeedButton1Click()
{
    // The text is replaced only once a file is picked: cancelling keeps it and the settings.
    const auto chosen = Dialogs().OpenFile(this, OpenD.Title, OpenD.Filter, PickerStart(OpenD));
    if (!chosen) return;
    ResetEditor();
    LoadFile(*chosen);
    // A file that could not be read is not current, so a save cannot empty it.
    OpenD.FileName = *chosen;
    RememberFolder(kPathOpen, *chosen);
}

void TfrEdytorSysFiles::SpeedButton2Click()
{
    const auto chosen = Dialogs().SaveFile(this, SaveD.Title, SaveD.Filter, PickerStart(SaveD));
    if (!chosen) return;
    SaveD.FileName = *chosen;
    SaveTo(*chosen);
    RememberFolder(kPathSave, *chosen);
}

void TfrEdytorSysFiles::SpeedButton3Click()
{
    if (!SaveD.FileName.isEmpty())
        SaveTo(SaveD.FileName);
    else if (!OpenD.FileName.isEmpty())
        SaveTo(OpenD.FileName);
    else
        SpeedButton2Click();
}

void TfrEdytorSysFiles::SpeedButton4Click()
{
    const QString opened = OpenD.FileName;
    // Without an opened file this is an open, which empties the editor only once a file is picked.
    if (opened.isEmpty()) return SpeedButton1Click();
    ResetEditor();
    OpenD.FileName = opened;
    LoadFile(opened);
}

void TfrEdytorSysFiles::ComboBox1Change() { InsertLine(ComboBox1->currentText()); }

void TfrEdytorSysFiles::ComboBox2Change() { InsertLine(ComboBox2->currentText()); }

void TfrEdytorSysFiles::InsertLine(const QString& text)
{
    QTextDocument* document = editor->document();
    QTextCursor at(document->findBlock(editor->textCursor().selectionStart()));
    at.beginEditBlock();
    at.insertText(text);
    at.insertBlock();
    at.endEditBlock();
}
