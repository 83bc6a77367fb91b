#include "app/OpenURL.h"

#include "widgets/Ui.h"

void TMisc::Open(Ui& ui, const QString& sCommand)
{
    ui.openUrl(sCommand);
}
