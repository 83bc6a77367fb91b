#pragma once
#include "search/ListLines.h"

#include <QAbstractListModel>
#include <QFont>

// The lines of a list screen, each with its record position, shown in a fixed-pitch font
// and 1600 units wide so that the whole line can be scrolled into view.
class LineModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LineModel(QObject* parent = nullptr);

    void setLines(ListLines lines);
    void clear();
    const ListLines& lines() const { return lines_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    ListLines lines_;
    QFont font_;
};
