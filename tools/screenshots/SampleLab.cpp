#include "SampleLab.h"

#include "Pictures.h"

#include "attachments/Attachments.h"
#include "documentation/Import.h"
#include "documentation/WorkingSet.h"
#include "records/ArtworkArchive.h"
#include "records/ArtworkPhoto.h"
#include "records/Numbering.h"
#include "records/ReportArchive.h"
#include "records/ReportPhotos.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "taxcodes/Checks.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace samplelab {
namespace {

// A codice fiscale of an invented person: the first fifteen characters and the check letter
// the program's own rule accepts.
QString codiceFiscale(const char* first15)
{
    for (char c = 'A'; c <= 'Z'; ++c) {
        const QString code = QString::fromLatin1(first15) + QLatin1Char(c);
        if (taxcodes::codiceFiscaleValid(code))
            return code;
    }
    throw IoError(QStringLiteral("no check letter for %1").arg(QString::fromLatin1(first15)));
}

void paintLandscape(QPainter& p, QRectF r)
{
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0x7F, 0xA7, 0xD0));
    sky.setColorAt(0.55, QColor(0xF3, 0xD9, 0xA4));
    p.fillRect(r, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF8, 0xE7, 0x9B));
    p.drawEllipse(QPointF(r.width() * 0.72, r.height() * 0.3), r.width() * 0.06, r.width() * 0.06);
    const QColor hills[] = {QColor(0x8A, 0x9A, 0x6B), QColor(0x5F, 0x7A, 0x4A), QColor(0x3E, 0x5A, 0x33)};
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hill;
        const qreal base = r.height() * (0.5 + 0.13 * layer);
        hill.moveTo(0, r.height());
        hill.lineTo(0, base);
        for (int x = 0; x <= 8; ++x)
            hill.quadTo(r.width() * (x + 0.5) / 8, base - r.height() * (0.08 + 0.04 * ((x + layer) % 3)),
                        r.width() * (x + 1) / 8, base);
        hill.lineTo(r.width(), r.height());
        p.setBrush(hills[layer]);
        p.drawPath(hill);
    }
    // Cypresses and a farmhouse.
    for (int i = 0; i < 5; ++i) {
        const qreal x = r.width() * (0.12 + 0.07 * i);
        p.setBrush(QColor(0x24, 0x3B, 0x22));
        p.drawEllipse(QRectF(x, r.height() * 0.48, r.width() * 0.025, r.height() * 0.2));
    }
    p.setBrush(QColor(0xD9, 0xB3, 0x8C));
    p.drawRect(QRectF(r.width() * 0.55, r.height() * 0.55, r.width() * 0.1, r.height() * 0.07));
    p.setBrush(QColor(0xA0, 0x52, 0x3A));
    p.drawPolygon(QPolygonF({QPointF(r.width() * 0.54, r.height() * 0.55), QPointF(r.width() * 0.6, r.height() * 0.5),
                             QPointF(r.width() * 0.66, r.height() * 0.55)}));
}

void paintStillLife(QPainter& p, QRectF r)
{
    QRadialGradient back(r.center(), r.width() * 0.7);
    back.setColorAt(0, QColor(0x6B, 0x4E, 0x31));
    back.setColorAt(1, QColor(0x1E, 0x14, 0x0C));
    p.fillRect(r, back);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8C, 0x6A, 0x45));
    p.drawRect(QRectF(0, r.height() * 0.68, r.width(), r.height() * 0.32));
    // A jug and fruit.
    p.setBrush(QColor(0xC9, 0xA2, 0x6B));
    p.drawEllipse(QRectF(r.width() * 0.18, r.height() * 0.3, r.width() * 0.2, r.height() * 0.42));
    p.drawRect(QRectF(r.width() * 0.23, r.height() * 0.22, r.width() * 0.1, r.height() * 0.12));
    const QColor fruit[] = {QColor(0xB3, 0x2D, 0x1F), QColor(0xD9, 0x8C, 0x1F), QColor(0x7A, 0x9A, 0x2E),
                            QColor(0x6A, 0x2C, 0x5A)};
    for (int i = 0; i < 4; ++i) {
        QRadialGradient g(QPointF(r.width() * (0.5 + 0.09 * i), r.height() * 0.62), r.width() * 0.06);
        g.setColorAt(0, fruit[i].lighter(150));
        g.setColorAt(1, fruit[i]);
        p.setBrush(g);
        p.drawEllipse(QPointF(r.width() * (0.5 + 0.09 * i), r.height() * (0.66 - 0.02 * (i % 2))), r.width() * 0.055,
                      r.width() * 0.05);
    }
}

