#include "app/launchrequest.h"

namespace tolvane {

LaunchRequest readLaunchRequest(int argc, const char *const *argv)
{
    LaunchRequest request;
    bool optionsEnded = false;
    int folders = 0;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith('-') && argument.size() > 1) {
            request.mode = LaunchRequest::CommandLine;
        } else {
            request.folder = argument;
            ++folders;
        }
    }
    if (folders > 1)
        request.mode = LaunchRequest::CommandLine;
    if (request.mode == LaunchRequest::CommandLine)
        request.folder.clear();
    return request;
}

} // namespace tolvane
