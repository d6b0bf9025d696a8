#include "LoadSystemState.h"

#include "ErrorReport.h"
#include "TRegistry.h"
#include "kodFrPlikiFoldery.h"
#include "kodMainForm.h"

void LoadSystemState(TMainForm& form)
{
    // One registry object for the whole run; each step opens and closes its own key.
    TRegistry reg;
    try {
        form.FrPlikiFoldery->LoadState(reg);
    } catch (const std::exception& error) {
        ReportError(error);
    }
}
