#include "MainFormFixture.h"

#include "UserInput.h"

#include <QAbstractButton>
#include <QDir>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <cstring>

RegValue DwordValue(std::uint32_t value)
{
    return {REG_DWORD, QByteArray(reinterpret_cast<const char*>(&value), 4)};
}

RegValue TextValue(const QString& text)
{
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    data.append(2, '\0');
    return {REG_SZ, data};
}

RegValue BinaryValue(const QByteArray& bytes) { return {REG_BINARY, bytes}; }

namespace {

std::string Describe(const std::optional<RegValue>& value)
{
    if (!value) return "nothing";
    return "type " + std::to_string(value->type) + " " + value->data.toHex(' ').toStdString();
}

} // namespace

MainFormTest::~MainFormTest()
{
    if (windows_) SettleAnimations();
    windows_.reset();
    EXPECT_TRUE(dialogs.Done()) << "a scripted dialog answer was not used";
}

TMainForm& MainFormTest::Start(Machine::Options options)
{
    // Windows is never without its folder (start-up writes a profile file there); a test may
    // have made it in a case of its own.
    if (QDir(machine.Host(QStringLiteral("drive_c")))
            .entryList({QStringLiteral("windows")}, QDir::Dirs)
            .isEmpty())
        machine.MakeWindows();
    machine.Open(std::move(options));
    if (!refusedWrites.isEmpty()) {
        refusing_ = std::make_unique<RefusingPlatform>(machine.Get(), refusedWrites);
        SetCurrentPlatform(refusing_.get());
    }
    windows_ = std::make_unique<ProgramWindows>();
    windows_->MainForm.show();
    if (fillAllPages) windows_->MainForm.FillRemainingPages();
    return windows_->MainForm;
}

void MainFormTest::ShowPage(QWidget* page)
{
    QTabBar* tabs = Form().Karty->tabBar();
    for (int tab = 0; tab < Form().Karty->count(); ++tab) {
        QWidget* sheet = Form().Karty->widget(tab);
        if (sheet != page && !sheet->isAncestorOf(page)) continue;
        // A tab scrolled off the bar is reached with the bar's arrows; the test skips them.
        if (tabs->rect().contains(tabs->tabRect(tab)))
            Click(tabs, Qt::LeftButton, tabs->tabRect(tab).center());
        else
            Form().Karty->setCurrentIndex(tab);
        EXPECT_EQ(Form().Karty->currentIndex(), tab);
    }
}

QString MainFormTest::HelpOver(QWidget* control)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), control->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &move);
    return Form().OpisPomocy->toPlainText();
}

void MainFormTest::SettleAnimations()
{
    const bool settled =
        QTest::qWaitFor([&] { return !Form().MenuBusy && !Form().TipsBusy; }, 10000);
    EXPECT_TRUE(settled) << "an animation did not end";
    QCoreApplication::processEvents();
}

void MainFormTest::Stop()
{
    SettleAnimations();
    windows_->MainForm.close();
    windows_.reset();
    machine.Close();
    refusing_.reset();
}

TMainForm& MainFormTest::Restart()
{
    Stop();
    return Start();
}

std::optional<RegValue> MainFormTest::Reg(HKEY root, const QString& key, const QString& name)
{
    return CurrentPlatform().RegQueryValue(root, key, name);
}

std::optional<int> MainFormTest::Dword(HKEY root, const QString& key, const QString& name)
{
    const auto value = Reg(root, key, name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
    std::int32_t n;
    std::memcpy(&n, value->data.constData(), 4);
    return n;
}

std::optional<QString> MainFormTest::Text(HKEY root, const QString& key, const QString& name)
{
    const auto value = Reg(root, key, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return std::nullopt;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(value->data.constData()),
                              value->data.size() / 2 - 1);
}

bool MainFormTest::KeyExists(HKEY root, const QString& key)
{
    return CurrentPlatform().RegOpenKey(root, key);
}

void MainFormTest::ExpectBoundBoxes(const std::vector<BoundBox>& rows)
{
    std::vector<BoundBox> boxes, radios;
    for (const BoundBox& row : rows)
        (row.unchecked ? boxes : radios).push_back(row);
    const auto expect = [&](bool checked) {
        for (const BoundBox& row : boxes) {
            const std::optional<RegValue> wanted = checked ? row.checked : row.unchecked;
            EXPECT_EQ(Describe(Reg(row.root, row.key, row.name)), Describe(wanted))
                << row.control << (checked ? " checked" : " unchecked");
        }
    };
    Start();
    for (const BoundBox& row : boxes)
        if (auto* box = Find<QAbstractButton>(row.control)) box->click();
    expect(true);
    Restart();
    for (const BoundBox& row : boxes) {
        auto* box = Find<QAbstractButton>(row.control);
        if (!box) continue;
        EXPECT_TRUE(box->isChecked()) << row.control << " at the next start";
        box->click();
    }
    expect(false);
    Restart();
    for (const BoundBox& row : boxes) {
        if (auto* box = Find<QAbstractButton>(row.control)) {
            EXPECT_FALSE(box->isChecked()) << row.control << " at the next start";
        }
    }
    for (const BoundBox& row : radios) {
        auto* radio = Find<QAbstractButton>(row.control);
        if (!radio) continue;
        radio->click();
        EXPECT_EQ(Describe(Reg(row.root, row.key, row.name)), Describe(row.checked)) << row.control;
        Restart();
        EXPECT_TRUE(Find<QAbstractButton>(row.control)->isChecked())
            << row.control << " at the next start";
    }
    ExpectStartCases(rows);
}

void MainFormTest::ExpectStartCases(const std::vector<BoundBox>& rows)
{
    std::size_t cases = 0;
    for (const BoundBox& row : rows)
        cases = std::max(cases, row.starts.size());
    for (std::size_t i = 0; i < cases; ++i) {
        Stop();
        for (const BoundBox& row : rows) {
            if (i >= row.starts.size()) continue;
            if (const std::optional<RegValue>& stored = row.starts[i].stored)
                machine.SetValue(row.root, row.key, row.name, *stored);
            else
                machine.DeleteValue(row.root, row.key, row.name);
        }
        Start();
        for (const BoundBox& row : rows) {
            if (i >= row.starts.size()) continue;
            const StartCase& start = row.starts[i];
            auto* control = Find<QAbstractButton>(row.control);
            if (!control) continue;
            SCOPED_TRACE(std::string(row.control) + " finding " + Describe(start.stored));
            EXPECT_EQ(control->isChecked(), start.shows);
            const bool written = start.writesBack.value_or(start.shows);
            EXPECT_EQ(Describe(Reg(row.root, row.key, row.name)),
                      Describe(written ? row.checked : start.stored));
        }
    }
}
