#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QIODevice;
template <class R> class TypedStore;
struct TSchedaOpera;

// The catalogue export Inventario_Opere.xls: an HTML table with the spreadsheet
// extensions, in Windows-1252, one continuous text without line breaks.
namespace exportfile {

constexpr int kColumns = 16; // Titolo .. Venduta, in record order

// The export's cells, kept as the archive's own Windows-1252 bytes, trimmed: every card of
// a large catalogue in little more memory than its text.
class Rows {
public:
    // Reads every card of the archive in order. Rows are counted first; when a read fails
    // (IoError, thrown on) the rows not read stay empty.
    void load(const TypedStore<TSchedaOpera>& archive);
    void append(const std::array<QByteArrayView, kColumns>& cells);
    void clear();

    qint64 count() const { return qint64(starts_.size() / kColumns); }
    QByteArrayView cell(qint64 row, int column) const;

private:
    QByteArray bytes_;
    std::vector<quint32> starts_; // kColumns per row; each cell ends where the next starts
};

// A cell's Windows-1252 bytes: a view of the cell, or of scratch when the cell had to be
// made (an edited cell).
using CellSource = std::function<QByteArrayView(qint64 row, int column, QByteArray& scratch)>;

// Writes the whole file: the header row, then count data rows whose cells cell gives.
// Throws IoError when a write fails.
void write(QIODevice& out, qint64 count, const CellSource& cell);

} // namespace exportfile