void paintPortrait(QPainter& p, QRectF r)
{
    p.fillRect(r, QColor(0x2E, 0x3B, 0x2F));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5A, 0x1E, 0x1E));
    p.drawEllipse(QRectF(r.width() * 0.22, r.height() * 0.62, r.width() * 0.56, r.height() * 0.6));
    p.setBrush(QColor(0xE3, 0xB9, 0x94));
    p.drawEllipse(QRectF(r.width() * 0.37, r.height() * 0.2, r.width() * 0.26, r.height() * 0.42));
    p.setBrush(QColor(0x3A, 0x24, 0x16));
    p.drawChord(QRectF(r.width() * 0.35, r.height() * 0.15, r.width() * 0.3, r.height() * 0.3), 0, 180 * 16);
    p.setBrush(QColor(0xD8, 0xC8, 0x8A));
    p.drawEllipse(QRectF(r.width() * 0.46, r.height() * 0.72, r.width() * 0.08, r.width() * 0.08));
}

void paintSeascape(QPainter& p, QRectF r)
{
    QLinearGradient sky(r.topLeft(), QPointF(0, r.height() * 0.55));
    sky.setColorAt(0, QColor(0x4A, 0x6F, 0x9C));
    sky.setColorAt(1, QColor(0xE8, 0xC6, 0x9A));
    p.fillRect(QRectF(0, 0, r.width(), r.height() * 0.55), sky);
    QLinearGradient sea(QPointF(0, r.height() * 0.55), r.bottomLeft());
    sea.setColorAt(0, QColor(0x2F, 0x5D, 0x7A));
    sea.setColorAt(1, QColor(0x15, 0x2E, 0x40));
    p.fillRect(QRectF(0, r.height() * 0.55, r.width(), r.height() * 0.45), sea);
    p.setPen(QPen(QColor(0xDD, 0xE8, 0xF0, 120), 2));
    for (int i = 0; i < 14; ++i) {
        const qreal y = r.height() * (0.6 + 0.028 * i);
        p.drawLine(QPointF(r.width() * (0.1 + 0.05 * (i % 5)), y), QPointF(r.width() * (0.3 + 0.06 * (i % 4)), y));
    }
    // A sailing boat.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4A, 0x2E, 0x1C));
    p.drawPolygon(
        QPolygonF({QPointF(r.width() * 0.55, r.height() * 0.6), QPointF(r.width() * 0.75, r.height() * 0.6),
                   QPointF(r.width() * 0.71, r.height() * 0.65), QPointF(r.width() * 0.58, r.height() * 0.65)}));
    p.setBrush(QColor(0xF2, 0xE6, 0xCF));
    p.drawPolygon(
        QPolygonF({QPointF(r.width() * 0.645, r.height() * 0.28), QPointF(r.width() * 0.645, r.height() * 0.58),
                   QPointF(r.width() * 0.74, r.height() * 0.58)}));
}

void paintAbstract(QPainter& p, QRectF r)
{
    p.fillRect(r, QColor(0xF1, 0xEA, 0xDA));
    p.setPen(Qt::NoPen);
    const QColor colours[] = {QColor(0xC0, 0x39, 0x2B), QColor(0x1F, 0x4E, 0x79), QColor(0xE5, 0xB7, 0x2A),
                              QColor(0x22, 0x22, 0x22)};
    for (int i = 0; i < 9; ++i) {
        p.setBrush(colours[i % 4]);
        const QRectF box(r.width() * ((i * 37) % 80) / 100.0, r.height() * ((i * 53) % 75) / 100.0,
                         r.width() * (0.12 + 0.03 * (i % 3)), r.height() * (0.1 + 0.05 * (i % 4)));
        if (i % 3 == 0)
            p.drawEllipse(box);
        else
            p.drawRect(box);
    }
}

