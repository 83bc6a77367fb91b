#pragma once
#include "storage/RecordStore.h"

#include <QByteArray>
#include <functional>

class QLabel;
class QWidget;
class Ui;

// First, previous, next and last on a card whose lblPosizione holds its position: asks
// the store for the record and only then hands it to show(record, k). An empty archive
// gives the information message; any archive failure the access message; neither
// changes the card.
void browseCard(Ui& ui, QWidget* card, QLabel* lblPosizione, const RecordStore& store, Browse where,
                const std::function<void(const QByteArray&, qint64)>& show);
