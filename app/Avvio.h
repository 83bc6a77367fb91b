#pragma once
#include <QWidget>

class ClickLabel;
class QDialog;
class Ui;

// The launcher: opens one of the two applications.
class TfrmAvvio : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAvvio(Ui& ui, QWidget* parent = nullptr);

    void openCatalogue();
    void openReports();

signals:
    void catalogueRequested();
    void reportsRequested();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    ClickLabel* clickable(const QString& name, const QString& pictureName);
    Ui& ui_;
};