// What the years did: yellowed varnish, a craquelure, a few losses of paint.
void age(QPainter& p, QRectF r, quint32 seed)
{
    QRandomGenerator random(seed);
    p.fillRect(r, QColor(0x8A, 0x6A, 0x1C, 90));
    p.setPen(QPen(QColor(0x20, 0x18, 0x10, 110), 1));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 160; ++i) {
        QPointF at(random.bounded(r.width()), random.bounded(r.height()));
        QPainterPath crack(at);
        for (int k = 0; k < 4; ++k) {
            at += QPointF(random.bounded(30.0) - 15, random.bounded(30.0) - 15);
            crack.lineTo(at);
        }
        p.drawPath(crack);
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        p.setBrush(QColor(0xEF, 0xE6, 0xD2));
        p.drawEllipse(QPointF(random.bounded(r.width()), random.bounded(r.height())), 6 + random.bounded(14.0),
                      4 + random.bounded(9.0));
    }
}

QImage logo()
{
    QImage image(360, 160, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x42, 0x7A, 0xA8));
    p.drawEllipse(QRectF(14, 20, 120, 120));
    p.setBrush(QColor(0xFF, 0xE4, 0xC4));
    p.drawEllipse(QRectF(40, 46, 68, 68));
    p.setPen(QPen(QColor(0x42, 0x7A, 0xA8), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(60, 100), QPointF(98, 58));
    p.setPen(QColor(0x1F, 0x3B, 0x5C));
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 26, QFont::Bold));
    p.drawText(QRectF(146, 30, 210, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Ars Nova"));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    p.drawText(QRectF(148, 80, 210, 50), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Laboratorio di restauro\ndipinti e sculture"));
    return image;
}

struct Work {
    const char* titolo;
    const char* soggetto;
    const char* artista;
    const char* anno;
    const char* tecnica;
    const char* corrente;
    const char* dimensioni;
    const char* supporto;
    const char* luogo;
    const char* proprietario;
    const char* codFisc; // first fifteen characters; empty for none
    const char* recapito;
    const char* note;
    const char* valore;
    bool venduta;
    Subject subject;
};

