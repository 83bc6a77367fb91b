#include "reports/Logo.h"

#include "records/LogoFile.h"

#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "storage/SafeFile.h"
#include "widgets/Buttons.h"
#include "widgets/Keys.h"
#include "widgets/PhotoActions.h"
#include "widgets/PictureFrame.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmLogo::TfrmLogo(Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QStringLiteral("frmLogo"));
    setWindowTitle(QStringLiteral(" Impostazione logo"));
    setFixedSize(362, 368);

    auto* imgTitolo = new QLabel(this);
    imgTitolo->setObjectName(QStringLiteral("imgTitolo"));
    imgTitolo->setPixmap(style::pixmap(QStringLiteral("istruzioni_logo")));
    auto* mount = new QWidget(this);
    mount->setObjectName(QStringLiteral("shpLogo"));
    mount->setAttribute(Qt::WA_StyledBackground);
    imgLogo = new PictureFrame(QStringLiteral("imgLogo"), mount);
    imgLogo->setFixedSize(297, 184);
    auto* mountLayout = new QVBoxLayout(mount);
    mountLayout->setContentsMargins(4, 4, 4, 4);
    mountLayout->addWidget(imgLogo);
    for (const char* name : {"imgTemp", "imgBianco"}) {
        auto* hidden = new QLabel(this);
        hidden->setObjectName(QString::fromLatin1(name));
        hidden->setPixmap(style::pixmap(QStringLiteral("logo_default")));
        hidden->hide();
        imgBianco_ = hidden;
    }

    auto* imgEuro = new ClickLabel(QStringLiteral("imgEuro"), this);
    imgEuro->setPixmap(style::pixmap(QStringLiteral("ico_predefinito")));
    imgEuro->setToolTip(QStringLiteral("Logo predefinito"));
    auto* btnCancLogo = new ClickLabel(QStringLiteral("btnCancLogo"), this);
    btnCancLogo->setPixmap(style::pixmap(QStringLiteral("ico_gomma")));
    auto* tools = new QHBoxLayout;
    tools->addWidget(imgEuro);
    tools->addStretch();
    tools->addWidget(btnCancLogo);

    auto* btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    auto* btnSfoglia = new QPushButton(QStringLiteral("Sfoglia..."), this);
    btnSfoglia->setObjectName(QStringLiteral("btnSfoglia"));
    auto* btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnAnnulla, btnSfoglia, btnApplica}) {
        dialogButton(b);
        buttons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->addWidget(imgTitolo);
    layout->addWidget(mount, 0, Qt::AlignHCenter);
    layout->addLayout(tools);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(imgEuro, &ClickLabel::clicked, this, [this] { imgLogo->setImage(defaultLogo()); });
    connect(btnCancLogo, &ClickLabel::clicked, this, [this] { imgLogo->setImage(defaultLogo()); });
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnSfoglia, &QPushButton::clicked, this, &TfrmLogo::btnSfogliaClick);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmLogo::btnApplicaClick);
}

QImage TfrmLogo::defaultLogo() const
{
    return imgBianco_->pixmap().toImage();
}

void TfrmLogo::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    const std::optional<QImage> stored = photofiles::decode(logofile::path(), "bmp");
    imgLogo->setImage(stored ? *stored : defaultLogo());
}

void TfrmLogo::btnSfogliaClick()
{
    Ui::FileDialog d = photoactions::openDialog();
    d.title = QStringLiteral("Selezionare il logo della Ditta in formato Jpeg o Bitmap.");
    const QString file = ui_.openFile(this, d);
    if (file.isEmpty())
        return;
    const std::optional<photofiles::Picture> chosen = photofiles::readChosen(file);
    imgLogo->setImage(chosen ? chosen->image : defaultLogo());
    if (const QString why = chosen ? QString() : photofiles::oversize(file); !why.isEmpty())
        ui_.message(this, Ui::Kind::Warning, why);
}

void TfrmLogo::btnApplicaClick()
{
    bool written = false;
    try {
        SafeFile f(logofile::path());
        written = !imgLogo->image().isNull() && imgLogo->image().save(&f.device(), "BMP");
        if (written)
            f.commit();
    } catch (const IoError&) {
        written = false;
    }
    if (!written)
        imgLogo->setImage(defaultLogo());
    accept();
}
