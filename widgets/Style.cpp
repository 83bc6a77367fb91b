#include "widgets/Style.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
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

namespace style {

QPixmap pixmap(const QString& name, QSize logical)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const QImage own = picture(name);
    QImage source = ratio > 1.0 ? QImage(QStringLiteral(":/pictures/%1@2x.png").arg(name)) : QImage();
    if (source.isNull())
        source = own;
    if (!logical.isValid())
        logical = own.size();
    if (logical.isEmpty() || source.isNull() || (ratio == 1.0 && logical == source.size()))
        return QPixmap::fromImage(source);
    QImage shown = source.scaled(logical * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    shown.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(shown);
}

namespace {
// An icon drawn from the picture's two sizes at exactly the pixels asked for: Qt's own icon
// would enlarge the small one at 125% and 150%.
class PictureIconEngine : public QIconEngine {
public:
    explicit PictureIconEngine(const QString& name) : name_(name) { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * ratio, mode, state, ratio));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // size is in pixels: QIcon has already multiplied it by the scale.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QImage own = picture(name_);
        QImage source = own;
        if (size.width() > own.width() || size.height() > own.height()) {
            const QImage twice(QStringLiteral(":/pictures/%1@2x.png").arg(name_));
            if (!twice.isNull())
                source = twice;
        }
        if (source.isNull())
            return {};
        QPixmap shown = QPixmap::fromImage(
            source.size() == size ? source : source.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        if (mode == QIcon::Disabled && qApp)
            shown = QApplication::style()->generatedIconPixmap(mode, shown, nullptr);
        shown.setDevicePixelRatio(scale);
        return shown;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return picture(name_).size().scaled(size, Qt::KeepAspectRatio).boundedTo(size);
    }
    QIconEngine* clone() const override { return new PictureIconEngine(name_); }
    QString key() const override { return QStringLiteral("brevanto-picture"); }

private:
    QString name_;
};
} // namespace

QIcon icon(const QString& name)
{
    return QIcon(new PictureIconEngine(name));
}

} // namespace style
