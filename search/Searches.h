#pragma once
#include "records/ArtworkArchive.h"
#include "records/ReportArchive.h"
#include "search/Criteria.h"
#include "search/ListLines.h"

// The scans behind the four list screens. Each reads its archive once, sequentially, and
// builds a line only for a record it lists. Lines are appended to out as they are found,
// so that after an IoError out holds the lines found before it.
namespace searches {

// The works matching the criteria, in artwork-list order.
void findArtworks(const ArtworkArchive& archive, const Criteria& criteria, ListLines& out);
// The reports matching the criteria, in archive order.
void findReports(const ReportArchive& archive, const Criteria& criteria, ListLines& out);
// The works whose Venduta, trimmed, is exactly "No", in artwork-list order.
void unsoldArtworks(const ArtworkArchive& archive, ListLines& out);
// The reports whose Pagato, trimmed, is exactly "No", in archive order.
void unpaidReports(const ReportArchive& archive, ListLines& out);

} // namespace searches
