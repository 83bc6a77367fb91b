#pragma once
#include <QString>

class Ui;

// Opens a web address, a mail link, a document or a file with the program the system
// associates with it. Nothing is reported when that fails.
class TMisc {
public:
    static void Open(Ui& ui, const QString& sCommand);
};
