#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// Makes `folder` the process's working folder, where the working form's lists start. A folder
// that does not exist or cannot be read leaves the working folder as it was; the returned text
// (empty on success) tells the user which folder failed and why.
QString enterStartFolder(const QByteArray &folder);

// Why a folder cannot be opened, for its errno. The system's own texts are English under the C
// locale the program often runs in.
QString folderErrorReason(int error);

} // namespace tolvane
