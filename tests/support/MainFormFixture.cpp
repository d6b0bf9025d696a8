#include "MainFormFixture.h"

#include <QTest>
#include <cstring>

MainFormTest::~MainFormTest()
{
    if (windows_) SettleAnimations();
    windows_.reset();
    EXPECT_TRUE(dialogs.Done()) << "a scripted dialog answer was not used";
}

TMainForm& MainFormTest::Start(Machine::Options options)
{
    machine.Open(std::move(options));
    windows_ = std::make_unique<ProgramWindows>();
    windows_->MainForm.show();
    return windows_->MainForm;
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