const Work kWorkData[kArtworks] = {
    {"Paesaggio con cipressi", "Colline al tramonto con casolare e filare di cipressi", "Anselmo Varrini", "1894",
     "Olio su tela", "Macchiaioli", "cm 64 x 48 (con cornice cm 82 x 66)", "Tela di lino su telaio ligneo",
     "Collezione privata, Siena", "Giulia Ferraresi", "FRRGLI80A41D612", "055 2741 3390",
     "Provenienza: eredità Ferraresi. Esposto a Siena nel 1998.", "12500,00", false, Subject::Landscape},
    {"Natura morta con brocca", "Brocca in terracotta, mele, arance e uva su un tavolo", "Clelia Montanari", "1921",
     "Olio su tavola", "Novecento", "cm 50 x 40", "Tavola di pioppo", "Galleria Il Tondo, Lucca", "Galleria Il Tondo",
     "", "0583 91 2275", "Piccola lacuna sul bordo inferiore.", "4800,00", true, Subject::StillLife},
    {"Ritratto di gentildonna", "Figura femminile a mezzo busto con medaglione", "Scuola veneta", "1760 circa",
     "Olio su tela", "Rococò", "cm 72 x 58", "Tela rifoderata", "Museo civico di Ostravento", "Comune di Ostravento",
     "", "0471 55 1029", "Rifoderatura precedente, anni '50.", "23000,00", false, Subject::Portrait},
    {"Marina con barca a vela", "Barca da pesca al largo con cielo al tramonto", "Ettore Salvadei", "1908",
     "Olio su cartone", "Verismo", "cm 35 x 25", "Cartone telato", "Collezione privata, Genova", "Paolo Benincasa",
     "BNNPLA62M12D969", "010 73 8841", "", "3200,00", false, Subject::Seascape},
    {"Composizione n. 7", "Forme geometriche in rosso, blu e giallo", "Lucia Arduini", "1968", "Acrilico su tela",
     "Astrattismo", "cm 100 x 80", "Tela di cotone", "Collezione privata, Milano", "Marco Bellandi", "BLLMRC71C05F205",
     "02 4455 1720", "Firma e data sul retro.", "8700,00", true, Subject::Abstract},
    {"Veduta del borgo", "Case del borgo lungo il fiume al mattino", "Anselmo Varrini", "1899", "Olio su tela",
     "Macchiaioli", "cm 46 x 33", "Tela di lino", "Collezione privata, Siena", "Giulia Ferraresi", "FRRGLI80A41D612",
     "055 2741 3390", "", "9600,00", false, Subject::Landscape},
    {"Frutta d'autunno", "Melograni e pere in una fruttiera di peltro", "Clelia Montanari", "1925", "Olio su tela",
     "Novecento", "cm 60 x 45", "Tela", "Galleria Il Tondo, Lucca", "Galleria Il Tondo", "", "0583 91 2275", "",
     "5100,00", false, Subject::StillLife},
    {"Ritratto del notaio", "Uomo seduto con libro e penna d'oca", "Ignoto lombardo", "XVIII secolo", "Olio su tela",
     "Barocco", "cm 90 x 70", "Tela", "Palazzo Ardenghi, Cremona", "Fondazione Ardenghi", "", "0372 40 1188",
     "Cornice coeva dorata a mecca.", "18000,00", false, Subject::Portrait},
    {"Scogliera al tramonto", "Scogli e mare mosso", "Ettore Salvadei", "1912", "Olio su tavola", "Verismo",
     "cm 40 x 30", "Tavola", "Collezione privata, La Spezia", "Sara Oddone", "DDNSRA75R52E463", "0187 62 3301", "",
     "2900,00", true, Subject::Seascape},
    {"Ritmi", "Composizione di cerchi e quadrati", "Lucia Arduini", "1972", "Tempera su carta", "Astrattismo",
     "cm 48 x 36", "Carta su cartone", "Collezione privata, Milano", "Marco Bellandi", "BLLMRC71C05F205",
     "02 4455 1720", "", "3600,00", false, Subject::Abstract},
    {"Campi di grano", "Campagna estiva con covoni", "Anselmo Varrini", "1901", "Olio su tela", "Macchiaioli",
     "cm 70 x 50", "Tela di lino", "Collezione privata, Arezzo", "Elena Guidotti", "GDTLNE68H47A390", "0575 35 2219",
     "", "11000,00", false, Subject::Landscape},
    {"Madonna con il Bambino", "Vergine a mezza figura con il Bambino benedicente", "Bottega toscana", "XV secolo",
     "Tempera e oro su tavola", "Rinascimento", "cm 62 x 44", "Tavola di pioppo a due assi",
     "Chiesa di San Lorenzo, Borgo Alto", "Parrocchia di San Lorenzo", "", "0577 84 1007",
     "Vincolata: ogni intervento è autorizzato dalla Soprintendenza.", "0,00", false, Subject::Portrait},
};

struct ReportData {
    const char* numero;
    int work; // index into kWorks
    const char* data;
    const char* team;
    const char* committente;
    const char* stato;
    const char* indagini;
    const char* inizio;
    const char* avanzamento;
    const char* fine;
    const char* cause;
    const char* conclusioni;
    const char* note;
    const char* totale;
    bool pagato;
};

const char kLongInterventions[] =
    "Documentazione fotografica iniziale in luce diffusa, radente e ultravioletta. "
    "Velinatura di protezione delle zone a rischio di caduta con carta giapponese e colla di storione. "
    "Smontaggio dal telaio e pulitura del retro con aspirazione controllata e pennelli morbidi. "
    "Consolidamento della pellicola pittorica per infiltrazione di colla di storione al 5% e "
    "termocauterio a bassa temperatura. Rimozione delle vecchie toppe e dei residui di colla. "
    "Risarcimento degli strappi con ponti di fibre di lino e adesivo termoplastico. "
    "Foderatura con tela di lino pretrattata e adesivo a bassa tossicità. "
    "Montaggio su nuovo telaio ad espansione in legno di abete stagionato. "
    "Rimozione della vernice ossidata e delle ridipinture alterate con miscele solventi a polarità crescente, "
    "verificate con test di solubilità e applicate a tampone e in gel. "
    "Stuccatura delle lacune con gesso di Bologna e colla animale, rasatura a bisturi. "
    "Verniciatura intermedia a pennello con resina a basso peso molecolare. "
    "Reintegrazione pittorica delle lacune con colori a vernice, a velatura e a tratteggio, "
    "riconoscibile a distanza ravvicinata. Verniciatura finale a spruzzo, opaca. "
    "Revisione della cornice: consolidamento del legno con resina acrilica, "
    "pulitura della doratura e ritocco con oro in conchiglia. "
    "Documentazione fotografica finale e consegna della scheda conservativa al committente, "
    "con le indicazioni per la manutenzione: temperatura tra 18 e 22 gradi, umidità relativa "
    "tra il 50 e il 60 per cento, nessuna esposizione diretta alla luce solare.";

