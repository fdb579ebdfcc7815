// The real Vantorel window for contributors on Linux: the same application, with its disk
// commands sent to the stand-in tools that scripts/sandbox puts on PATH and its volumes mounted
// in a throwaway folder. Started by scripts/sandbox, which prepares the throwaway home folder.

#include "installerviewmodel.h"
#include "vantorelapp.h"

#include <QQuickWindow>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc != 3 || std::strcmp(argv[1], "--volumes") != 0) {
        std::fputs("usage: vantorel-sandbox --volumes FOLDER (run scripts/sandbox instead)\n",
                   stderr);
        return 2;
    }
    const QString volumesRoot = QString::fromLocal8Bit(argv[2]);
    int appArgc = 1;
    return vantorel::VantorelApp::main(
        appArgc, argv, [&volumesRoot](QQuickWindow &window, vantorel::InstallerViewModel &model) {
            auto environment = model.environment();
            environment.volumesRoot = volumesRoot;
            model.setEnvironment(environment);
            // Nobody should mistake this window for one that works on real disks.
            window.setTitle(window.title() +
                            QStringLiteral(" \u2014 development sandbox (stand-in macOS tools)"));
        });
}
