#include "export/ExportFile.h"

#include "records/ArtworkArchive.h"
#include "storage/Cp1252.h"
#include "storage/IoError.h"

#include <QIODevice>

namespace exportfile {
namespace {
QByteArrayView trimmed(QByteArrayView b)
{
    qsizetype first = 0, last = b.size();
    while (first < last && static_cast<unsigned char>(b[first]) <= 0x20)
        ++first;
    while (last > first && static_cast<unsigned char>(b[last - 1]) <= 0x20)
        --last;
    return b.sliced(first, last - first);
}

// The header's widths are the export's own, not the grid's; its captions are the record's.
const int kHeaderWidth[kColumns] = {250, 300, 250, 200, 250, 200, 250, 250, 250, 250, 250, 250, 250, 400, 200, 180};

const char kStart[] =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
    "xmlns=\"http://www.w3.org/TR/REC-html40\">"
    "<head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
    "<!--[if gte mso 9]><xml>"
    "<x:ExcelWorkbook>"
    "<x:ExcelWorksheets>"
    "<x:ExcelWorksheet>"
    "<x:Name>Archivio Opere</x:Name>"
    "<x:WorksheetOptions>"
    "<x:Selected/>"
    "<x:Panes>"
    "<x:Pane>"
    "<x:Number>1</x:Number>"
    "<x:ActiveRow>3</x:ActiveRow>"
    "</x:Pane>"
    "</x:Panes>"
    "<x:ProtectContents>False</x:ProtectContents>"
    "<x:ProtectObjects>False</x:ProtectObjects>"
    "<x:ProtectScenarios>False</x:ProtectScenarios>"
    "</x:WorksheetOptions>"
    "</x:ExcelWorksheet>"
    "</x:ExcelWorksheets>"
    "</x:ExcelWorkbook>"
    "</xml><![endif]-->"
    "</head>"
    "<body>"
    "<table x:str>";
const char kEnd[] = "</table></body></html>";

// A cell a spreadsheet would not take as the text it is: a number, date, amount or code
// with leading zeros (any digit), a formula or what looks like one, a truth value, an
// apostrophe that would be eaten, or white space HTML would fold. Such a cell is marked
// as text for both Excel and LibreOffice; every other cell is written as it always was.
bool needsTextFormat(QByteArrayView cell)
{
    if (cell.isEmpty())
        return false;
    static const QByteArrayView kLeading = "=+-@'#";
    if (kLeading.contains(cell.front()))
        return true;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const char c = cell[i];
        if ((c >= '0' && c <= '9') || c == '\r' || c == '\n' || c == '\t' || (c == ' ' && i > 0 && cell[i - 1] == ' '))
            return true;
    }
    for (QByteArrayView word : {"TRUE", "FALSE", "VERO", "FALSO"})
        if (cell.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Collects output in large blocks and checks every write.
class Sink {
public:
    explicit Sink(QIODevice& out) : out_(out) { buffer_.reserve(kBlock + 4096); }
    void add(QByteArrayView b)
    {
        buffer_.append(b);
        if (buffer_.size() >= kBlock)
            flush();
    }
    // The cell with &, < and > as character references, and its line breaks, tabs and runs
    // of spaces too, which HTML would fold into one space (a cell that has any of them is
    // written as text).
    void addEscaped(QByteArrayView cell)
    {
        for (qsizetype i = 0; i < cell.size(); ++i) {
            const char c = cell[i];
            switch (c) {
            case '&': buffer_.append("&amp;"); break;
            case '<': buffer_.append("&lt;"); break;
            case '>': buffer_.append("&gt;"); break;
            case '\r':
                if (i + 1 >= cell.size() || cell[i + 1] != '\n')
                    buffer_.append("&#10;"); // a lone CR is a line break too
                break;
            case '\n': buffer_.append("&#10;"); break;
            case '\t': buffer_.append("&#9;"); break;
            case ' ':
                // In a run of spaces every space after the first is kept by reference.
                buffer_.append(i > 0 && cell[i - 1] == ' ' ? "&#32;" : " ");
                break;
            default: buffer_.append(c);
            }
        }
        if (buffer_.size() >= kBlock)
            flush();
    }
    void flush()
    {
        if (!buffer_.isEmpty() && out_.write(buffer_) != buffer_.size())
            throw IoError(QStringLiteral("cannot write the export: %1").arg(out_.errorString()));
        buffer_.clear();
    }

private:
    static constexpr qsizetype kBlock = 1 << 20;
    QIODevice& out_;
    QByteArray buffer_;
};
} // namespace

void Rows::append(const std::array<QByteArrayView, kColumns>& cells)
{
    for (QByteArrayView c : cells) {
        starts_.push_back(quint32(bytes_.size()));
        bytes_.append(c);
    }
}

void Rows::clear()
{
    bytes_.clear();
    starts_.clear();
}

QByteArrayView Rows::cell(qint64 row, int column) const
{
    const size_t i = size_t(row) * kColumns + size_t(column);
    if (i >= starts_.size())
        return {};
    const quint32 end = i + 1 < starts_.size() ? starts_[i + 1] : quint32(bytes_.size());
    return QByteArrayView(bytes_.constData() + starts_[i], end - starts_[i]);
}

void Rows::load(const TypedStore<TSchedaOpera>& archive)
{
    clear();
    const qint64 total = archive.count();
    starts_.reserve(size_t(total) * kColumns);
    struct PadOnExit {
        Rows& rows;
        qint64 total;
        ~PadOnExit()
        {
            while (rows.count() < total)
                rows.append({});
        }
    } pad{*this, total};
    archive.scan([&](qint64 k, const char* bytes) {
        if (k > total)
            return false;
        std::array<QByteArrayView, kColumns> cells;
        for (int c = 0; c < kColumns; ++c)
            cells[size_t(c)] = trimmed(TSchedaOpera::rawField(bytes, TSchedaOpera::Field(c)));
        append(cells);
        return true;
    });
}

void write(QIODevice& out, qint64 count, const CellSource& cell)
{
    Sink sink(out);
    QByteArray scratch;
    sink.add(kStart);
    sink.add("<tr>");
    for (int c = 0; c < kColumns; ++c) {
        sink.add("<td style=\"text-align: left; font-weight: bold;\" width=");
        sink.add(QByteArray::number(kHeaderWidth[c]));
        sink.add(">");
        sink.add(cp1252::encode(TSchedaOpera::caption(TSchedaOpera::Field(c))));
        sink.add("</td>");
    }
    sink.add("</tr>");
    for (qint64 r = 0; r < count; ++r) {
        sink.add("<tr>");
        for (int c = 0; c < kColumns; ++c) {
            const QByteArrayView text = trimmed(cell(r, c, scratch));
            const bool asText = needsTextFormat(text);
            sink.add(asText ? "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">"
                            : "<td style=\"text-align: left;\">");
            sink.addEscaped(text);
            sink.add("</td>");
        }
        sink.add("</tr>");
    }
    sink.add(kEnd);
    sink.flush();
}

} // namespace exportfile
