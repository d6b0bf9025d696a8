#include "LoadSystemState.h"

#include "ErrorReport.h"
#include "TRegistry.h"
#include "kodFrIkony.h"
#include "kodFrPlikiFoldery.h"

void LoadSystemState(const SystemPages& pages)
{
    // One registry object for the whole run; each step opens and closes its own key.
    TRegistry reg;
    try {
        pages.ikony.LoadState(reg, pages.appletFiles);
        pages.plikiFoldery.LoadState(reg);
    } catch (const std::exception& error) {
        ReportError(error);
    }
}
