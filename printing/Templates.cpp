#include "printing/Templates.h"

namespace templates {
namespace {
using report::Item;
using report::units;

const QColor kBisque(0xFF, 0xE4, 0xC4);
const QColor kWhiteSmoke(0xF5, 0xF5, 0xF5);
const QColor kBlue(0xB0, 0xC4, 0xDE); // light steel blue
const QColor kBeige(0xF5, 0xF5, 0xDC);
const QColor kLavender(0xE6, 0xE6, 0xFA);
const QColor kGold(0xFF, 0xD7, 0x00);
const QColor kSlateGrey(0x70, 0x80, 0x90);
const QColor kBlack(Qt::black);
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignTop;
// The smallest size a single-line value is printed at before it is shortened or cut.
constexpr qreal kSmallest = 6;
const QString kPageNumber = QStringLiteral("Pagina %1 di %2");

Item rect(const char* name, qreal x, qreal y, qreal w, qreal h, QColor fill, QColor outline)
{
    Item i;
    i.kind = Item::Rect;
    i.name = QString::fromLatin1(name);
    i.box = QRectF(x, y, w, h);
    i.fill = fill;
    i.outline = outline;
    return i;
}

Item line(const char* name, qreal x, qreal y, qreal w, qreal h)
{
    Item i;
    i.kind = Item::Line;
    i.name = QString::fromLatin1(name);
    i.box = QRectF(x, y, w, h);
    i.outline = kBlack;
    return i;
}

Item text(const char* name, qreal x, qreal y, qreal w, qreal h, const QString& content, qreal points, bool bold,
          Qt::Alignment align, bool wrap = false)
{
    Item i;
    i.kind = Item::Text;
    i.name = QString::fromLatin1(name);
    i.box = QRectF(x, y, w, h);
    i.text = content;
    i.points = points;
    i.bold = bold;
    i.align = align;
    i.wrap = wrap;
    return i;
}

Item picture(const char* name, qreal x, qreal y, qreal w, qreal h, bool centred)
{
    Item i;
    i.kind = Item::Picture;
    i.name = QString::fromLatin1(name);
    i.box = QRectF(x, y, w, h);
    i.centred = centred;
    return i;
}

// A field box of the report document: caption bar, caption, value box and, for a
// single-line value, the value itself.
struct FieldBox {
    const char* caption;
    const char* captionObject;
    const char* bar;
    const char* box; // nullptr: no value box
    qreal x, y, w;
    qreal boxHeight;
    QColor barFill, barOutline, boxOutline;
    Qt::Alignment captionAlign;
    const char* value; // nullptr: the value is placed on its own (multi-line)
    Qt::Alignment valueAlign;
    qreal valueY = 0; // 0: y + 6.4
};

void addFieldBox(std::vector<Item>& items, const FieldBox& f)
{
    items.push_back(rect(f.bar, f.x, f.y, f.w, 4.8, f.barFill, f.barOutline));
    items.push_back(text(f.captionObject, f.x + 1, f.y + 0.4, f.w - 2, 4, QString::fromUtf8(f.caption), 10, true,
                         f.captionAlign | Qt::AlignTop));
    if (f.box)
        items.push_back(rect(f.box, f.x, f.y + 5, f.w, f.boxHeight, kWhiteSmoke, f.boxOutline));
    if (f.value) {
        Item value = text(f.value, f.x + 1, f.valueY > 0 ? f.valueY : f.y + 6.4, f.w - 2, 4, {}, 10, true,
                          f.valueAlign | Qt::AlignVCenter);
        value.minPoints = kSmallest;
        value.continuedCaption = QString::fromUtf8(f.caption);
        items.push_back(value);
    }
}

// A multi-line value of the report: wrapped in its box, continued at the end when too long.
Item multiLine(const char* name, qreal x, qreal y, qreal w, qreal h, qreal points, Qt::Alignment align,
               const char* caption)
{
    Item i = text(name, x, y, w, h, {}, points, true, align, true);
    i.continuedCaption = QString::fromUtf8(caption);
    return i;
}

// The frame of a report page and its page number below it; names are top, left, right,
// bottom line, then the number's text box.
void pageFrame(std::vector<Item>& o, const char* const names[5], const QString& number)
{
    o.push_back(line(names[0], 1, 1, 188, 0));
    o.push_back(line(names[1], 1, 1, 0, 268));
    o.push_back(line(names[2], 189, 1, 0, 268));
    o.push_back(line(names[3], 1, 269, 188, 0));
    Item page = text(names[4], 1, 270, 188, 5, number, 9, false, kCentre);
    page.italic = true;
    page.pageNumberFormat = kPageNumber;
    o.push_back(page);
}

report::Page frontPage()
{
    report::Page p;
    p.name = QStringLiteral("pag01");
    auto& o = p.items;
    static const char* const kFrame[5] = {"Line3", "Line5", "Line6", "Line11", "txtPagina"};
    pageFrame(o, kFrame, QStringLiteral("Pagina 1 di 2"));
    o.push_back(picture("imgLogo", 5, 4, 90, 42, false));
    o.push_back(text("Memo5", 102, 4.2, 87, 7, QStringLiteral("RELAZIONE TECNICA DI RESTAURO"), 13, true,
                     Qt::AlignLeft | Qt::AlignVCenter));
    o.push_back(
        text("Memo60", 102, 11, 87, 7, QStringLiteral("DI OPERA D'ARTE"), 13, true, Qt::AlignLeft | Qt::AlignVCenter));
    o.push_back(line("Line4", 4, 51, 182, 0));
    o.push_back(line("Line7", 4, 109, 182, 0));
    o.push_back(line("Line8", 4, 130, 182, 0));
    o.push_back(line("Line10", 4, 181, 182, 0));

    const Qt::Alignment L = Qt::AlignLeft, C = Qt::AlignHCenter;
    const FieldBox boxes[] = {
        {"NUMERO", "Memo20", "Shape39", "Shape40", 102, 22, 83, 6, kBisque, kBisque, kBisque, C, "txtNumScheda", C},
        {"DATA EMISSIONE", "Memo14", "Shape5", "Shape9", 102, 35, 83, 6, kBisque, kBisque, kBisque, C, "txtData", C},
        {"LABORATORIO DI RESTAURO", "Memo6", "Shape4", "Shape10", 5, 56, 180, 13, kBlue, kBlue, kBlue, C, nullptr, L},
        {"TITOLO OPERA D'ARTE", "Memo12", "Shape3", "Shape6", 5, 78, 122, 6, kBlue, kBlue, kBlue, L, "txtVeicolo", L},
        {"ANNO REALIZZAZIONE", "Memo1", "Shape1", "Shape2", 130, 78, 55, 6, kBlue, kBlue, kBlue, L, "txtTarga", L},
        {"TECNICA UTILIZZATA", "Memo22", "Shape11", "Shape12", 5, 93, 122, 6, kBlue, kBlue, kBlue, L, "txtMarca", L},
        {"ARTISTA", "Memo3", "Shape21", "Shape22", 130, 93, 55, 6, kBlue, kBlue, kBlue, L, "txtChilometraggio", L},
        {"COMMITTENTE", "Memo18", "Shape17", "Shape18", 5, 114, 122, 6, kBisque, kBlue, kBlue, L, "txtCliente", L},
        {"RECAPITO TELEFONICO", "Memo21", "Shape27", "Shape28", 130, 114, 55, 6, kBisque, kBlue, kBlue, L,
         "txtRecapito", L},
        {"STATO CONSERVAZIONE ANTE-OPERAM", "Memo7", "Shape30", "Shape35", 5, 135, 180, 6, kBlue, kBlue, kBlue, L,
         "txtPratica", L},
        {"TEAM DI RESTAURO", "Memo9", "Shape13", "Shape14", 5, 150, 180, 6, kBlue, kBlue, kBlue, L, "txtTecnico", L},
        {"DATA INIZIO LAVORI", "Memo4", "Shape19", "Shape20", 5, 165, 75, 6, kBisque, kBisque, kBisque, C,
         "txtDataInizio", C},
        {"DATA FINE LAVORI", "Memo8", "Shape33", "Shape34", 110, 165, 75, 6, kBisque, kBisque, kBisque, C,
         "txtDataFine", C},
        {"FOTO OPERA D'ARTE", "Memo2", "Shape7", nullptr, 5, 185, 180, 0, kBlue, kBlue, kBlue, C, nullptr, C},
        {"STATO AVANZAMENTO LAVORI", "Memo10", "Shape8", "Shape15", 5, 254, 180, 6, kBisque, kBlue, kBlue, C,
         "txtStato", C, 260.2},
    };
    for (const FieldBox& f : boxes)
        addFieldBox(o, f);

    Item heading = multiLine("txtAzienda", 6.6, 62.8, 176.8, 9.8, 11, kCentre, "LABORATORIO DI RESTAURO");
    heading.fill = kBeige;
    o.push_back(heading);
    o.push_back(picture("picFotografia01", 5, 192, 89, 59, true));
    o.push_back(picture("picFotografia02", 96, 192, 89, 59, true));
    return p;
}

report::Page backPage()
{
    report::Page p;
    p.name = QStringLiteral("Page02");
    auto& o = p.items;
    static const char* const kFrame[5] = {"Line2", "Line9", "Line12", "Line1", "Memo11"};
    pageFrame(o, kFrame, QStringLiteral("Pagina 2 di 2"));
    o.push_back(text("Memo26", 5, 225, 181, 5,
                     QStringLiteral("Il Committente dichiara di aver preso visione degli interventi effettuati "
                                    "sull'opera d'arte sopra descritta e di accettare"),
                     9, false, kLeft));
    o.push_back(text("Memo27", 5, 230, 181, 5, QStringLiteral("i lavori eseguiti e l\u2019importo indicato."), 9, false,
                     kLeft));
    o.push_back(text("Memo28", 5, 237, 181, 5,
                     QStringLiteral("Dichiara inoltre di aver ritirato l'opera d'arte in data odierna in buono stato "
                                    "e conforme agli interventi descritti."),
                     9, false, kLeft));
    o.push_back(text("Memo13", 5, 247, 81, 6.4, QStringLiteral("Firma del Restauratore"), 12, true,
                     Qt::AlignHCenter | Qt::AlignVCenter));
    o.push_back(line("Line14", 5, 265, 81, 0));
    o.push_back(text("Memo17", 104, 247, 81, 6.4, QStringLiteral("Firma del Committente"), 12, true,
                     Qt::AlignHCenter | Qt::AlignVCenter));
    o.push_back(line("Line13", 104, 265, 81, 0));

    const Qt::Alignment L = Qt::AlignLeft, C = Qt::AlignHCenter;
    const FieldBox boxes[] = {
        {"INDAGINI DIAGNOSTICHE", "Memo15", "Shape16", "Shape23", 5, 6, 180, 37, kBlue, kBlue, kBlue, L, nullptr, L},
        {"CAUSE DEL DEGRADO", "Memo16", "Shape24", "Shape25", 5, 52, 180, 6, kBlue, kBlue, kBlue, L, "txtVernice", L},
        {"MATERIALI UTILIZZATI E INTERVENTI ESEGUITI", "Memo19", "Shape26", "Shape29", 5, 67, 180, 61, kBlue, kBlue,
         kBlue, L, nullptr, L},
        {"CONCLUSIONI E CONSIGLI PER LA CONSERVAZIONE", "Memo23", "Shape31", "Shape32", 5, 137, 180, 49, kBlue, kBlue,
         kBlue, L, nullptr, L},
        {"DIMENSIONI DELL'OPERA D'ARTE", "Memo24", "Shape36", "Shape37", 5, 195, 115, 6, kBlue, kBlue, kBlue, L,
         "txtManodopera", L},
        {"TOTALE: \u20AC", "Memo29", "Shape42", "Shape43", 128, 195, 57, 6, kBisque, kBisque, kBisque, C, "txtTotale",
         C},
        {"NOTE", "Memo25", "Shape38", "Shape41", 5, 210, 180, 6, kBlue, kBlue, kBlue, L, "txtNote", L},
    };
    for (const FieldBox& f : boxes)
        addFieldBox(o, f);
    o.push_back(multiLine("txtDanni", 6.6, 12.8, 176.8, 33.6, 10, kLeft, "INDAGINI DIAGNOSTICHE"));
    o.push_back(
        multiLine("txtInterventi", 6.6, 73.8, 176.8, 57.6, 10, kLeft, "MATERIALI UTILIZZATI E INTERVENTI ESEGUITI"));
    o.push_back(
        multiLine("txtRicambi", 6.6, 143.8, 176.8, 45.6, 10, kLeft, "CONCLUSIONI E CONSIGLI PER LA CONSERVAZIONE"));
    return p;
}

// The pages after the back page for the values too long for their boxes: the report's
// frame and page number, the heading TESTI COMPLETI with the report's number and date, and
// each value whole under its caption.
report::Continuation continuationPages()
{
    report::Continuation c;
    c.page.name = QStringLiteral("PageSegue");
    auto& o = c.page.items;
    static const char* const kFrame[5] = {"Line15", "Line16", "Line17", "Line18", "txtPaginaSegue"};
    pageFrame(o, kFrame, QStringLiteral("Pagina 3 di 3"));
    o.push_back(text("MemoSegue", 5, 4.2, 180, 7, QStringLiteral("TESTI COMPLETI"), 13, true,
                     Qt::AlignLeft | Qt::AlignVCenter));
    o.push_back(text("txtSegue", 5, 11.4, 180, 5, {}, 10, true, Qt::AlignLeft | Qt::AlignVCenter));
    o.push_back(line("Line19", 4, 18, 182, 0));
    c.left = 5;
    c.width = 180;
    c.top = 22;
    c.bottom = 266;
    c.captionBar = rect("barra", 0, 0, 0, 0, kBlue, kBlue);
    c.caption = text("titolo", 0, 0, 0, 0, {}, 10, true, kLeft);
    c.valueBox = rect("riquadro", 0, 0, 0, 0, kWhiteSmoke, kBlue);
    c.value = text("intero", 0, 0, 0, 0, {}, 10, true, kLeft, true);
    return c;
}

// The pages of the photographic documentation after the report (and after its whole texts):
// the report's frame and page number, the heading DOCUMENTAZIONE FOTOGRAFICA with the report's
// number and date, and the photos in the area the whole texts take.
report::PhotoPage reportPhotoPages()
{
    report::PhotoPage f;
    f.page.name = QStringLiteral("PageFoto");
    auto& o = f.page.items;
    static const char* const kFrame[5] = {"Line20", "Line21", "Line22", "Line23", "txtPaginaFoto"};
    pageFrame(o, kFrame, QStringLiteral("Pagina 3 di 3"));
    o.push_back(text("MemoFoto", 5, 4.2, 180, 7, QStringLiteral("DOCUMENTAZIONE FOTOGRAFICA"), 13, true,
                     Qt::AlignLeft | Qt::AlignVCenter));
    o.push_back(text("txtSegueFoto", 5, 11.4, 180, 5, {}, 10, true, Qt::AlignLeft | Qt::AlignVCenter));
    o.push_back(line("Line24", 4, 18, 182, 0));
    f.left = 5;
    f.width = 180;
    f.top = 22;
    f.bottom = 266;
    f.heading = text("titolo", 0, 0, 0, 0, {}, 9, true, Qt::AlignLeft | Qt::AlignVCenter);
    f.caption = text("didascalia", 0, 0, 0, 0, {}, 9, false, kLeft, true);
    f.cell = rect("cella", 0, 0, 0, 0, {}, kBlue);
    return f;
}

// The artwork sheet's foot on every page: the print stamp in the gold band, and the page
// number in the band's right end (the sheet has no room below it). Names are the band, the
// stamp, then the number.
void sheetFoot(std::vector<Item>& o, const char* const names[3], const QString& number)
{
    o.push_back(rect(names[0], 1, 270, 188, 5.8, kGold, kBlack));
    o.push_back(text(names[1], 2, 271, 185.8, 4.2, QStringLiteral("Data e ora stampa"), 8, false, kCentre));
    Item page = text(names[2], 150, 271, 37.8, 4.2, number, 8, false, Qt::AlignRight | Qt::AlignTop);
    page.italic = true;
    page.pageNumberFormat = kPageNumber;
    o.push_back(page);
}

// The same after the artwork card's sheet, in the sheet's look: the title band with the work's
// title, the heading, the sheet's foot with the page number.
report::PhotoPage artworkPhotoPages()
{
    report::PhotoPage f;
    f.page.name = QStringLiteral("PageFoto");
    auto& o = f.page.items;
    o.push_back(rect("shpNumFattFoto", 1, 1, 188, 10, kBlue, kBlack));
    Item title = text("txtCapoFoto", 3, 3.2, 184, 6, {}, 12, false, Qt::AlignHCenter | Qt::AlignVCenter);
    title.minPoints = kSmallest;
    o.push_back(title);
    o.push_back(text("MemoFoto", 1, 13, 188, 7, QStringLiteral("DOCUMENTAZIONE FOTOGRAFICA"), 11, false,
                     Qt::AlignHCenter | Qt::AlignVCenter));
    static const char* const kFoot[3] = {"Shape23Foto", "txtCalceFoto", "txtPaginaFoto"};
    sheetFoot(o, kFoot, QStringLiteral("Pagina 2 di 2"));
    f.left = 1;
    f.width = 188;
    f.top = 22;
    f.bottom = 267;
    f.heading = text("titolo", 0, 0, 0, 0, {}, 9, false, Qt::AlignLeft | Qt::AlignVCenter);
    f.caption = text("didascalia", 0, 0, 0, 0, {}, 8, false, kLeft, true);
    f.cell = rect("cella", 0, 0, 0, 0, {}, kBlack);
    return f;
}

// A field row of the artwork sheet: caption, outlined rectangle and single-line value.
struct FieldRow {
    const char* caption;
    const char* captionObject;
    qreal cx, cy, cw;
    const char* shape;
    qreal rx, ry, rw;
    const char* value;
    qreal vx, vy, vw;
};
} // namespace

report::Template reportDocument()
{
    report::Template t;
    t.name = QStringLiteral("repDocumento");
    t.pages.push_back(frontPage());
    t.pages.push_back(backPage());
    t.continuation = continuationPages();
    t.photoPage = reportPhotoPages();
    return t;
}

report::Template artworkSheet()
{
    report::Template t;
    t.name = QStringLiteral("repDocumento");
    report::Page p;
    p.name = QStringLiteral("Page1");
    auto& o = p.items;
    // The sheet stays one page: a value too long for its box is printed smaller, then cut.
    auto shrinking = [](Item i) {
        i.minPoints = kSmallest;
        return i;
    };
    const FieldRow rows[] = {
        {"ARTISTA:", "Memo7", 1, 145, 74, "Shape8", 1, 150, 92, "txtColore", 2, 151, 89.6},
        {"ANNO REALIZZAZIONE:", "Memo8", 97, 145, 86, "Shape9", 97, 150, 92, "txtTessuto", 98, 151, 89.6},
        {"SOGGETTO RAPPRESENTATO:", "Memo6", 1, 159, 188, "Shape7", 1, 164, 188, "txtDescrizione", 2, 165, 185.6},
        {"NAZIONE:", "Memo5", 1, 173, 74, "Shape5", 1, 178, 92, "txtMisure", 2, 179, 89.6},
        {"TECNICA UTILIZZATA:", "Memo9", 97, 173, 86, "Shape11", 97, 178, 92, "txtPeso", 98, 179, 89.6},
        {"CORRENTE ARTISTICA:", "Memo4", 1, 187, 74, "Shape4", 1, 192, 92, "txtUsura", 2, 193, 89.6},
        {"DIMENSIONI:", "Memo13", 97, 187, 86, "Shape13", 97, 192, 92, "txtDifetti", 98, 193, 89.6},
        {"SUPPORTO:", "Memo3", 1, 201, 188, "Shape3", 1, 206, 188, "txtServizio", 2, 207, 185.6},
        {"LUOGO CONSERVAZIONE:", "Memo2", 1, 215, 188, "Shape2", 1, 220, 188, "txtSpecifiche", 2, 221, 185.6},
        {"PROPRIETARIO ATTUALE:", "Memo1", 1, 229, 188, "Shape1", 1, 234, 188, "txtCliente", 2, 235, 185.6},
        {"CODICE FISCALE:", "Memo10", 1, 243, 74, "Shape6", 1, 248, 92, "txtCodFisc", 2, 249, 89.6},
        {"TEL. PREFERENZIALE:", "Memo11", 97, 243, 86, "Shape12", 97, 248, 92, "txtRecapito", 98, 249, 89.6},
    };
    for (const FieldRow& r : rows) {
        o.push_back(text(r.captionObject, r.cx, r.cy, r.cw, 4, QString::fromLatin1(r.caption), 8, false, kLeft));
        o.push_back(rect(r.shape, r.rx, r.ry, r.rw, 6, {}, kBlack));
        o.push_back(shrinking(text(r.value, r.vx, r.vy, r.vw, 4, {}, 8, false, kLeft)));
    }
    o.push_back(rect("shpNumFatt", 1, 1, 188, 10, kBlue, kBlack));
    o.push_back(shrinking(text("txtCapo", 3, 3.2, 184, 6, QStringLiteral("Titolo opera d'arte"), 12, false,
                               Qt::AlignHCenter | Qt::AlignVCenter)));
    o.push_back(picture("imgLogo", 1, 14, 188, 112, true));
    o.push_back(rect("Shape10", 49, 131, 92, 8, {}, kBlack));
    o.push_back(text("titImporto", 68, 132.8, 20.8, 5, QStringLiteral("Valore:"), 11, false, kLeft));
    o.push_back(picture("imgEuro", 91, 132.8, 5, 5, true));
    o.push_back(shrinking(text("txtPrezzo", 98, 132.8, 40.8, 5, QStringLiteral("0,00"), 11, false, kLeft)));
    o.push_back(rect("Shape15", 1, 257, 188, 5.8, kLavender, kBlack));
    o.push_back(text("titRaccomandazioni", 2, 258, 185.8, 4.2, QStringLiteral("NOTE:"), 9, false, kCentre));
    o.push_back(rect("Shape16", 1, 263, 188, 6, {}, kBlack));
    o.push_back(shrinking(text("txtNote", 2, 264, 185.9, 4, {}, 8, false, kLeft)));
    static const char* const kFoot[3] = {"Shape23", "txtCalce", "txtPagina"};
    sheetFoot(o, kFoot, QStringLiteral("Pagina 1 di 1"));
    t.pages.push_back(std::move(p));
    t.photoPage = artworkPhotoPages();
    return t;
}

report::Template summaryList(const QString& name)
{
    report::Template t;
    t.name = name;
    report::Page p;
    p.name = QStringLiteral("Page");
    p.orientation = QPageLayout::Landscape;

    report::Band title{report::Band::Title, QStringLiteral("ReportTitle"), units(30.23624), {}};
    Item heading = text("txtTitolo", units(7.55906), units(3.77953), units(1031.81169), units(18.89765),
                        QStringLiteral("Riepilogo"), 9, true, Qt::AlignHCenter | Qt::AlignVCenter);
    heading.family = QStringLiteral("Verdana");
    heading.fill = kSlateGrey;
    heading.color = Qt::white;
    title.items.push_back(heading);

    report::Band data{report::Band::Data, QStringLiteral("MasterData"), units(105.82684), {}};
    Item memo = text("txtRiepilogo", units(11.33859), 0, units(1031.81169), units(102.04731), {}, 8, false, kLeft);
    memo.family = QStringLiteral("Courier New");
    memo.linePitch = units(12.822);
    data.items.push_back(memo);

    report::Band footer{report::Band::Footer, QStringLiteral("Footer"), units(30.23624), {}};
    Item stamp = text("txtPagina", units(11.33859), units(7.55906), units(1028.03216), units(18.89765),
                      QStringLiteral("Stampa eseguita in data [DATE]"), 8, true, Qt::AlignHCenter | Qt::AlignVCenter);
    stamp.family = QStringLiteral("Verdana");
    stamp.fill = kSlateGrey;
    stamp.color = Qt::white;
    footer.items.push_back(stamp);

    p.bands = {title, data, footer};
    t.pages.push_back(std::move(p));
    return t;
}

void fillSummary(report::Template& t, const QString& title, const QString& stamp, const QStringList& lines)
{
    t.setText(QStringLiteral("txtTitolo"), title);
    t.setText(QStringLiteral("txtPagina"), stamp);
    report::Item& memo = t.item(QStringLiteral("txtRiepilogo"));
    memo.text = lines.join(u'\n');
    memo.box.setHeight(units(lines.size() * 12.822));
    t.band(QStringLiteral("MasterData")).height = memo.box.height() + units(10);
}

void setReportReference(report::Template& t, const QString& number, const QString& date)
{
    QString reference = QStringLiteral("Relazione tecnica di restauro");
    if (!number.isEmpty())
        reference += QStringLiteral(" n. ") + number;
    if (!date.isEmpty())
        reference += QStringLiteral(" del ") + date;
    t.setText(QStringLiteral("txtSegue"), reference);
    t.setText(QStringLiteral("txtSegueFoto"), reference);
}

QString printStamp(const QDateTime& when)
{
    return QStringLiteral("Stampa eseguita in data %1 alle ore %2")
        .arg(when.date().toString(QStringLiteral("dd/MM/yyyy")), when.time().toString(QStringLiteral("HH:mm:ss")));
}

} // namespace templates
