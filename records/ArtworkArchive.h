#pragma once
#include "records/SchedaOpera.h"
#include "storage/RecordStore.h"

// The artwork archive Inventario_Opere.pro: every read, write and scan of the catalogue.
using ArtworkArchive = TypedStore<TSchedaOpera>;
