// SPDX-License-Identifier: MIT

#include "windows/startup.h"

#include "base/moravelterror.h"
#include "settings/datafolder.h"
#include "settings/settingsfile.h"
#include "windows/exitrequests.h"
#include "windows/fonts.h"
#include "windows/form1.h"
#include "windows/messageboxprompt.h"
#include "windows/windowrefs.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>

namespace moravelt {

namespace {

bool displayAvailable()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int runGame(int argc, char** argv)
{
    if (!displayAvailable()) {
        std::fputs("モラベルト: no display found (DISPLAY is not set). Start it on a desktop, "
                   "or under xvfb-run.\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Moravelt"));
    // Installed, the windows wear the menu entry's icon and docks group them under it.
    QApplication::setDesktopFileName(QStringLiteral("io.github.moravelt.Moravelt"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.moravelt.Moravelt")));
    installFontSubstitutions();
    MessageBoxPrompt prompt;

    // Only the load sequence is run inside this handler; once the event loop runs, each event
    // handler reports its own failures.
    Form1* main = nullptr;
    try {
        const QString dataFolder =
            DataFolder::find(QCoreApplication::applicationDirPath()).require();
        main = new Form1({dataFolder, SettingsFile::fileName(), &prompt});
        main->load();
    } catch (const MoraveltError& error) {
        std::fprintf(stderr, "モラベルト: %s\n", error.message().toLocal8Bit().constData());
        prompt.reportError(QStringLiteral("起動できません。\n%1").arg(error.message()));
        destroyWindows();
        return 1;
    }
    int code = 0;
    {
        // From here on a signal or a logout saves the settings as a close does; before, the
        // settings file is untouched and a signal ends the game as usual.
        const ExitRequests exitRequests(*main);
        main->show();
        code = QApplication::exec();
    }
    destroyWindows();
    return code;
}

} // namespace moravelt
