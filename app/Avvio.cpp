#include "app/Avvio.h"

#include "app/Guida.h"
#include "app/HelpTexts.h"
#include "app/Info.h"
#include "app/OpenURL.h"
#include "app/Splash.h"
#include "backup/BackupActions.h"
#include "widgets/Buttons.h"
#include "widgets/Dialogs.h"
#include "widgets/Messages.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TfrmAvvio::TfrmAvvio(Ui& ui, QWidget* parent) : QWidget(parent, Qt::Window), ui_(ui)
{
    setObjectName(QStringLiteral("frmAvvio"));
    setWindowTitle(QStringLiteral("Brevanto"));

    auto* imgInfo = clickable(QStringLiteral("imgInfo"), QStringLiteral("launcher_info"));
    auto* imgGuida = clickable(QStringLiteral("imgGuida"), QStringLiteral("launcher_help"));
    auto* imgCopyright = clickable(QStringLiteral("imgCopyright"), QStringLiteral("launcher_copyright"));
    auto* imgEsci = clickable(QStringLiteral("imgEsci"), QStringLiteral("launcher_exit"));

    auto* title = new QLabel(this);
    title->setObjectName(QStringLiteral("imgTitolo"));
    title->setPixmap(style::pixmap(QStringLiteral("launcher_title")));
    title->setAlignment(Qt::AlignCenter);
    auto* subtitle = new QLabel(QStringLiteral("Il software per i laboratori di restauro di opere d'arte: "
                                               "relazioni tecniche di restauro e catalogo delle opere"),
                                this);
    subtitle->setObjectName(QStringLiteral("imgSottotitolo"));
    subtitle->setAlignment(Qt::AlignCenter);

    auto* top = new QHBoxLayout;
    top->addWidget(imgInfo, 0, Qt::AlignTop);
    auto* heading = new QVBoxLayout;
    heading->addWidget(title);
    heading->addWidget(subtitle, 0, Qt::AlignHCenter);
    top->addLayout(heading, 1);
    top->addWidget(imgGuida, 0, Qt::AlignTop);

    auto tile = [this](const QString& img, const QString& bar, const QString& pictureName, const QString& caption) {
        auto* picture = clickable(img, pictureName);
        auto* label = new ClickLabel(bar, this);
        label->setText(caption);
        label->setAlignment(Qt::AlignCenter);
        label->setProperty("launcherBar", true);
        auto* column = new QVBoxLayout;
        column->setSpacing(0);
        column->addWidget(picture, 0, Qt::AlignHCenter);
        column->addWidget(label);
        return std::pair{column, std::pair{picture, label}};
    };
    auto [app01, app01Controls] = tile(QStringLiteral("imgApp01"), QStringLiteral("btnApp01"),
                                       QStringLiteral("launcher_app01"), QStringLiteral("ARCHIVIO OPERE"));
    auto [app02, app02Controls] = tile(QStringLiteral("imgApp02"), QStringLiteral("btnApp02"),
                                       QStringLiteral("launcher_app02"), QStringLiteral("RELAZIONI TECNICHE"));
    auto* apps = new QHBoxLayout;
    apps->addStretch();
    apps->addLayout(app01);
    apps->addSpacing(60);
    apps->addLayout(app02);
    apps->addStretch();

    // The backup's two buttons, under the applications.
    auto action = [this](const QString& name, const QString& caption, const QString& hint) {
        auto* button = new ClickLabel(name, this);
        button->setText(caption);
        button->setToolTip(hint);
        button->setAlignment(Qt::AlignCenter);
        button->setProperty("launcherAction", true);
        return button;
    };
    auto* btnBackup = action(QStringLiteral("btnBackup"), QStringLiteral("Backup"),
                             QStringLiteral("Salva in un unico file tutti i dati del laboratorio"));
    auto* btnRipristino = action(QStringLiteral("btnRipristino"), QStringLiteral("Ripristina backup"),
                                 QStringLiteral("Sostituisce i dati attuali con quelli di un backup"));
    auto* backups = new QHBoxLayout;
    backups->addStretch();
    backups->addWidget(btnBackup);
    backups->addSpacing(24);
    backups->addWidget(btnRipristino);
    backups->addStretch();

    auto* imgSito = new ClickLabel(QStringLiteral("imgSito"), this);
    imgSito->setText(maker::kCopyright + QStringLiteral("   \u2022   ")
                     + QString(maker::kWeb).remove(QStringLiteral("https://")));
    imgSito->setAlignment(Qt::AlignCenter);
    imgSito->setProperty("banner", true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(imgCopyright, 0, Qt::AlignBottom);
    bottom->addStretch();
    bottom->addWidget(imgSito, 0, Qt::AlignBottom);
    bottom->addStretch();
    bottom->addWidget(imgEsci, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addLayout(top);
    layout->addStretch(1);
    layout->addLayout(apps);
    layout->addSpacing(36);
    layout->addLayout(backups);
    layout->addStretch(1);
    layout->addLayout(bottom);

    for (ClickLabel* c : {app01Controls.first, app01Controls.second})
        connect(c, &ClickLabel::clicked, this, &TfrmAvvio::openCatalogue);
    connect(imgSito, &ClickLabel::clicked, this, [this] { TMisc::Open(ui_, maker::kWeb); });
    connect(imgEsci, &ClickLabel::clicked, this, &TfrmAvvio::exitProgram);
    connect(btnBackup, &ClickLabel::clicked, this, &TfrmAvvio::btnBackupClick);
    connect(btnRipristino, &ClickLabel::clicked, this, &TfrmAvvio::btnRipristinoClick);
    connect(imgInfo, &ClickLabel::clicked, this, [this] { execOnce(ui_, std::make_unique<TfrmInfo>(ui_, this)); });
    connect(imgCopyright, &ClickLabel::clicked, this,
            [this] { execOnce(ui_, std::make_unique<TfrmSplash>(ui_, this)); });
    connect(imgGuida, &ClickLabel::clicked, this,
            [this] { showHelp(ui_, this, helptexts::kLauncherTitle, helptexts::text(QStringLiteral("avvio"))); });
    for (ClickLabel* c : {app02Controls.first, app02Controls.second})
        connect(c, &ClickLabel::clicked, this, &TfrmAvvio::openReports);
}

ClickLabel* TfrmAvvio::clickable(const QString& name, const QString& pictureName)
{
    auto* c = new ClickLabel(name, this);
    c->setPixmap(style::pixmap(pictureName));
    return c;
}

void TfrmAvvio::openCatalogue()
{
    emit catalogueRequested();
    hide();
}

void TfrmAvvio::openReports()
{
    emit reportsRequested();
    hide();
}

void TfrmAvvio::btnBackupClick()
{
    backupactions::backupNow(ui_, this);
}

void TfrmAvvio::btnRipristinoClick()
{
    if (backupactions::restore(ui_, this))
        emit dataRestored();
}

void TfrmAvvio::exitProgram()
{
    if (exiting_)
        return;
    exiting_ = true;
    backupactions::automaticBackup(ui_, this);
    QApplication::quit();
}

void TfrmAvvio::closeEvent(QCloseEvent* e)
{
    e->accept();
    exitProgram();
}
