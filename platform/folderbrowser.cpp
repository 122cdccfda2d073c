// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderbrowser.h"

#include <QCoreApplication>

#include "filenames.h"
#include "folderlist.h"
#include "ui.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <sys/stat.h>

namespace vimbrel {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;

// Absolute, without "." / ".." and without a trailing "/" (except for "/" itself).
QString normalFolder(const QString& folder) {
    if (folder.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool holds(const QString& root, const QString& path) {
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

// Case-insensitive order with a case-sensitive tie-break, so "a" and "A" keep a fixed order.
void sortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

// Visible entries of a listing of the kind `wanted` (S_IFDIR, S_IFREG), links followed, named
// by their bytes: names starting with "." are left out, as Linux desktops hide them; a pipe,
// device or folder named like a picture can never be opened as one; and a name that is not
// UTF-8 still opens what it lists.
QStringList visibleEntries(const FolderList& listed, mode_t wanted) {
    QStringList names;
    for (const FolderEntry& e : listed.entries)
        if (!e.name.startsWith(QLatin1Char('.')) && e.statted && (e.st.st_mode & S_IFMT) == wanted)
            names.append(e.name);
    sortNames(names);
    return names;
}

// "*.jpg;*.GIF" as anchored, case-insensitive expressions: camera cards often write
// upper-case names.
QList<QRegularExpression> globsOf(const QString& pattern) {
    QList<QRegularExpression> out;
    const QStringList parts = pattern.split(QLatin1Char(';'));
    for (const QString& part : parts) {
        const QString glob = part.trimmed();
        if (!glob.isEmpty())
            out.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(glob),
                                          QRegularExpression::CaseInsensitiveOption));
    }
    return out;
}

// Mount points under these trees belong to the system, not to the user's pictures.
bool isSystemMount(const QString& root) {
    static const char* const trees[] = {"/bin",   "/boot",   "/dev",  "/etc", "/lib",  "/lib32",
                                        "/lib64", "/libx32", "/proc", "/run", "/sbin", "/snap",
                                        "/sys",   "/tmp",    "/usr",  "/var"};
    if (holds(QStringLiteral("/run/media"), root))
        return false;
    return std::any_of(std::begin(trees), std::end(trees),
                       [&](const char* t) { return holds(QLatin1String(t), root); });
}

bool hasHiddenPart(const QString& root) {
    const auto parts = root.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return std::any_of(parts.begin(), parts.end(),
                       [](const QString& p) { return p.startsWith(QLatin1Char('.')); });
}

// A disk partition, or a network share ("host:/export" for NFS, "//host/share" for SMB).
bool hasRealStorage(const MountedVolume& v) {
    return v.device.startsWith(QLatin1String("/dev/")) ||
           v.device.startsWith(QLatin1String("//")) ||
           (v.device.contains(QLatin1String(":/")) && !v.device.startsWith(QLatin1Char('/')));
}

// Indents each folder row by its depth, so the list reads like a tree opened down to the
// current folder.
class FolderRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(shifted.rect.left() + indent(option, index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.rwidth() += indent(option, index);
        return s;
    }

private:
    static int indent(const QStyleOptionViewItem& option, const QModelIndex& index) {
        const int step = option.fontMetrics.horizontalAdvance(QLatin1Char('M'));
        return index.data(DepthRole).toInt() * step;
    }
};

} // namespace

QList<Place> defaultPlaces(const QList<MountedVolume>& volumes) {
    QList<Place> places;
    const QString home = normalFolder(QDir::homePath());
    if (home != QLatin1String("/"))
        places.append({QCoreApplication::translate("folderbrowser", "Home"), home});
    places.append({QCoreApplication::translate("folderbrowser", "/ (root)"), QStringLiteral("/")});

    for (const MountedVolume& v : volumes) {
        const QString root = QDir::cleanPath(v.root);
        if (!root.startsWith(QLatin1Char('/')) || isSystemMount(root) || hasHiddenPart(root))
            continue;
        // Removable media may come through FUSE (cameras, phones) with no /dev device.
        if (!v.removable && !hasRealStorage(v))
            continue;
        const bool seen = std::any_of(places.begin(), places.end(),
                                      [&](const Place& p) { return p.root == root; });
        if (seen)
            continue;
        const QString name = root.section(QLatin1Char('/'), -1);
        places.append({name + QStringLiteral(" (") + root + QLatin1Char(')'), root, v.removable});
    }
    return places;
}

// ---- DriveBox ----

DriveBox::DriveBox(QWidget* parent) : QComboBox(parent) {
    // Long volume labels must not widen the dialog.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    // activated() comes from the mouse, the keyboard and the wheel, never from code.
    connect(this, &QComboBox::activated, this,
            [this](int row) { emit driveChanged(itemData(row, PathRole).toString()); });
}

void DriveBox::setPlaces(const QList<Place>& places) {
    const QSignalBlocker quiet(this);
    clear();
    for (const Place& p : places) {
        QIcon icon;
        if (p.root == normalFolder(QDir::homePath()))
            icon = style()->standardIcon(QStyle::SP_DirHomeIcon);
        else if (p.removable)
            icon = QIcon::fromTheme(QStringLiteral("drive-removable-media"),
                                    style()->standardIcon(QStyle::SP_DriveFDIcon));
        else
            icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
        addItem(icon, p.label, p.root);
        setItemData(count() - 1, p.root, Qt::ToolTipRole);
    }
}

QString DriveBox::drive() const {
    return currentIndex() < 0 ? QString() : currentData(PathRole).toString();
}

void DriveBox::setDriveFor(const QString& path) {
    const QString target = normalFolder(path);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i, PathRole).toString();
        if (holds(root, target) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0) {
        const QSignalBlocker quiet(this);
        setCurrentIndex(best);
    }
}

