#include "widgets/WindowPlace.h"

#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace windowplace {
namespace {
const QString kGeometry = QStringLiteral("Finestra");
const QString kMaximised = QStringLiteral("Ingrandita");
// The share of the screen a screen takes the first time it opens.
constexpr qreal kFirstShare = 0.9;

IniFile settings()
{
    return IniFile(programdir::file(QStringLiteral("Brevanto.ini")));
}

QString read(const QString& section, const QString& key)
{
    try {
        return settings().read(section, key);
    } catch (const IoError&) {
        return {}; // an unreadable file: the screen opens as the first time
    }
}

void write(const QString& section, const QString& key, const QString& value)
{
    try {
        if (settings().read(section, key) != value)
            settings().write(section, key, value);
    } catch (const IoError&) {
        // A folder that cannot be written opens the screen as before: nothing depends on it.
    }
}

// "x,y,width,height" with a width and height; else an invalid rectangle.
QRect parsed(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return {};
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return {};
    }
    return v[2] > 0 && v[3] > 0 ? QRect(v[0], v[1], v[2], v[3]) : QRect();
}

const QScreen* screenFor(const QWidget* w, const QRect& wanted)
{
    if (wanted.isValid())
        if (const QScreen* s = QGuiApplication::screenAt(wanted.center()))
            return s;
    if (w->parentWidget() && w->parentWidget()->screen())
        return w->parentWidget()->screen();
    return w->screen() ? w->screen() : QGuiApplication::primaryScreen();
}
} // namespace

QRect fitted(QRect wanted, QSize minimum, QRect area, QMargins frame)
{
    const QRect room = area.marginsRemoved(frame);
    if (room.isEmpty())
        return wanted;
    QSize size = wanted.size().expandedTo(minimum).boundedTo(room.size());
    QRect out(wanted.topLeft(), size);
    if (out.right() > room.right())
        out.moveRight(room.right());
    if (out.bottom() > room.bottom())
        out.moveBottom(room.bottom());
    if (out.left() < room.left())
        out.moveLeft(room.left());
    if (out.top() < room.top())
        out.moveTop(room.top());
    return out;
}

void restore(QWidget* w, const QString& section)
{
    const QRect left = parsed(read(section, kGeometry));
    const QScreen* screen = screenFor(w, left);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect wanted = left;
    if (!wanted.isValid()) {
        const QRect room = area.marginsRemoved(kFrame);
        wanted = QRect(QPoint(), room.size() * kFirstShare);
        wanted.moveCenter(room.center());
    }
    w->setGeometry(fitted(wanted, w->minimumSizeHint().expandedTo(w->minimumSize()), area));
    if (read(section, kMaximised) == QStringLiteral("1"))
        w->setWindowState(w->windowState() | Qt::WindowMaximized);
}

void remember(const QWidget* w, const QString& section)
{
    const bool maximised = w->isMaximized();
    const QRect g = maximised ? w->normalGeometry() : w->geometry();
    if (g.isValid())
        write(section, kGeometry, QStringLiteral("%1,%2,%3,%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
    write(section, kMaximised, maximised ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace windowplace