const ReportData kReportData[kReports] = {
    {"101", 0, "14/01/2025", "Chiara Ronconi, Davide Pellegatti", "Giulia Ferraresi",
     "Vernice ingiallita, sollevamenti diffusi", "Fluorescenza UV, luce radente", "07/10/2024", "Concluso",
     "10/01/2025", "Umidità ambientale elevata", "Conservare lontano da fonti di calore.", "", "1850,00", true},
    {"102", 2, "03/02/2025", "Chiara Ronconi", "Comune di Ostravento", "Strappo nel quadrante inferiore",
     "Riflettografia IR, stratigrafia", "11/11/2024", "Concluso", "31/01/2025", "Urto accidentale durante un trasloco",
     "Controllo annuale del telaio.", "Fattura n. 18/2025", "3400,00", true},
    {"103", 3, "21/02/2025", "Davide Pellegatti", "Paolo Benincasa", "Cartone imbarcato, abrasioni", "Luce radente",
     "13/01/2025", "Concluso", "18/02/2025", "Supporto esposto a umidità", "Cornice con retro chiuso.", "", "950,00",
     false},
    {"104", 7, "17/03/2025", "Chiara Ronconi, Ilaria Magnani", "Fondazione Ardenghi", "Ridipinture alterate sul volto",
     "Fluorescenza UV, XRF", "20/01/2025", "Concluso", "12/03/2025", "Vecchi restauri non reversibili",
     "Evitare luce diretta.", "", "4200,00", false},
    {"105", 5, "02/04/2025", "Davide Pellegatti", "Giulia Ferraresi", "Depositi superficiali", "Test di solubilità",
     "10/03/2025", "Concluso", "28/03/2025", "Fumo e polvere", "Spolverare solo a secco.", "", "780,00", true},
    {"106", 10, "16/04/2025", "Ilaria Magnani", "Elena Guidotti", "Telaio deformato", "Luce radente", "17/03/2025",
     "Concluso", "11/04/2025", "Telaio fisso non adatto", "Telaio ad espansione sostituito.", "", "1320,00", false},
    {"107", 8, "05/05/2025", "Chiara Ronconi", "Sara Oddone", "Sollevamenti lungo le commettiture",
     "Luce radente, endoscopia", "07/04/2025", "Concluso", "30/04/2025", "Movimenti del legno",
     "Mantenere l'umidità costante.", "", "1100,00", true},
    {"108", 0, "26/05/2025", "Chiara Ronconi, Davide Pellegatti, Ilaria Magnani", "Giulia Ferraresi",
     "Vernice ossidata, strappo di 6 cm, lacune di preparazione, telaio fisso",
     "Fotografia in luce diffusa, radente e UV; riflettografia infrarossa; stratigrafia di due microcampioni; "
     "test di solubilità sulla vernice e sulle ridipinture.",
     "03/03/2025", "Concluso", "20/05/2025",
     "Oscillazioni di umidità in un'abitazione riscaldata a pavimento; vecchia vernice naturale ossidata; "
     "urto sul retro durante un trasporto senza imballo.",
     "L'opera è stabile. Si consiglia un controllo dopo dodici mesi, un'esposizione lontana da termosifoni e "
     "finestre e il trasporto soltanto in cassa imbottita.",
     "Preventivo accettato il 28/02/2025. Acconto versato alla consegna dell'opera.", "2650,00", false},
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw IoError(QStringLiteral("cannot write %1").arg(path));
}