// ---- DirBox ----

DirBox::DirBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new FolderRowDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(true);
    // Not itemActivated: on single-click desktops that would open a folder on every click.
    connect(this, &QListWidget::itemDoubleClicked, this, &DirBox::openRow);
}

bool DirBox::setPath(const QString& folder, QString* error) {
    const QString target = normalFolder(folder);
    const FolderList listed = listFolder(target, EntryStatus::OfTarget);
    if (!listed.ok()) {
        const QString why = listed.error;
        if (error != nullptr)
            *error = why;
        emit openFailed(folder, why);
        return false;
    }

    const QStyle* st = style();
    const QIcon open = st->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = st->standardIcon(QStyle::SP_DirClosedIcon);
    const QStringList parts = target.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QStringList subfolders = visibleEntries(listed, S_IFDIR);

    clear();
    addRow(QStringLiteral("/"), QStringLiteral("/"), 0, open);
    QString at;
    for (int i = 0; i < parts.size(); ++i) {
        at += QLatin1Char('/') + parts[i];
        addRow(parts[i], at, i + 1, open);
    }
    QListWidgetItem* current = item(count() - 1);
    const QString prefix = target == QLatin1String("/") ? target : target + QLatin1Char('/');
    for (const QString& name : subfolders)
        addRow(name, prefix + name, static_cast<int>(parts.size()) + 1, closed);

    setCurrentItem(current);
    scrollToItem(current);

    const bool moved = target != m_path;
    m_path = target;
    if (moved)
        emit pathChanged(m_path);
    return true;
}

void DirBox::setDisabledFolder(std::function<bool(const QString&)> isDisabled) {
    m_isDisabled = std::move(isDisabled);
    for (int i = 0; i < count(); ++i)
        applyDisabled(item(i));
}

void DirBox::addRow(const QString& text, const QString& path, int depth, const QIcon& icon) {
    auto* row = new QListWidgetItem(icon, text, this);
    row->setData(PathRole, path);
    row->setData(DepthRole, depth);
    row->setToolTip(path);
    applyDisabled(row);
}

void DirBox::applyDisabled(QListWidgetItem* row) const {
    const bool off = m_isDisabled && m_isDisabled(row->data(PathRole).toString());
    const Qt::ItemFlags on = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    row->setFlags(off ? row->flags() & ~on : row->flags() | on);
}

void DirBox::openRow(QListWidgetItem* row) {
    if (row == nullptr || !(row->flags() & Qt::ItemIsEnabled))
        return;
    setPath(row->data(PathRole).toString());
}

void DirBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentItem() != nullptr) {
        // Accepted, so the dialog's default button does not fire as well.
        event->accept();
        openRow(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

// ---- FileBox ----

FileBox::FileBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* row) { emit fileDoubleClicked(row->text()); });
}

void FileBox::setPath(const QString& folder) {
    m_path = normalFolder(folder);
    refresh();
}

void FileBox::setPattern(const QString& pattern) {
    m_pattern = pattern;
    refresh();
}

void FileBox::setMultiSelect(bool multi) {
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                           : QAbstractItemView::SingleSelection);
}

void FileBox::refresh() {
    clear();
    if (m_path.isEmpty())
        return;
    const QList<QRegularExpression> globs = globsOf(m_pattern);
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    const QStringList names = visibleEntries(listFolder(m_path, EntryStatus::OfTarget), S_IFREG);
    for (const QString& name : names) {
        const QString matched = nameForMatching(name);
        const bool wanted = std::any_of(globs.begin(), globs.end(), [&](const auto& re) {
            return re.match(matched).hasMatch();
        });
        if (wanted)
            new QListWidgetItem(icon, name, this);
    }
}

QStringList FileBox::selectedNames() const {
    QStringList names;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected())
            names.append(item(i)->text());
    }
    return names;
}

QString FileBox::currentName() const {
    return currentItem() == nullptr ? QString() : currentItem()->text();
}

void FileBox::mousePressEvent(QMouseEvent* event) {
    m_pressOnRow = itemAt(event->position().toPoint()) != nullptr;
    QListWidget::mousePressEvent(event);
}

void FileBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    // Every click counts, also one that only takes a row out of a multiple selection: the
    // import window recounts the selection on each click.
    const bool clicked = m_pressOnRow && currentItem() != nullptr;
    m_pressOnRow = false;
    if (clicked)
        emit fileClicked(currentName());
}

void FileBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentItem() != nullptr) {
        event->accept();
        emit fileDoubleClicked(currentName());
        return;
    }
    const QListWidgetItem* before = currentItem();
    const QStringList selectedBefore = selectedNames();
    QListWidget::keyPressEvent(event);
    if (currentItem() != nullptr && (currentItem() != before || selectedNames() != selectedBefore))
        emit fileClicked(currentName());
}

// ---- wiring ----

void connectBrowser(DriveBox* drive, DirBox* dir, FileBox* files, Ui& ui) {
    QObject::connect(drive, &DriveBox::driveChanged, dir, [drive, dir, &ui](const QString& root) {
        QString error;
        if (dir->setPath(root, &error))
            return;
        ui.message(QCoreApplication::translate("folderbrowser", "Drive - ERROR"), error,
                   MsgIcon::Critical);
        drive->setDriveFor(dir->path());
    });
    // The place follows the folder, so it always names where the user is.
    QObject::connect(dir, &DirBox::pathChanged, drive, &DriveBox::setDriveFor);
    if (files != nullptr)
        QObject::connect(dir, &DirBox::pathChanged, files, &FileBox::setPath);

    if (!dir->path().isEmpty()) {
        drive->setDriveFor(dir->path());
        if (files != nullptr)
            files->setPath(dir->path());
    }
}

} // namespace vimbrel
