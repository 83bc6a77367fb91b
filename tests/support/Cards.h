#pragma once
#include "TestUi.h"

#include <QList>
#include <QString>

#include <functional>
#include <utility>

class CardScreen;
class QLineEdit;

// What card-independent tests need to know of each card ("opere" or "interventi"); the
// screens must exist (a Fixture made them).
struct CardKind {
    CardScreen* card = nullptr;
    QString archive; // the archive's file name
    int size = 0; // its record size
    QLineEdit* key = nullptr; // a field the browse tests read
    std::function<void()> fillMandatory;
    std::function<QByteArray(const QString& key)> record; // a stored card with that key
    Ui::Kind saveFailure = Ui::Kind::Plain;
    QString firstField;
};
CardKind kindOf(const QString& name);

// The mandatory fields of a card, in the order they are checked, and their warnings.
QList<std::pair<QString, QString>> mandatoryOf(const QString& name);

// The information box the scripted Ui recorded, as a list to compare with.
QList<TestUi::Message> informed(const QString& text);
