#include "app/Splash.h"

#include "app/OpenURL.h"
#include "widgets/Buttons.h"
#include "widgets/Dialogs.h"
#include "widgets/Messages.h"
#include "widgets/Style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmSplash::TfrmSplash(Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Brevanto - \u00A9 2026 Brevanto"));

    auto* imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(style::pixmap(QStringLiteral("splash")));
    imgLogo->setFixedSize(625, 380);
    auto* imgWeb = new ClickLabel(QStringLiteral("imgWeb"), this);
    imgWeb->setPixmap(style::pixmap(QStringLiteral("ico_web")));
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), maker::kWeb, this);
    lnkWeb->addIcon(imgWeb);
    connect(lnkWeb, &LinkLabel::activated, this, [this] { TMisc::Open(ui_, maker::kWeb); });

    auto* btnChiudi = closeButton(this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(imgWeb);
    bottom->addWidget(lnkWeb);
    bottom->addStretch();
    bottom->addWidget(btnChiudi);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(imgLogo);
    layout->addLayout(bottom);
    setFixedSize(sizeHint());
}
