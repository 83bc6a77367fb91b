#pragma once
#include "storage/RecordStore.h"
#include "records/SchedaOpera.h"

// The artwork archive Inventario_Opere.pro: every read, write and scan of the catalogue.
using ArtworkArchive = TypedStore<TSchedaOpera>;
