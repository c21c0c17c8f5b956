#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>

namespace tradumar {

// A list of the files of one folder whose names match a pattern ("*.txt"),
// sorted by name without regard to case. Pointing it at a folder reads the
// folder once; the list does not follow later changes until it is pointed
// again.
//
// `chosen` is emitted whenever the selection is set, by the program or by the
// user, and when the user clicks the entry that is already selected.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(const QString& pattern = QStringLiteral("*.txt"), QWidget* parent = nullptr);

    // False (and the list unchanged) when the folder cannot be listed.
    // Otherwise the entries are replaced and nothing is selected.
    bool setFolder(const QString& folder);
    QString folder() const { return m_folder; }

    QStringList fileNames() const;

    // The selected position, -1 when nothing is selected.
    int selectedIndex() const;
    QString selectedFileName() const;

    // -1 selects nothing; false for a position outside -1 .. count()-1.
    bool selectIndex(int index);

signals:
    void chosen();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_pattern;
    QString m_folder;
    int m_rowAtPress = -1;
};

} // namespace tradumar
