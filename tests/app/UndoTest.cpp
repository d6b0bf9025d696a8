// Taking a run back: a run with changes on every page, then `--undo`, gives every registry value
// and every profile file what it held before the run.
#include "ChangeHistory.h"
#include "MainFormFixture.h"
#include "ProgramDir.h"
#include "UserInput.h"
#include "WineRegistry.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QTabWidget>
#include <map>

namespace {

// Every key and value of the machine's registry files, without the keys' time stamps.
std::map<QString, QByteArray> RegistryValues(const TempMachine& machine)
{
    std::map<QString, QByteArray> values;
    for (const char* file : {"system.reg", "user.reg", "userdef.reg"}) {
        const auto hive = RegistryHive::Parse(machine.ReadFile(QString::fromLatin1(file)));
        std::vector<std::pair<QString, const RegNode*>> todo{
            {QString::fromLatin1(file), &hive->Root()}};
        while (!todo.empty()) {
            const auto [path, key] = todo.back();
            todo.pop_back();
            values[path] = "<key>";
            for (const RegNodeValue& value : key->Values())
                values[path + u'|' + QString(value.name)] =
                    QByteArray::number(value.type) + ':' + QByteArray(value.data);
            for (const auto& child : key->Children())
                todo.emplace_back(path + u'\\' + child->Name(), child.get());
        }
    }
    return values;
}

// The bytes of every profile file of the drive, MSDOS.SYS with them.
std::map<QString, QByteArray> Profiles(const TempMachine& machine)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(machine.Host(QStringLiteral("drive_c")),
                    {QStringLiteral("*.ini"), QStringLiteral("*.sys")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files[path] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    return files;
}

class UndoTest : public MainFormTest
{};

} // namespace

TEST_F(UndoTest, ARunWithChangesOnEveryPageIsTakenBackWhole)
{
    machine.WriteTemplate();
    const auto registry = RegistryValues(machine);
    const auto profiles = Profiles(machine);

    SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM));
    Start();
    int clicked = 0;
    for (int page = 0; page < Form().Karty->count(); ++page) {
        QWidget* shown = Form().Karty->widget(page);
        ShowPage(shown);
        for (QCheckBox* box : shown->findChildren<QCheckBox*>()) {
            if (!box->isVisibleTo(shown) || !box->isEnabled()) continue;
            Click(box);
            ++clicked;
        }
    }
    Stop();
    SetProgramDir(QString());
    ASSERT_GT(clicked, 50);
    ASSERT_NE(RegistryValues(machine), registry);

    const RunUndo undo = UndoLastRun(machine.Prefix());
    EXPECT_EQ(undo.undone, 1);
    EXPECT_TRUE(undo.leftAlone.empty()) << undo.leftAlone.front().toStdString();
    EXPECT_TRUE(undo.problems.empty());
    EXPECT_EQ(RegistryValues(machine), registry);
    EXPECT_EQ(Profiles(machine), profiles);
}
