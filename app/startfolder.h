#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// Makes `folder` the process's working folder, where the working form's lists start. A folder
// that does not exist or cannot be read leaves the working folder as it was; the returned text
// (empty on success) tells the user which folder failed and why.
QString enterStartFolder(const QByteArray &folder);

} // namespace tolvane
