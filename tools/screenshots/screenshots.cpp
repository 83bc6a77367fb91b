// Renders the main screens at common desktop sizes into PNG files, for looking at them.
// Usage: screenshots OUTPUT_DIR [PROGRAM_DIR]
// Messages the screens would show are answered OK and listed on standard error.
#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Password.h"
#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "common/ProgramDir.h"
#include "TestUi.h"
#include "common/PictureFrame.h"
#include "common/Style.h"
#include "app/Guida.h"
#include "app/HelpTexts.h"
#include "app/Info.h"
#include "app/Splash.h"
#include "reports/Calendario.h"
#include "reports/Interventi.h"
#include "reports/Logo.h"
#include "reports/PhotoBox.h"

#include "reports/Numerazione.h"
#include "reports/WebCam.h"
#include "attachments/AllegaCartella.h"
#include "export/ExpOpere.h"
#include "printing/AnteprimaScheda.h"
#include "printing/StampaScheda.h"
#include "printing/StampaOpera.h"
#include "search/DaSaldare.h"
#include "search/Opere_Disponibili.h"
#include "search/TrovaInterventi.h"
#include "search/TrovaOpere.h"
#include "taxcodes/CodFisc.h"
#include "taxcodes/PartitaIVA.h"

#include <QLineEdit>
#include <QPrinter>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    style::installAppearance(app);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    std::unique_ptr<programdir::Override> dir;
    if (argc > 2)
        dir = std::make_unique<programdir::Override>(QString::fromLocal8Bit(argv[2]));
    // Scripted answers: an empty or odd program folder must never stop on a real prompt.
    TestUi ui;
    createScreens(ui);
    auto shot = [&](QWidget* w, const QString& name, QSize size = {}) {
        if (size.isValid())
            w->resize(size);
        w->show();
        QTest::qWait(50);
        w->grab().save(out + QLatin1Char('/') + name + QStringLiteral(".png"));
    };
    shot(frmPassword, QStringLiteral("login"));
    shot(frmCambiaPassword, QStringLiteral("cambia_password"));
    for (QSize s : {QSize(1366, 740), QSize(1920, 1050)}) {
        const QString suffix = QStringLiteral("_%1x%2").arg(s.width()).arg(s.height());
        shot(frmAvvio, QStringLiteral("avvio") + suffix, s);
        frmOpere->show();
        frmOpere->cmdUltimoClick();
        shot(frmOpere, QStringLiteral("opere") + suffix, s);
        frmOpere->hide();
        frmInterventi->show();
        frmInterventi->cmdUltimoClick();
        shot(frmInterventi, QStringLiteral("interventi") + suffix, s);
        frmInterventi->ClearReportCard();
        shot(frmInterventi, QStringLiteral("interventi_vuota") + suffix, s);
        frmInterventi->hide();
    }
    TfrmCodFisc cf(ui);
    cf.txtCodFisc->setText(QStringLiteral("RSSMRA85T10A562S"));
    shot(&cf, QStringLiteral("codfisc"));
    TfrmPartitaIva iva(ui);
    iva.txtPartitaIva->setText(QStringLiteral("00000000018"));
    shot(&iva, QStringLiteral("partitaiva"));
    TfrmGuida help(ui);
    help.setTopic(helptexts::kLauncherTitle, helptexts::text(QStringLiteral("avvio")));
    shot(&help, QStringLiteral("guida"));
    TfrmInfo info(ui);
    shot(&info, QStringLiteral("info"));
    TfrmSplash splash(ui);
    shot(&splash, QStringLiteral("splash"));
    TfrmWebCam webcam(ui);
    shot(&webcam, QStringLiteral("webcam"));
    TfrmLogo logo(ui);
    shot(&logo, QStringLiteral("logo"));
    TfrmCalendario calendar(ui);
    shot(&calendar, QStringLiteral("calendario"));
    TfrmNumerazione numbering(ui);
    shot(&numbering, QStringLiteral("numerazione"));
    // The printed documents, as PDF files beside the pictures.
    auto toPdf = [&](const QString& name) {
        ui.onPrint([path = out + QLatin1Char('/') + name + QStringLiteral(".pdf")](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
    };
    frmInterventi->show();
    frmInterventi->cmdUltimoClick();
    // Owned by the cards, as when a card opens them.
    auto* printReport = new TfrmStampaScheda(ui, frmInterventi, frmInterventi->fieldTable(),
                                             [] { return frmInterventi->foto1->image(); },
                                             [] { return frmInterventi->foto2->image(); });
    shot(printReport, QStringLiteral("stampa_scheda"));
    toPdf(QStringLiteral("relazione"));
    printReport->btnStampaClick();
    frmInterventi->hide();
    frmOpere->show();
    frmOpere->cmdUltimoClick();
    auto* printWork = new TfrmStampaOpera(ui, frmOpere, frmOpere->fieldTable(), [] { return frmOpere->imgFoto->image(); });
    shot(printWork, QStringLiteral("stampa_opera"));
    toPdf(QStringLiteral("scheda_opera"));
    printWork->btnStampaClick();
    frmOpere->hide();
    auto* attach = new TfrmAllegaCartella(ui, frmOpere, frmOpere->lblFile, frmOpere->lblDesc);
    attach->txtFile[0]->setText(QStringLiteral("perizia_restauro.pdf"));
    attach->txtDesc[0]->setText(QStringLiteral("Perizia del restauro"));
    shot(attach, QStringLiteral("allega"));
    auto* exporting = new TfrmExpOpere(ui, frmOpere);
    shot(exporting, QStringLiteral("esporta"));
    TfrmTrovaOpere findWorks(ui);
    shot(&findWorks, QStringLiteral("trova_opere_criteri"));
    findWorks.btnCercaClick();
    shot(&findWorks, QStringLiteral("trova_opere_elenco"));
    TfrmTrovaInterventi findReports(ui);
    shot(&findReports, QStringLiteral("trova_interventi_criteri"));
    findReports.btnCercaClick();
    findReports.txtTrova->setText(QStringLiteral("rossi"));
    findReports.btnTrovaClick();
    shot(&findReports, QStringLiteral("trova_interventi_elenco"));
    toPdf(QStringLiteral("elenco_relazioni"));
    findReports.btnStampaClick();
    TfrmOpere_Disponibili unsold(ui);
    shot(&unsold, QStringLiteral("opere_disponibili"));
    TfrmDaSaldare unpaid(ui);
    shot(&unpaid, QStringLiteral("da_saldare"));
    destroyScreens();
    for (const TestUi::Message& m : ui.takeMessages())
        fprintf(stderr, "message: %s\n", qPrintable(m.text));
    return 0;
}
