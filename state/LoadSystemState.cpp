#include "LoadSystemState.h"

#include "ErrorReport.h"
#include "kodMainForm.h"

void LoadSystemState(TMainForm& form)
{
    try {
        (void)form;
    } catch (const std::exception& error) {
        ReportError(error);
    }
}
