#include "app/startup.h"

#include "app/datafolder.h"
#include "app/fonts.h"
#include "app/form1.h"
#include "app/messageboxprompt.h"
#include "app/moraveltapplication.h"
#include "app/moravelterror.h"
#include "app/settingsfile.h"
#include "app/windowrefs.h"

#include <QDir>
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
    MoraveltApplication app(argc, argv);
    installFontSubstitutions();
    MessageBoxPrompt prompt;
    app.setPrompt(&prompt);

    int code = 0;
    try {
        const QString dataFolder =
            DataFolder::find(QCoreApplication::applicationDirPath()).require();
        auto* main = new Form1({dataFolder, SettingsFile::fileName(), &prompt});
        main->load();
        main->show();
        code = app.exec();
    } catch (const MoraveltError& error) {
        std::fprintf(stderr, "モラベルト: %s\n", error.message().toLocal8Bit().constData());
        prompt.reportError(QStringLiteral("起動できません。\n%1").arg(error.message()));
        code = 1;
    }
    destroyWindows();
    return code;
}

} // namespace moravelt
