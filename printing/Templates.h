#pragma once
#include "printing/Report.h"

#include <QDateTime>
#include <QStringList>

// The four templates, built from tables that follow the printed layouts object by object.
namespace templates {

// The two-page restoration report: pages pag01 (front) and Page02 (back), and after them
// the pages with the whole texts too long for their boxes.
report::Template reportDocument();
// Names the report on its added pages (the whole texts and the photographic documentation):
// "Relazione tecnica di restauro n. 17 del 05/03/2024".
void setReportReference(report::Template& t, const QString& number, const QString& date);
// The one-page artwork card sheet: page Page1, numbered as every page after it.
report::Template artworkSheet();
// The landscape list printout: bands ReportTitle, MasterData and Footer; name is
// "Riepilogo dati" or "Riepilogo conti non saldati".
report::Template summaryList(const QString& name);

// Puts a list into a summary template: title, time stamp and one memo line per list line,
// with the memo and its band as high as the lines need.
void fillSummary(report::Template& t, const QString& title, const QString& stamp, const QStringList& lines);

// "Stampa eseguita in data dd/mm/yyyy alle ore hh:mm:ss".
QString printStamp(const QDateTime& when);

} // namespace templates
