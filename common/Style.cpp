#include "common/Style.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

// The resources live in a static library: naming them keeps them in the executable.
static void registerResources()
{
    Q_INIT_RESOURCE(brevanto);
    Q_INIT_RESOURCE(translations);
}

namespace style {

void initResources()
{
    registerResources();
}

void installAppearance(QApplication& app)
{
    // The screens name the classic Windows faces; free look-alikes stand in for them.
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    app.setFont(QFont(QStringLiteral("Tahoma"), 9));
    initResources();
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFile sheet(QStringLiteral(":/brevanto.qss"));
    if (sheet.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void speakItalian(QApplication& app)
{
    initResources();
    auto* qtItalian = new QTranslator(&app);
    if (qtItalian->load(QStringLiteral(":/translations/qtbase_it.qm")))
        QApplication::installTranslator(qtItalian);
}

} // namespace style

QImage picture(const QString& name)
{
    return QImage(QStringLiteral(":/pictures/%1.png").arg(name));
}
