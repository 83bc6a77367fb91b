#include "Studio.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {
// A plain title bar around the window's own picture, so that the manual shows each window
// with the caption the user reads on it (offscreen there is no window manager to draw one).
QImage framed(const QImage& client, const QString& caption)
{
    constexpr int kBar = 30;
    constexpr int kBorder = 1;
    QImage image(client.width() + 2 * kBorder, client.height() + kBar + kBorder, QImage::Format_RGB32);
    image.fill(QColor(0x2B, 0x3A, 0x4A));
    QPainter p(&image);
    QLinearGradient bar(0, 0, 0, kBar);
    bar.setColorAt(0, QColor(0x52, 0x6D, 0x88));
    bar.setColorAt(1, QColor(0x36, 0x4C, 0x63));
    p.fillRect(QRect(0, 0, image.width(), kBar), bar);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10, QFont::Bold));
    p.drawText(QRect(12, 0, image.width() - 24, kBar), Qt::AlignVCenter | Qt::AlignLeft, caption.trimmed());
    p.drawImage(kBorder, kBar, client);
    return image;
}

Picture pictureOf(QWidget* w)
{
    return {framed(w->grab().toImage().convertToFormat(QImage::Format_RGB32), w->windowTitle()), w->objectName(),
            w->windowTitle()};
}

void settle()
{
    QTest::qWait(80);
    QApplication::processEvents();
}
} // namespace

Picture Studio::window(QWidget* w, QSize size)
{
    if (size.isValid()) {
        w->showNormal();
        w->resize(size);
    }
    w->show();
    settle();
    return pictureOf(w);
}

std::optional<Picture> Studio::nextScreen(const std::function<void()>& open,
                                          const std::function<void(QDialog*)>& prepare)
{
    std::optional<Picture> taken;
    ui.onExec([&](QDialog* d) {
        d->show();
        settle();
        if (prepare)
            prepare(d);
        settle();
        taken = pictureOf(d);
        d->hide();
        return int(QDialog::Rejected);
    });
    open();
    if (!taken)
        ui.reset(); // the handler was not used: nothing queued may reach the next row
    return taken;
}

std::optional<Picture> Studio::realModal(const std::function<void()>& open, QSize size,
                                         const std::function<void(QWidget*)>& prepare)
{
    std::optional<Picture> taken;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            if (waited.elapsed() > 10000)
                poll.stop();
            return;
        }
        poll.stop();
        if (size.isValid()) {
            modal->setWindowState(Qt::WindowNoState);
            modal->setGeometry(QRect(QPoint(0, 0), size));
        }
        if (prepare)
            prepare(modal);
        settle();
        QTest::qWait(300); // the preview lays its pages out after it is shown
        taken = pictureOf(modal);
        modal->close();
        if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
    });
    poll.start();
    open();
    return taken;
}

QString Studio::pdf(const QString& name) const
{
    return folder_ + QLatin1Char('/') + name + QStringLiteral(".pdf");
}

void Studio::printNextTo(const QString& name)
{
    ui.onPrint([path = pdf(name)](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    });
}

std::optional<Picture> Studio::page(const QString& name, int number) const
{
    const QString stem = QDir(folder_).filePath(QStringLiteral("pagina"));
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-f"), QString::number(number), QStringLiteral("-l"), QString::number(number),
                    QStringLiteral("-r"), QStringLiteral("90"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                    pdf(name), stem});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return std::nullopt;
    QImage image(stem + QStringLiteral(".png"));
    QFile::remove(stem + QStringLiteral(".png"));
    if (image.isNull())
        return std::nullopt;
    // A thin border, as a sheet on the page of the manual.
    QImage sheet(image.width() + 2, image.height() + 2, QImage::Format_RGB32);
    sheet.fill(QColor(0x9A, 0xA8, 0xB8));
    QPainter(&sheet).drawImage(1, 1, image);
    return Picture{sheet, {}, {}};
}
