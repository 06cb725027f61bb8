#pragma once

#include <QByteArray>
#include <QListWidget>

namespace tolvane {

// The folder list (lstMap): the open folders of one drive down to the current path, then the
// path's subfolders. Double-click or Enter opens a row, Backspace the parent. Raises Change
// when the path changes.
class FolderListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit FolderListBox(QWidget *parent = nullptr);

    QByteArray path() const { return m_path; }
    // Shows the drive mounted at root, at folder (its root when folder is empty or cannot be
    // opened; unreadable says why).
    bool setDrive(const QByteArray &root, const QByteArray &folder);
    // Moves to a folder; one that cannot be opened leaves the list where it was, raises
    // unreadable and returns false.
    bool setPath(const QByteArray &path);
    // Re-reads the subfolders of the current path.
    void refresh();
    // The folder a row stands for.
    static QByteArray pathOf(const QListWidgetItem &item);

Q_SIGNALS:
    void Change();
    void unreadable(const QByteArray &path, int error);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showRows(const QList<QByteArray> &subfolders);

    QByteArray m_root = "/";
    QByteArray m_path;
};

} // namespace tolvane