void storeWorks()
{
    ArtworkArchive archive;
    for (int i = 0; i < kArtworks; ++i) {
        const Work& w = kWorkData[i];
        TSchedaOpera r;
        using F = TSchedaOpera;
        r[F::Titolo] = QString::fromUtf8(w.titolo);
        r[F::Soggetto] = QString::fromUtf8(w.soggetto);
        r[F::Artista] = QString::fromUtf8(w.artista);
        r[F::Anno] = QString::fromUtf8(w.anno);
        r[F::Nazione] = QStringLiteral("Italia");
        r[F::Tecnica] = QString::fromUtf8(w.tecnica);
        r[F::Corrente] = QString::fromUtf8(w.corrente);
        r[F::Dimensioni] = QString::fromUtf8(w.dimensioni);
        r[F::Supporto] = QString::fromUtf8(w.supporto);
        r[F::Luogo] = QString::fromUtf8(w.luogo);
        r[F::Proprietario] = QString::fromUtf8(w.proprietario);
        r[F::CodFisc] = *w.codFisc ? codiceFiscale(w.codFisc) : QString();
        r[F::Recapito] = QString::fromUtf8(w.recapito);
        r[F::Note] = QString::fromUtf8(w.note);
        r[F::Valore] = QString::fromUtf8(w.valore);
        r.setSold(w.venduta);
        if (i == 0) {
            r[F::File01] = QStringLiteral("certificato_autenticita.pdf");
            r[F::Desc01] = QStringLiteral("Certificato di autenticità");
            r[F::File02] = QStringLiteral("scheda_conservativa.odt");
            r[F::Desc02] = QStringLiteral("Scheda conservativa 2025");
        }
        const qint64 position = archive.store(r, {});
        if (!artworkphoto::save(painting(w.subject, false), {}, QString::number(position)))
            throw IoError(QStringLiteral("cannot write the photo of work %1").arg(position));
    }
}

void storeReports()
{
    ReportArchive archive;
    for (int i = 0; i < kReports; ++i) {
        const ReportData& d = kReportData[i];
        const Work& w = kWorkData[d.work];
        TSchedaIntervento r;
        using F = TSchedaIntervento;
        r[F::NumRelazione] = QString::fromUtf8(d.numero);
        r[F::DataEmissione] = QString::fromUtf8(d.data);
        r[F::Team] = QString::fromUtf8(d.team);
        r[F::Intestazione] =
            QStringLiteral("Ars Nova s.n.c. - Laboratorio di restauro - Via dei Pittori 12, Borgo Alto");
        r[F::StatoAnteOperam] = QString::fromUtf8(d.stato);
        r[F::Committente] = QString::fromUtf8(d.committente);
        r[F::Recapito] = QString::fromUtf8(w.recapito);
        r[F::TitoloOpera] = QString::fromUtf8(w.titolo);
        r[F::Anno] = QString::fromUtf8(w.anno);
        r[F::Tecnica] = QString::fromUtf8(w.tecnica);
        r[F::Artista] = QString::fromUtf8(w.artista);
        r[F::Indagini] = QString::fromUtf8(d.indagini);
        r[F::DataInizio] = QString::fromUtf8(d.inizio);
        r[F::StatoAvanzamento] = QString::fromUtf8(d.avanzamento);
        r[F::DataFine] = QString::fromUtf8(d.fine);
        r[F::CauseDegrado] = QString::fromUtf8(d.cause);
        r[F::Conclusioni] = QString::fromUtf8(d.conclusioni);
        // The last report is the one the pictures show: its long text continues on added pages.
        r[F::MaterialiInterventi] =
            i == kReports - 1 ? QString::fromUtf8(kLongInterventions)
                              : QStringLiteral("Pulitura, consolidamento, stuccatura e reintegrazione pittorica.");
        r[F::Dimensioni] = QString::fromUtf8(w.dimensioni);
        r[F::Note] = QString::fromUtf8(d.note);
        r[F::Totale] = QString::fromUtf8(d.totale);
        r.setPaid(d.pagato);
        if (i == kReports - 1) {
            r[F::File01] = QStringLiteral("preventivo_108.pdf");
            r[F::Desc01] = QStringLiteral("Preventivo accettato");
            r[F::File02] = QStringLiteral("mappatura_degrado.png");
            r[F::Desc02] = QStringLiteral("Mappatura delle zone di degrado");
        }
        const qint64 position = archive.store(r, {});
        const QString n = QString::number(position);
        if (!reportphotos::save(painting(w.subject, true), {}, reportphotos::Frame::A, n)
            || !reportphotos::save(painting(w.subject, false), {}, reportphotos::Frame::B, n))
            throw IoError(QStringLiteral("cannot write the photos of report %1").arg(position));
    }
}

