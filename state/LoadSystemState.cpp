#include "LoadSystemState.h"

#include "ErrorReport.h"
#include "Platform.h"
#include "kodFrDOS.h"
#include "kodFrEdytorSysFiles.h"
#include "kodFrIkony.h"
#include "kodFrInfo.h"
#include "kodFrInterfejs.h"
#include "kodFrPlikiFoldery.h"
#include "kodFrSiec.h"
#include "kodFrSztuczki.h"
#include "kodFrWindows.h"

namespace {

template <class Page> Page* Build(Page*& slot, const LoadSystemState::Place& place)
{
    slot = new Page;
    place(slot);
    return slot;
}

} // namespace

void LoadSystemState::Fill(const std::function<void()>& reading)
{
    if (!running_) return;
    try {
        reading();
    } catch (const std::exception& error) {
        running_ = false;
        ReportError(error);
    }
}

void LoadSystemState::Step(int step, const Place& place)
{
    SystemPages& p = pages_;
    switch (step) {
    case 0: {
        TfrIkony* page = Build(p.FrIkony, place);
        return Fill([&] { page->LoadState(reg_, p.AppletFiles); });
    }
    case 1: {
        TFrPlikiFoldery* page = Build(p.FrPlikiFoldery, place);
        return Fill([&] { page->LoadState(reg_); });
    }
    case 2: {
        TFrInterfejs* page = Build(p.FrInterfejs, place);
        return Fill([&] { page->LoadState(reg_); });
    }
    case 3: {
        TfrWindows* page = Build(p.frWindows, place);
        page->ShowMemorySize(int(CurrentPlatform().TotalPhysicalMemory() >> 20));
        return Fill([&] { page->LoadState(reg_); });
    }
    case 4: {
        TFrSiec* page = Build(p.FrSiec, place);
        return Fill([&] { page->LoadState(reg_); });
    }
    case 5: {
        TFrDOS* page = Build(p.FrDOS, place);
        return Fill([&] { page->LoadState(reg_); });
    }
    case 6: {
        TfrInfo* page = Build(p.frInfo, place);
        return Fill([&] { page->LoadState(); });
    }
    case 7: {
        TfrEdytorSysFiles* page = Build(p.frEdytorSysFiles, place);
        return Fill([&] { page->LoadState(reg_); });
    }
    case 8: {
        TFrSztuczki* page = Build(p.FrSztuczki, place);
        return Fill([&] { page->LoadState(); });
    }
    }
}
