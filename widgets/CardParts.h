#pragma once
#include <QString>

#include <array>

class PictureButton;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class StatusHints;

// What the two card screens share: the toolbar panel, the blue status band with its
// hints and the hidden helpers.
class CardChrome {
public:
    // Builds the toolbar panel and the status band of card, whose background empties the line.
    explicit CardChrome(QWidget* card);

    // A toolbar picture button with its status hint.
    PictureButton* button(const char* name, const char* picture, const char* hint, const QString& caption = {});
    void spacing(int pixels);
    void stretch();
    // cmdPrimo, cmdIndietro, lblPosizione, cmdAvanti, cmdUltimo with their hints.
    struct BrowseGroup {
        PictureButton *first, *previous, *next, *last;
        QLabel* position;
    };
    BrowseGroup browseGroup();
    // Lays out toolbar, body and status band, top to bottom.
    void assemble(QWidget* body);

    QLabel* panInfo;
    StatusHints* hints;

private:
    QWidget* card_;
    QWidget* toolbar_;
    QHBoxLayout* bar_;
    QWidget* band_;
};

// The save's first step: the field being edited is finished (an amount typed and not yet
// left is formatted) and the focus moves to the invisible button btnFocus.
void finishEditing(QWidget* card, QLineEdit* amountField, QPushButton* btnFocus);

// The invisible button the save moves the focus to, so that the field being edited is finished.
QPushButton* focusButton(QWidget* card);
// The six invisible labels of the attachment slots.
void slotLabels(QWidget* card, std::array<QLabel*, 3>& files, std::array<QLabel*, 3>& descs);
