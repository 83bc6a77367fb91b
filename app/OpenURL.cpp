#include "app/OpenURL.h"

#include "common/Ui.h"

void TMisc::Open(Ui& ui, const QString& sCommand)
{
    ui.openUrl(sCommand);
}
