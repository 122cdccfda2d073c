// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The remembered albums (cfgnames / cfgfiles): most recently used first, at most ten,
// always followed by the fixed row "Other ...". The album chooser shows this model: column 0
// is the name, column 1 the album file, so a row is one album in both. A row stands for the
// album its file is: two albums of one name in two folders are two rows.

#include <QAbstractTableModel>
#include <QStringList>

namespace vimbrel {

class AlbumList : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int maxRows = 11; // ten albums and "Other ..."
    static inline const QString other = QStringLiteral("Other ...");
    enum Role { FileRole = Qt::UserRole + 1 };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int count() const { return static_cast<int>(m_names.size()); }
    QString name(int row) const { return m_names.value(row); }
    QString file(int row) const { return m_files.value(row); }

    // The rows whose album file is the same file as `file` (never the "Other ..." row), in
    // order; rowOf gives the first or -1.
    QList<int> rowsOf(const QString& file) const;
    int rowOf(const QString& file) const;

    void append(const QString& name, const QString& file);
    void insertFirst(const QString& name, const QString& file);
    void removeAt(int row);
    void clear();

    // Selects a row; the chooser mirrors it and refreshes its buttons.
    void select(int row);
    int selectedRow() const { return m_selected; }

signals:
    void rowSelected(int row);

private:
    QStringList m_names; // cfgnames
    QStringList m_files; // cfgfiles
    int m_selected = -1;
};

} // namespace vimbrel
