#pragma once
#include "export/ExportFile.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QHash>

#include <functional>

class PictureButton;
class QLabel;
class QTableView;
class Ui;

// The catalogue as a grid: "N." and the sixteen fields of each card. Five columns can be
// edited here; an edit reaches the next export, never the archive.
class ExportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ExportModel(QObject* parent = nullptr);

    // Fills the grid from the archive; rows not read after a failure stay empty. Throws IoError.
    void load();
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The export cell (row, field column 0..15) as Windows-1252 bytes, edits included.
    QByteArrayView exportCell(qint64 row, int column, QByteArray& scratch) const;
    static bool editable(int gridColumn);

private:
    exportfile::Rows rows_;
    QHash<qint64, QString> edits_; // row * columns + grid column
};

// Shows the catalogue in a grid and writes it to Inventario_Opere.xls.
class TfrmExpOpere : public QDialog {
    Q_OBJECT
public:
    explicit TfrmExpOpere(Ui& ui, QWidget* parent = nullptr, std::function<void(QWidget*)> help = {});

    QTableView* grdRecords;
    QLabel* panInfo;
    PictureButton *cmdEsporta, *cmdGuida, *cmdEsci;
    ExportModel* model() const { return model_; }

    void cmdEsportaClick();
    static QString exportPath();

protected:
    void showEvent(QShowEvent* e) override;

private:
    Ui& ui_;
    ExportModel* model_;
    std::function<void(QWidget*)> help_;
};
