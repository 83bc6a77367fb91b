#pragma once
#include "records/SchedaIntervento.h"
#include "storage/RecordStore.h"

// The report archive Relazioni_Tecniche_Restauro.pro: every read, write and scan of the reports.
using ReportArchive = TypedStore<TSchedaIntervento>;
