#include "workspace/file_list.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace tradumar {

FileList::FileList(const QString& pattern, QWidget* parent) : QListWidget(parent), m_pattern(pattern) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A mouse press moves the current row before it selects the entry, so
    // the choice is made known once the selection has followed.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] { emit chosen(); });
    // A click on the entry that is already selected changes nothing, yet it
    // still counts as choosing it.
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (row(item) == m_rowAtPress)
            emit chosen();
    });
}

void FileList::mousePressEvent(QMouseEvent* event) {
    m_rowAtPress = currentRow();
    QListWidget::mousePressEvent(event);
}

bool FileList::setFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable())
        return false;
    // The pattern matches without regard to case, so SCRIPT[10].TXT is a
    // script too: script folders are often copied from case-blind disks.
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(m_pattern),
                                     QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot))
        if (pattern.match(name).hasMatch())
            names << name;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });

    const QSignalBlocker blocker(this);
    clear();
    addItems(names);
    setCurrentRow(-1);
    m_folder = folder;
    return true;
}

QStringList FileList::fileNames() const {
    QStringList names;
    for (int i = 0; i < count(); ++i)
        names << item(i)->text();
    return names;
}

int FileList::selectedIndex() const {
    const QListWidgetItem* current = currentItem();
    return current && current->isSelected() ? row(current) : -1;
}

QString FileList::selectedFileName() const {
    const int index = selectedIndex();
    return index < 0 ? QString() : item(index)->text();
}

bool FileList::selectIndex(int index) {
    if (index < -1 || index >= count())
        return false;
    if (index == -1) {
        setCurrentRow(-1);
        return true;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    return true;
}

} // namespace tradumar
