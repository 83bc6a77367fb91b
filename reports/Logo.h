#pragma once
#include <QDialog>
#include <QImage>

class PictureFrame;
class QLabel;
class Ui;

// Chooses the laboratory logo printed on the reports, kept as Logo.bmp.
class TfrmLogo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogo(Ui& ui, QWidget* parent = nullptr);

    PictureFrame* imgLogo;
    QImage defaultLogo() const;

    void btnSfogliaClick();
    void btnApplicaClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    Ui& ui_;
    QLabel* imgBianco_;
};
