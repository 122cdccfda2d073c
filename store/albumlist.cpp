#include "albumlist.h"

namespace vimbrel {

int AlbumList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant AlbumList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return m_names.at(index.row());
    if (role == FileRole)
        return m_files.at(index.row());
    return {};
}

void AlbumList::append(const QString& name, const QString& file) {
    beginInsertRows({}, count(), count());
    m_names.append(name);
    m_files.append(file);
    endInsertRows();
}

void AlbumList::insertFirst(const QString& name, const QString& file) {
    beginInsertRows({}, 0, 0);
    m_names.prepend(name);
    m_files.prepend(file);
    endInsertRows();
}

void AlbumList::removeAt(int row) {
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    m_names.removeAt(row);
    m_files.removeAt(row);
    endRemoveRows();
    if (m_selected >= count())
        m_selected = count() - 1;
}

void AlbumList::clear() {
    beginResetModel();
    m_names.clear();
    m_files.clear();
    m_selected = -1;
    endResetModel();
}

void AlbumList::select(int row) {
    m_selected = row >= 0 && row < count() ? row : -1;
    emit rowSelected(m_selected);
}

} // namespace vimbrel
