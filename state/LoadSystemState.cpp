#include "LoadSystemState.h"

#include "ErrorReport.h"
#include "TRegistry.h"
#include "kodFrDOS.h"
#include "kodFrEdytorSysFiles.h"
#include "kodFrIkony.h"
#include "kodFrInfo.h"
#include "kodFrInterfejs.h"
#include "kodFrPlikiFoldery.h"
#include "kodFrSiec.h"
#include "kodFrSztuczki.h"
#include "kodFrWindows.h"

void LoadSystemState(const SystemPages& pages)
{
    // One registry object for the whole run; each step opens and closes its own key.
    TRegistry reg;
    try {
        pages.ikony.LoadState(reg, pages.appletFiles);
        pages.plikiFoldery.LoadState(reg);
        pages.interfejs.LoadState(reg);
        pages.windows.LoadState(reg);
        pages.siec.LoadState(reg);
        pages.dos.LoadState(reg);
        pages.info.LoadState();
        pages.edytorSysFiles.LoadState(reg);
        pages.sztuczki.LoadState();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}
