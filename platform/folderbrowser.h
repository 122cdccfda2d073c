// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The place, folder and file lists that the album file dialog and the import window put in
// their own layouts: a place chooser standing in for a drive list (home folder, file-system
// root, every mounted volume), a folder list and a file list with a pattern and single or
// multiple selection. connectBrowser() wires the three the way those windows need.

#include "volumes.h"

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>

#include <functional>

namespace vimbrel {

class Ui;

struct Place {
    QString label;          // shown, e.g. "Home", "/ (root)", "CARD (/media/u/CARD)"
    QString root;           // folder the place opens on, no trailing "/" except for "/" itself
    bool removable = false; // card or stick: only changes the icon
};

// Home, "/", and every mounted volume worth showing (no /proc, /sys, /run, snap mounts, ...).
// A volume is shown when its mount point is outside the system trees (/boot, /dev, /etc,
// /proc, /run except /run/media, /snap, /sys, /tmp, /usr, /var, ...) and has no hidden part,
// and it is removable or backed by a disk partition (/dev/...) or a network share. Each
// mount point is listed once, in mount-table order.
QList<Place> defaultPlaces(const QList<MountedVolume>& volumes);

// The drive list: one row per place.
class DriveBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveBox(QWidget* parent = nullptr);
    void setPlaces(const QList<Place>& places);
    // The root of the current place.
    QString drive() const;
    // Selects the place that holds `path` (the longest root that is a prefix of it), silently.
    void setDriveFor(const QString& path);

signals:
    // The user picked another place.
    void driveChanged(const QString& root);
};

// The folder list: the current folder's ancestors from the root down, the folder itself,
// then its subfolders (sorted, case-insensitively, hidden folders left out). Double-click
// or Enter on a row opens it.
class DirBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirBox(QWidget* parent = nullptr);
    QString path() const { return m_path; }
    // Opens `folder`. False, with the system's error text, when it cannot be listed; the
    // list then stays where it was and openFailed is emitted. pathChanged follows a move to
    // another folder, whether the user or the code asked for it.
    bool setPath(const QString& folder, QString* error = nullptr);
    // Folders that are shown but cannot be opened or chosen (the album's own picture folder,
    // however it is reached). Only the user is held back: setPath() still opens them.
    void setDisabledFolder(std::function<bool(const QString& folder)> isDisabled);

signals:
    void pathChanged(const QString& folder);
    // Opening a folder failed (for instance, permission denied).
    void openFailed(const QString& folder, const QString& error);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addRow(const QString& text, const QString& path, int depth, const QIcon& icon);
    void applyDisabled(QListWidgetItem* row) const;
    void openRow(QListWidgetItem* row);

    QString m_path;
    std::function<bool(const QString&)> m_isDisabled;
};

// The file list of one folder: regular files (or links to them) whose names match the pattern
// (several patterns joined with ";", matched case-insensitively), sorted by name. Names that
// are not UTF-8 keep their bytes (filenames.h).
class FileBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileBox(QWidget* parent = nullptr);
    void setPath(const QString& folder);
    QString path() const { return m_path; }
    void setPattern(const QString& pattern);
    void setMultiSelect(bool multi);
    void refresh();
    // The names (not paths) of the selected files, in list order.
    QStringList selectedNames() const;
    // The name of the current row, or "".
    QString currentName() const;

signals:
    // A mouse click on a row, or a key that moved the current row or changed the selection.
    void fileClicked(const QString& name);
    // A double-click, or Enter on the current row.
    void fileDoubleClicked(const QString& name);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*");
    bool m_pressOnRow = false;
};

// Wires a drive box to a folder box to a file box (which may be null): a new place opens
// its root in the folder box, and when that fails the user sees "Drive - ERROR" with the
// system's error text and the place goes back to the one holding the folder box's path; a
// new folder is listed in the file box. The place also follows the folder box silently, so
// it names the volume being browsed.
void connectBrowser(DriveBox* drive, DirBox* dir, FileBox* files, Ui& ui);

} // namespace vimbrel
