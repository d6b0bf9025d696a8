#include "LoadSystemState.h"

#include "ErrorReport.h"
#include "TRegistry.h"
#include "kodFrPlikiFoldery.h"
#include "kodFrWindows.h"

void LoadSystemState(const SystemPages& pages)
{
    // One registry object for the whole run; each step opens and closes its own key.
    TRegistry reg;
    try {
        pages.plikiFoldery.LoadState(reg);
        pages.windows.LoadState(reg);
    } catch (const std::exception& error) {
        ReportError(error);
    }
}
