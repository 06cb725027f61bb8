#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// Renames files inside one folder and never replaces an existing file, also when another
// process creates the target at the same moment. Names are raw bytes, relative to the folder.
class FileMover
{
public:
    struct Result
    {
        bool ok = false;
        int error = 0;     // errno of the failing call, 0 on success
        QString errorText; // strerror text of that call, empty on success
    };

    // Opens the folder (raw path bytes); a folder that cannot be opened makes every move fail
    // with the error of the open.
    explicit FileMover(const QByteArray &folderPath);
    ~FileMover();
    FileMover(const FileMover &) = delete;
    FileMover &operator=(const FileMover &) = delete;

    // Renames from → to. A name may contain "/" and then names a file in a subfolder.
    Result move(const QByteArray &from, const QByteArray &to);

private:
    int m_folder = -1;
    int m_openError = 0;
};

} // namespace tolvane
