#include "documentation/PhotoModel.h"

#include "documentation/Thumbnails.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QTransform>
#include <QUrl>

namespace documentation {
namespace {
// Colours of the tiles and headings, the list screens' blues.
const QColor kHeading(0x1F, 0x3B, 0x5C);
const QColor kChosen(0x2F, 0x5A, 0x88);
const QColor kTileBorder(0xA7, 0xB4, 0xC1);
const QColor kPlaceholder(0xE3, 0xEA, 0xF1);
const QColor kWarning(0xB2, 0x22, 0x22);
constexpr int kMaxThumbnailKb = 96 * 1024;

QImage turnedBy(const QImage& image, int turns)
{
    return turns == 0 ? image : image.transformed(QTransform().rotate(90 * turns));
}

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}
} // namespace

PhotoModel::PhotoModel(WorkingSet& set, ThumbnailLoader& loader, QObject* parent)
    : QAbstractListModel(parent), set_(set), loader_(loader), thumbnails_(kMaxThumbnailKb)
{
    connect(&loader_, &ThumbnailLoader::ready, this, &PhotoModel::arrived);
    refresh();
}

void PhotoModel::refresh()
{
    beginResetModel();
    rows_.clear();
    QString phase;
    bool first = true;
    for (qsizetype i = 0; i < set_.items().size(); ++i) {
        const Item& item = set_.items()[i];
        if (!filter_.isEmpty() && item.photo.phase != filter_)
            continue;
        if (first || item.photo.phase != phase) {
            phase = item.photo.phase;
            rows_.append({phase, 0, 0});
            first = false;
        }
        rows_.append({phase, item.id, int(i) + 1});
    }
    if (rows_.isEmpty() && !filter_.isEmpty())
        rows_.append({filter_, 0, 0}); // the phase chosen, empty: a place to drop photos into
    endResetModel();
}

void PhotoModel::setFilter(const QString& phase)
{
    filter_ = phase;
    refresh();
}

int PhotoModel::rowOf(quint64 id) const
{
    for (qsizetype r = 0; r < rows_.size(); ++r)
        if (rows_[r].id == id && id != 0)
            return int(r);
    return -1;
}

quint64 PhotoModel::idAt(int row) const
{
    return row >= 0 && row < rows_.size() ? rows_[row].id : 0;
}

void PhotoModel::changed(quint64 id)
{
    if (const int row = rowOf(id); row >= 0)
        emit dataChanged(index(row), index(row));
}

void PhotoModel::setThumbnail(quint64 id, const QImage& image)
{
    if (image.isNull())
        return;
    arrivedOnce_.insert(id);
    thumbnails_.insert(id, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes() / 1024));
    changed(id);
}

void PhotoModel::want(const QList<quint64>& ids)
{
    // The loader serves the newest request first: asked in reverse, the first comes first.
    for (auto it = ids.crbegin(); it != ids.crend(); ++it) {
        const Item* item = set_.find(*it);
        if (!item || item->missing || unreadable_.contains(*it) || thumbnails_.contains(*it))
            continue;
        asked_.insert(*it);
        loader_.request(*it, set_.pathOf(*item));
    }
}

void PhotoModel::wantAll()
{
    QList<quint64> ids;
    for (const Row& r : std::as_const(rows_))
        if (r.id)
            ids << r.id;
    want(ids);
}

int PhotoModel::thumbnailsDone() const
{
    int done = 0;
    for (const Item& i : set_.items())
        done += i.missing || unreadable_.contains(i.id) || thumbnails_.contains(i.id);
    return done;
}

int PhotoModel::shownThumbnailsDone() const
{
    int done = 0;
    for (const Item& i : set_.items())
        if (filter_.isEmpty() || i.photo.phase == filter_)
            done += i.missing || unreadable_.contains(i.id) || thumbnails_.contains(i.id);
    return done;
}

int PhotoModel::shownCount() const
{
    return int(std::count_if(set_.items().cbegin(), set_.items().cend(),
                             [this](const Item& i) { return filter_.isEmpty() || i.photo.phase == filter_; }));
}

void PhotoModel::arrived(quint64 id, const QImage& image)
{
    if (!set_.find(id))
        return; // a photo removed meanwhile
    arrivedOnce_.insert(id);
    asked_.remove(id);
    if (image.isNull())
        unreadable_.insert(id);
    else
        thumbnails_.insert(id, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes() / 1024));
    if (const int row = rowOf(id); row >= 0)
        emit dataChanged(index(row), index(row));
    emit thumbnailsChanged();
}

int PhotoModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant PhotoModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const Row& row = rows_[index.row()];
    if (row.id == 0) {
        switch (role) {
        case Qt::DisplayRole:
        case PhaseRole: return row.phase.isEmpty() ? QStringLiteral("Senza fase") : row.phase;
        case HeadingRole: return true;
        case IdRole: return quint64(0);
        case CountRole: return set_.countInPhase(row.phase);
        default: return {};
        }
    }
    const Item* item = set_.find(row.id);
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole: return item->photo.caption;
    case Qt::ToolTipRole:
        return QStringLiteral("Foto n. %1 \u2014 %2\n%3").arg(row.number).arg(item->photo.file, item->photo.caption);
    case HeadingRole: return false;
    case IdRole: return row.id;
    case NumberRole: return row.number;
    case PhaseRole: return item->photo.phase;
    case Qt::UserRole: return dateText(item->photo.taken);
    case StateRole:
        if (item->missing)
            return Missing;
        if (unreadable_.contains(row.id))
            return Unreadable;
        return thumbnails_.contains(row.id) ? Shown : Loading;
    case Qt::DecorationRole: {
        if (const QImage* t = thumbnails_.object(row.id))
            return turnedBy(*t, item->turns);
        // Pushed out of memory since it came: asked for again, from the cache on the disk.
        if (!item->missing && !unreadable_.contains(row.id) && !asked_.contains(row.id)
            && arrivedOnce_.contains(row.id)) {
            asked_.insert(row.id);
            loader_.request(row.id, set_.pathOf(*item));
        }
        return {};
    }
    default: return {};
    }
}

Qt::ItemFlags PhotoModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    if (rows_[index.row()].id == 0)
        return Qt::NoItemFlags; // a heading: neither chosen nor dragged, stepped over by the keys
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!set_.readOnly())
        f |= Qt::ItemIsDragEnabled;
    return f;
}

QStringList PhotoModel::mimeTypes() const
{
    return {QString::fromLatin1(kMime), QStringLiteral("text/uri-list")};
}

QMimeData* PhotoModel::mimeData(const QModelIndexList& indexes) const
{
    QByteArray ids;
    for (const QModelIndex& i : indexes)
        if (const quint64 id = idAt(i.row()))
            ids += QByteArray::number(id) + ' ';
    if (ids.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMime), ids.trimmed());
    return data;
}

bool PhotoModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int, const QModelIndex&) const
{
    return !set_.readOnly() && data && (data->hasFormat(QString::fromLatin1(kMime)) || data->hasUrls());
}

std::pair<QString, int> PhotoModel::dropTarget(int row) const
{
    const QStringList& known = phases(set_.kind());
    if (rows_.isEmpty())
        return {filter_.isEmpty() ? known.front() : filter_, 0};
    if (row < 0 || row >= rows_.size()) {
        const QString phase = rows_.back().phase;
        return {phase, set_.countInPhase(phase)};
    }
    const Row& at = rows_[row];
    if (at.id == 0) {
        // Before a heading: at the end of the group above it, or first of the first group.
        if (row == 0)
            return {at.phase, 0};
        const QString phase = rows_[row - 1].phase;
        return {phase, set_.countInPhase(phase)};
    }
    return {at.phase, set_.placeInPhase(at.id)};
}

bool PhotoModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int, const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, 0, parent))
        return false;
    if (parent.isValid())
        row = parent.row(); // dropped on a photo: before it
    auto [phase, place] = dropTarget(row);
    if (data->hasFormat(QString::fromLatin1(kMime))) {
        const QList<QByteArray> ids = data->data(QString::fromLatin1(kMime)).split(' ');
        const quint64 id = ids.value(0).toULongLong();
        const Item* item = set_.find(id);
        if (!item)
            return false;
        if (item->photo.phase == phase && set_.placeInPhase(id) < place)
            --place; // it leaves its old place first
        set_.place(id, phase, place);
        refresh();
        emit moved(id);
        return true;
    }
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (paths.isEmpty())
        return false;
    emit filesDropped(paths, phase, place);
    return true;
}

PhotoDelegate::PhotoDelegate(QListView* view) : QStyledItemDelegate(view), view_(view)
{ }

QSize PhotoDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    if (index.data(PhotoModel::HeadingRole).toBool())
        return QSize(std::max(kTile.width(), view_->viewport()->width() - 2 * view_->spacing() - 2), 30);
    return kTile;
}

void PhotoDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect r = option.rect;
    QFont font = option.font;
    if (index.data(PhotoModel::HeadingRole).toBool()) {
        p->fillRect(r.adjusted(0, 4, 0, 0), kHeading);
        font.setBold(true);
        p->setFont(font);
        p->setPen(Qt::white);
        const int count = index.data(PhotoModel::CountRole).toInt();
        p->drawText(r.adjusted(10, 4, -10, 0), Qt::AlignVCenter | Qt::AlignLeft,
                    QStringLiteral("%1 \u2014 %2 foto").arg(index.data(Qt::DisplayRole).toString()).arg(count));
        p->restore();
        return;
    }
    const bool chosen = option.state & QStyle::State_Selected;
    const bool focused = option.state & QStyle::State_HasFocus;
    p->setPen(QPen(chosen ? kChosen : kTileBorder, chosen ? 3 : 1));
    p->setBrush(chosen ? QColor(0xDC, 0xE8, 0xF4) : QColor(Qt::white));
    p->drawRoundedRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
    if (focused) {
        p->setPen(QPen(kChosen, 1, Qt::DotLine));
        p->setBrush(Qt::NoBrush);
        p->drawRoundedRect(QRectF(r).adjusted(4.5, 4.5, -4.5, -4.5), 3, 3);
    }
    const QRect picture(r.left() + 8, r.top() + 8, r.width() - 16, 150);
    const QImage thumbnail = index.data(Qt::DecorationRole).value<QImage>();
    const int state = index.data(PhotoModel::StateRole).toInt();
    if (!thumbnail.isNull()) {
        const QSize fitted = thumbnail.size().scaled(picture.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), fitted);
        target.moveCenter(picture.center());
        p->drawImage(target, thumbnail);
    } else {
        p->fillRect(picture, kPlaceholder);
        p->setPen(state == PhotoModel::Loading ? kHeading : kWarning);
        const QString what = state == PhotoModel::Missing      ? QStringLiteral("Foto mancante")
                             : state == PhotoModel::Unreadable ? QStringLiteral("Foto illeggibile")
                                                               : QStringLiteral("Caricamento\u2026");
        p->drawText(picture, Qt::AlignCenter, what);
    }
    font.setBold(true);
    p->setFont(font);
    p->setPen(kHeading);
    const QRect line(r.left() + 8, picture.bottom() + 6, r.width() - 16, 18);
    p->drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("n. %1").arg(index.data(PhotoModel::NumberRole).toInt()));
    p->drawText(line, Qt::AlignRight | Qt::AlignVCenter, index.data(Qt::UserRole).toString());
    font.setBold(false);
    p->setFont(font);
    p->setPen(Qt::black);
    const QRect caption(r.left() + 8, line.bottom() + 2, r.width() - 16, r.bottom() - line.bottom() - 8);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QString shown = p->fontMetrics().elidedText(text, Qt::ElideRight, caption.width() * 2 - 20);
    p->drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, shown);
    p->restore();
}

PhotoListView::PhotoListView(QWidget* parent) : QListView(parent)
{
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setSpacing(6);
    setUniformItemSizes(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setItemDelegate(new PhotoDelegate(this));
    empty_ = new QLabel(viewport());
    empty_->setObjectName(QStringLiteral("lblVuoto"));
    empty_->setWordWrap(true);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setProperty("listHelp", true);
    empty_->setAttribute(Qt::WA_TransparentForMouseEvents); // drops land on the list
    empty_->hide();
}

void PhotoListView::setEmptyText(const QString& text)
{
    empty_->setText(text);
    empty_->setVisible(!text.isEmpty());
    placeEmptyText();
}

void PhotoListView::placeEmptyText()
{
    // In the middle of the list, below the heading of a phase shown empty.
    const QRect area = viewport()->rect().adjusted(24, 40, -24, -8);
    const int width = std::min(area.width(), 520);
    const int height = std::min(area.height(), empty_->heightForWidth(width));
    empty_->setGeometry(
        QRect(area.left() + (area.width() - width) / 2, area.top() + (area.height() - height) / 2, width, height));
}

QModelIndex PhotoListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QListView::moveCursor(action, modifiers);
    const bool back = action == MoveUp || action == MoveLeft || action == MovePrevious || action == MovePageUp;
    while (next.isValid() && next.data(PhotoModel::HeadingRole).toBool()) {
        const int row = next.row() + (back ? -1 : 1);
        if (row < 0 || row >= model()->rowCount())
            return currentIndex(); // no photo that way
        next = model()->index(row, 0);
    }
    return next;
}

namespace {
// Files from the file manager are copied, whatever the drag proposes.
template <class Event> void copyWhenFromOutside(Event* e, QWidget* view)
{
    if (e->source() != view)
        e->setDropAction(Qt::CopyAction);
}
} // namespace

void PhotoListView::dragEnterEvent(QDragEnterEvent* e)
{
    QListView::dragEnterEvent(e);
    copyWhenFromOutside(e, this);
}

void PhotoListView::dragMoveEvent(QDragMoveEvent* e)
{
    QListView::dragMoveEvent(e);
    copyWhenFromOutside(e, this);
}

// The drop is the model's to place: before the photo under the pointer (after it, on its right
// half), first in a group when on its heading, last elsewhere. Accepted as a copy, so that the
// view never removes the rows it dragged: the model has moved them.
void PhotoListView::dropEvent(QDropEvent* e)
{
    const QPoint at = e->position().toPoint();
    const QModelIndex over = indexAt(at);
    int row = -1;
    if (over.isValid() && over.data(PhotoModel::HeadingRole).toBool())
        row = over.row() + 1;
    else if (over.isValid())
        row = at.x() > visualRect(over).center().x() ? over.row() + 1 : over.row();
    if (model() && model()->dropMimeData(e->mimeData(), Qt::CopyAction, row, 0, QModelIndex())) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}

void PhotoListView::resizeEvent(QResizeEvent* e)
{
    QListView::resizeEvent(e);
    scheduleDelayedItemsLayout(); // the headings span the new width
    placeEmptyText();
}

} // namespace documentation
