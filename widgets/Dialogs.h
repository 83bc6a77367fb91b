#pragma once
#include <memory>

class QDialog;
class QPushButton;
class QWidget;
class Ui;

// The "Chiudi" button btnChiudi of a dialog, closing it.
QPushButton* closeButton(QDialog* dialog);

// Shows a screen created for one use modally, then destroys it.
int execOnce(Ui& ui, std::unique_ptr<QDialog> dialog);

// Centres a top-level window on its screen.
void centerOnScreen(QWidget* w);
