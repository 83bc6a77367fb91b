#pragma once
#include "documentation/WorkingSet.h"

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QSet>
#include <QStyledItemDelegate>

class ThumbnailLoader;

namespace documentation {

// The photos of a working set as the documentation screen lists them: grouped by phase in
// the phases' order, each group under a heading row, each photo with its number, caption and
// thumbnail. Thumbnails come from the loader in the background; a photo shows a placeholder
// until its own arrives.
class PhotoModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1, // quint64; 0 for a heading
        HeadingRole, // bool
        NumberRole, // int, the photo's number in the whole set
        PhaseRole, // QString
        StateRole, // int: State
        CountRole, // int, photos of a heading's phase
    };
    enum State { Loading, Shown, Missing, Unreadable };
    static constexpr const char* kMime = "application/x-brevanto-foto";

    PhotoModel(WorkingSet& set, ThumbnailLoader& loader, QObject* parent);

    // Rebuilds the rows from the set, after any change to it.
    void refresh();
    // Only the photos of phase (empty: all).
    void setFilter(const QString& phase);
    const QString& filter() const { return filter_; }
    int rowOf(quint64 id) const;
    quint64 idAt(int row) const;
    // A photo's caption, date or turn changed: its row shows it.
    void changed(quint64 id);
    // A thumbnail made when the photo was added.
    void setThumbnail(quint64 id, const QImage& image);
    // Asks for the thumbnails of the photos given, the first served first.
    void want(const QList<quint64>& ids);
    // Asks for every thumbnail, the first rows first.
    void wantAll();
    // Photos whose thumbnail is shown or known unreadable, and all photos.
    int thumbnailsDone() const;
    int photoCount() const { return int(set_.items().size()); }
    // The same for the photos the list shows (those of the phase chosen, or all).
    int shownThumbnailsDone() const;
    int shownCount() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction | Qt::MoveAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }

signals:
    // Files dropped from the file manager, to be added to phase at place.
    void filesDropped(const QStringList& paths, const QString& phase, int place);
    // A photo dragged to another place (the set already holds it there).
    void moved(quint64 id);
    // Thumbnails arrived.
    void thumbnailsChanged();

private:
    struct Row {
        QString phase;
        quint64 id = 0; // 0: the phase's heading
        int number = 0;
    };
    // Where a drop before row lands: the phase, and the place among its photos.
    std::pair<QString, int> dropTarget(int row) const;
    void arrived(quint64 id, const QImage& image);

    WorkingSet& set_;
    ThumbnailLoader& loader_;
    QList<Row> rows_;
    QString filter_;
    // Thumbnails by photo, at most about 96 MB of them: one pushed out is asked for again
    // (from the cache beside the photos) when it shows.
    mutable QCache<quint64, QImage> thumbnails_;
    mutable QSet<quint64> asked_;
    QSet<quint64> arrivedOnce_;
    QSet<quint64> unreadable_;
};

// A photo as a tile (its thumbnail, number, phase and date, its caption) and a heading as a
// bar across the list.
class PhotoDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr QSize kTile{196, 236};
    explicit PhotoDelegate(QListView* view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QListView* view_;
};

// The list of photos: tiles that flow in rows, headings across; photos dragged within it,
// files dropped on it from the file manager (always copied, never moved from where they are).
class PhotoListView : public QListView {
    Q_OBJECT
public:
    explicit PhotoListView(QWidget* parent);
    // A text shown in the middle of the list (lblVuoto) while it has no photo; empty: none.
    void setEmptyText(const QString& text);

protected:
    // The keys step over the headings to the photos beyond them.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void placeEmptyText();
    QLabel* empty_;
};

} // namespace documentation