void storeAttachments()
{
    QDir().mkpath(attachments::folder());
    for (const char* name :
         {"certificato_autenticita.pdf", "scheda_conservativa.odt", "preventivo_108.pdf", "mappatura_degrado.png"})
        writeFile(attachments::folder() + QLatin1Char('/') + QString::fromLatin1(name),
                  QByteArray("documento di esempio\n"));
}
} // namespace

namespace {
// A photo of the documentation: the painting seen as the phase shows it.
QImage underUltraviolet(QImage image)
{
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.fillRect(image.rect(), QColor(0x7A, 0x6C, 0xD8));
    p.setCompositionMode(QPainter::CompositionMode_Screen);
    p.fillRect(QRect(image.width() / 3, image.height() / 5, image.width() / 4, image.height() / 3),
               QColor(0x30, 0x18, 0x40)); // a retouching that shows dark
    return image;
}

QImage underRakingLight(QImage image)
{
    QPainter p(&image);
    QLinearGradient shade(0, 0, image.width(), 0);
    shade.setColorAt(0, QColor(255, 255, 255, 90));
    shade.setColorAt(1, QColor(0, 0, 0, 170));
    p.fillRect(image.rect(), shade);
    p.setPen(QPen(QColor(40, 30, 20, 160), 2));
    for (int i = 0; i < 12; ++i) // the lifting flakes along the tear
        p.drawArc(QRect(image.width() / 4 + i * 28, image.height() / 2 + (i % 3) * 9, 30, 14), 0, 180 * 16);
    return image;
}

QImage cleaningTests(const QImage& aged, const QImage& clean)
{
    QImage image = aged;
    QPainter p(&image);
    for (int i = 0; i < 3; ++i) {
        const QRect window(image.width() / 6 + i * image.width() / 4, image.height() / 3, image.width() / 9,
                           image.height() / 7);
        p.drawImage(window, clean, window);
        p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 2));
        p.drawRect(window);
    }
    return image;
}

QImage canvasBack(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xD8, 0xC7, 0xA4));
    QPainter p(&image);
    p.setPen(QPen(QColor(0xC4, 0xB0, 0x88), 1));
    for (int x = 0; x < size.width(); x += 4)
        p.drawLine(x, 0, x, size.height());
    p.setBrush(QColor(0xA8, 0x7B, 0x4A));
    p.setPen(Qt::NoPen);
    const int bar = size.width() / 14;
    p.drawRect(0, 0, size.width(), bar);
    p.drawRect(0, size.height() - bar, size.width(), bar);
    p.drawRect(0, 0, bar, size.height());
    p.drawRect(size.width() - bar, 0, bar, size.height());
    p.drawRect(size.width() / 2 - bar / 2, 0, bar, size.height());
    p.setPen(QColor(0x40, 0x30, 0x20));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), size.height() / 24));
    p.drawText(QRect(bar * 2, bar * 2, size.width() / 2, size.height() / 5), Qt::AlignLeft,
               QStringLiteral("Ars Nova 2025 - n. 108"));
    return image;
}

QByteArray jpegBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 88);
    return bytes;
}

struct DocumentedPhoto {
    const char* file;
    const char* phase;
    QDate taken;
    const char* caption;
    QByteArray bytes;
};

// A card's documentation, stored as the card's save stores it.
template <class Archive>
void storeDocumentation(documentation::Kind kind, qint64 position, const std::vector<DocumentedPhoto>& photos)
{
    QTemporaryDir chosen;
    documentation::WorkingSet set(kind);
    set.load(position);
    for (const DocumentedPhoto& d : photos) {
        const QString path = chosen.filePath(QString::fromLatin1(d.file));
        writeFile(path, d.bytes);
        documentation::Imported r = documentation::importFile(set.target(), path, set.identities());
        if (r.outcome != documentation::Imported::Outcome::Added)
            throw IoError(QStringLiteral("cannot add %1 to the documentation: %2").arg(path, r.message));
        r.photo.phase = QString::fromUtf8(d.phase);
        r.photo.caption = QString::fromUtf8(d.caption);
        r.photo.taken = d.taken;
        set.add(r.photo);
    }
    Archive archive;
    archive.save(archive.read(position), QString::number(position), journal::What::Modificata, {&set});
    if (!set.note().isEmpty())
        throw IoError(QStringLiteral("cannot store the documentation of card %1").arg(position));
}

