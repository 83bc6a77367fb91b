#pragma once
#include "storage/RecordStore.h"
#include "records/SchedaIntervento.h"

// The report archive Relazioni_Tecniche_Restauro.pro: every read, write and scan of the reports.
using ReportArchive = TypedStore<TSchedaIntervento>;
