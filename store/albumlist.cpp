// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumlist.h"

#include <QCoreApplication>

#include "samefile.h"

namespace vimbrel {

int AlbumList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int AlbumList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant AlbumList::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QCoreApplication::translate("vimbra", "Album")
                        : QCoreApplication::translate("vimbra", "File");
}

QVariant AlbumList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    const bool isOther = index.row() == count() - 1 && m_names.at(index.row()) == other;
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        // The row stays "Other ..." in the list file; only its caption is translated.
        if (index.column() == 0)
            return isOther ? QCoreApplication::translate("vimbra", "Other ...")
                           : m_names.at(index.row());
        return isOther ? QString() : m_files.at(index.row());
    }
    if (role == FileRole)
        return m_files.at(index.row());
    return {};
}

QList<int> AlbumList::rowsOf(const QString& file) const {
    QList<int> rows;
    for (int i = 0; i < count(); ++i) {
        const bool isOther = i == count() - 1 && m_names.at(i) == other;
        if (!isOther && sameFile(m_files.at(i).trimmed(), file))
            rows.append(i);
    }
    return rows;
}

int AlbumList::rowOf(const QString& file) const {
    const QList<int> rows = rowsOf(file);
    return rows.isEmpty() ? -1 : rows.first();
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