void storeDocumentations()
{
    const QImage aged = painting(Subject::Landscape, true, {1200, 900});
    const QImage clean = painting(Subject::Landscape, false, {1200, 900});
    const QImage detail = clean.copy(600, 300, 500, 560);
    storeDocumentation<ReportArchive>(
        documentation::Kind::Report, kReports,
        {
            {"IMG_4102.jpg",
             "Prima del restauro",
             {2025, 3, 3},
             "Recto prima del restauro, in luce diffusa.",
             jpegBytes(aged)},
            {"IMG_4105.jpg",
             "Prima del restauro",
             {2025, 3, 3},
             "Fluorescenza ultravioletta: la vernice ossidata e le ridipinture, scure, sul cielo.",
             jpegBytes(underUltraviolet(aged))},
            {"IMG_4117.jpg",
             "Durante il restauro",
             {2025, 3, 24},
             "Saggi di pulitura con miscele a polarità crescente: tre finestre aperte sulla vernice.",
             jpegBytes(cleaningTests(aged, clean))},
            {"IMG_4163.jpg",
             "Durante il restauro",
             {2025, 4, 15},
             "Consolidamento della pellicola pittorica lungo lo strappo, dopo la velinatura.",
             jpegBytes(underRakingLight(aged.copy(0, 300, 1200, 600)))},
            {"IMG_4230.jpg", "Dopo il restauro", {2025, 5, 20}, "Recto dopo il restauro.", jpegBytes(clean)},
            {"IMG_4232.jpg",
             "Dopo il restauro",
             {2025, 5, 20},
             "Retro dopo la foderatura e il montaggio sul nuovo telaio ad espansione.",
             jpegBytes(canvasBack({1200, 900}))},
            // Taken with the camera held upright: stored on its side with its orientation tag.
            {"IMG_4236.jpg",
             "Particolare",
             {2025, 5, 20},
             "Particolare del casolare dopo la reintegrazione pittorica a tratteggio.",
             orientedJpeg(detail, 6)},
            {"IMG_4107.jpg",
             "Indagine diagnostica",
             {2025, 3, 4},
             "Luce radente sul quadrante inferiore: i sollevamenti lungo lo strappo di 6 cm.",
             jpegBytes(underRakingLight(aged))},
        });
    storeDocumentation<ArtworkArchive>(
        documentation::Kind::Artwork, 1,
        {
            {"Fronte.jpg", "Fronte", {2025, 5, 22}, "L'opera dopo il restauro del 2025.", jpegBytes(clean)},
            {"Retro.jpg",
             "Retro",
             {2025, 5, 22},
             "Il retro, con il timbro del laboratorio.",
             jpegBytes(canvasBack({1200, 900}))},
        });
}
} // namespace

QImage painting(Subject subject, bool aged, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(QPointF(0, 0), QSizeF(size));
    switch (subject) {
    case Subject::Landscape: paintLandscape(p, r); break;
    case Subject::StillLife: paintStillLife(p, r); break;
    case Subject::Portrait: paintPortrait(p, r); break;
    case Subject::Seascape: paintSeascape(p, r); break;
    case Subject::Abstract: paintAbstract(p, r); break;
    }
    if (aged)
        age(p, r, quint32(subject) + 1);
    // The frame.
    p.setPen(QPen(QColor(0x8B, 0x6B, 0x2E), size.width() / 40.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(size.width() / 80.0, size.width() / 80.0, -size.width() / 80.0, -size.width() / 80.0));
    return image;
}

void fill()
{
    storeWorks();
    storeReports();
    storeAttachments();
    storeDocumentations();
    IniFile(programdir::file(QStringLiteral("Brevanto.ini")))
        .write(QStringLiteral("Schede Interventi"), QStringLiteral("Intestazione Azienda"),
               QStringLiteral("Ars Nova s.n.c. - Laboratorio di restauro - Via dei Pittori 12, Borgo Alto"));
    numbering::writeStart(QStringLiteral("101"));
    if (!logo().save(programdir::file(QStringLiteral("Logo.bmp")), "BMP"))
        throw IoError(QStringLiteral("cannot write the logo"));
}

} // namespace samplelab
