#pragma once
#include "widgets/Ui.h"

#include <QString>
#include <QStringList>

class QWidget;

// The one dialog that opens files, for every screen that asks for one or many: Qt's own
// dialog, and below its list the files of the folder shown whose names Linux programs cannot
// show (Windows-1252 bytes, from a folder copied from Windows), named in lblNomiWindows, with
// btnCorreggiNomi to give them their names in UTF-8 so that they can be listed and chosen.
enum class OpenMode { One, Many };

// The paths chosen; empty when cancelled.
QStringList openDialog(QWidget* parent, const Ui::FileDialog& dialog, OpenMode mode);

// The filters as Qt's dialog takes them: each caption shown as the screen gives it, its
// patterns ("*.jpg; *.jpeg") handed to Qt in a second pair of brackets it does not show.
QString fileFilters(const QStringList& filters);
