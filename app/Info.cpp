#include "app/Info.h"

#include "app/OpenURL.h"
#include "widgets/Buttons.h"
#include "widgets/Dialogs.h"
#include "widgets/Messages.h"
#include "widgets/Style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmInfo::TfrmInfo(Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral(" Informazioni su Brevanto"));

    auto* imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(style::pixmap(QStringLiteral("launcher_title")));
    auto* about = new QLabel(QStringLiteral("Software per i laboratori di restauro di opere d'arte.\n"
                                            "Per informazioni e assistenza scrivere a:"),
                             this);
    about->setProperty("instruction", true);
    about->setAlignment(Qt::AlignCenter);
    auto* imgEmail = new ClickLabel(QStringLiteral("imgEmail"), this);
    imgEmail->setPixmap(style::pixmap(QStringLiteral("ico_mail")));
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), maker::kMail, this);
    lnkWeb->addIcon(imgEmail);
    connect(lnkWeb, &LinkLabel::activated, this,
            [this] { TMisc::Open(ui_, QStringLiteral("\"mailto:%1\"").arg(maker::kMail)); });
    auto* link = new QHBoxLayout;
    link->addStretch();
    link->addWidget(imgEmail);
    link->addWidget(lnkWeb);
    link->addStretch();

    auto* btnChiudi = closeButton(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 16);
    layout->addWidget(imgLogo, 0, Qt::AlignHCenter);
    layout->addWidget(about);
    layout->addSpacing(6);
    layout->addLayout(link);
    layout->addSpacing(10);
    layout->addWidget(btnChiudi, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}
