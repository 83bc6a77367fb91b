#pragma once
#include <QDialog>

class LinkLabel;
class Ui;

// The splash screen: the maker's copyright picture and web link.
class TfrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSplash(Ui& ui, QWidget* parent = nullptr);
    LinkLabel* lnkWeb;

private:
    Ui& ui_;
};
