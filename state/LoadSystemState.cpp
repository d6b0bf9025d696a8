#include "LoadSystemState.h"

#include "ErrorReport.h"
#include "kodFrDOS.h"
#include "kodFrEdytorSysFiles.h"
#include "kodFrIkony.h"
#include "kodFrInfo.h"
#include "kodFrInterfejs.h"
#include "kodFrPlikiFoldery.h"
#include "kodFrSiec.h"
#include "kodFrSztuczki.h"
#include "kodFrWindows.h"

void LoadSystemState::Run(const std::function<void()>& steps)
{
    if (ended_) return;
    try {
        steps();
    } catch (const std::exception& error) {
        ended_ = true;
        ReportError(error);
    }
}

void LoadSystemState::Fill(TfrIkony& page, QStringList& appletFiles)
{
    Run([&] { page.LoadState(reg_, appletFiles); });
}

void LoadSystemState::Fill(TFrPlikiFoldery& page)
{
    Run([&] { page.LoadState(reg_); });
}
void LoadSystemState::Fill(TFrInterfejs& page)
{
    Run([&] { page.LoadState(reg_); });
}
void LoadSystemState::Fill(TfrWindows& page)
{
    Run([&] { page.LoadState(reg_); });
}
void LoadSystemState::Fill(TFrSiec& page)
{
    Run([&] { page.LoadState(reg_); });
}
void LoadSystemState::Fill(TFrDOS& page)
{
    Run([&] { page.LoadState(reg_); });
}
void LoadSystemState::Fill(TfrInfo& page)
{
    Run([&] { page.LoadState(); });
}
void LoadSystemState::Fill(TfrEdytorSysFiles& page)
{
    Run([&] { page.LoadState(reg_); });
}
void LoadSystemState::Fill(TFrSztuczki& page)
{
    Run([&] { page.LoadState(); });
}
