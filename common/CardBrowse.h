#pragma once
#include <QByteArray>
#include <QString>

#include <functional>

class QLabel;
class QWidget;
class Ui;

// First, previous, next and last on a card whose lblPosizione holds its position.
enum class Browse { First, Previous, Next, Last };

// Opens the archive, picks the record the button asks for, reads it whole, closes the
// archive and only then hands it to show(record, k). An empty archive gives the
// information message; any archive failure the access message; neither changes the card.
void browseCard(Ui& ui, QWidget* card, QLabel* lblPosizione, const QString& archivePath, int recordSize,
                Browse where, const std::function<void(const QByteArray&, qint64)>& show);
