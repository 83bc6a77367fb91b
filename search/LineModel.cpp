#include "search/LineModel.h"

#include <QBrush>
#include <QFontMetrics>
#include <QSize>

LineModel::LineModel(QObject* parent) : QAbstractListModel(parent), font_(QStringLiteral("Courier New"), 12)
{
    font_.setStyleHint(QFont::Monospace);
}

void LineModel::setLines(ListLines lines)
{
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

void LineModel::clear()
{
    setLines({});
}

int LineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(lines_.size());
}

QVariant LineModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(lines_.size()))
        return {};
    switch (role) {
    case Qt::DisplayRole: return lines_[size_t(index.row())].text;
    case Qt::FontRole: return font_;
    case Qt::ForegroundRole: return QBrush(Qt::black);
    case Qt::SizeHintRole: return QSize(1600, QFontMetrics(font_).height() + 2);
    default: return {};
    }
}
