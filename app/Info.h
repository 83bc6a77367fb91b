#pragma once
#include <QDialog>

class LinkLabel;
class Ui;

// The information screen: the product and the maker's contact address.
class TfrmInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInfo(Ui& ui, QWidget* parent = nullptr);
    LinkLabel* lnkWeb;

private:
    Ui& ui_;
};
