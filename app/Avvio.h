#pragma once
#include <QWidget>

class ClickLabel;
class Ui;

// The launcher: opens one of the two applications.
class TfrmAvvio : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAvvio(Ui& ui, QWidget* parent = nullptr);

    void openCatalogue();
    void openReports();
    void btnBackupClick();
    void btnRipristinoClick();
    // imgEsci, or the window closed: the automatic backup when one is due, then the end.
    void exitProgram();

signals:
    void catalogueRequested();
    void reportsRequested();
    // A restore replaced the data: no card may keep showing the old.
    void dataRestored();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    ClickLabel* clickable(const QString& name, const QString& pictureName);
    Ui& ui_;
    bool exiting_ = false;
};
