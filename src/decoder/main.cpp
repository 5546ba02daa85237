// casewright-decoder: the helper process in which the program runs its
// decoder modules and image readers, behind limits it sets on itself. The
// program starts it with the socket it talks on; it is no tool to run by hand.
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "base/UiText.h"
#include "pictures/DecoderService.h"

int main(int argc, char **argv)
{
    int socket = -1;
    int limitMb = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--socket") == 0)
            socket = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--limit-mb") == 0)
            limitMb = std::atoi(argv[i + 1]);
    }
    if (socket < 0 || limitMb <= 0) {
        std::fputs("casewright-decoder: started by the program only\n", stderr);
        return 2;
    }
    QCoreApplication app(argc, argv);
    // The filter text it makes is shown in the program's language, which the
    // helper reads from the environment it inherits, as the program does.
    cw::installUiTranslation(app, cw::uiLanguageFromEnvironment());
    const int status = cw::runDecoderService(socket, limitMb);
    // Nothing to tear down: the pictures went to the program, and the
    // modules are the reason this is a process of its own.
    std::fflush(stderr);
    _exit(status);
}
