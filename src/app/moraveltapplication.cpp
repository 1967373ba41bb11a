#include "app/moraveltapplication.h"

#include "app/moravelterror.h"
#include "app/prompt.h"

#include <QIcon>

namespace moravelt {

MoraveltApplication::MoraveltApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Moravelt"));
    // Installed, the windows wear the menu entry's icon and docks group them under it.
    setDesktopFileName(QStringLiteral("io.github.moravelt.Moravelt"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.moravelt.Moravelt")));
}

bool MoraveltApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const MoraveltError& error) {
        report(error.message());
    } catch (const std::exception& error) {
        report(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void MoraveltApplication::report(const QString& message)
{
    // One box at a time: events that arrive while it is open must not stack further boxes.
    if (m_reporting || !m_prompt)
        return;
    m_reporting = true;
    m_prompt->reportError(QStringLiteral("処理中にエラーが発生しました。\n%1").arg(message));
    m_reporting = false;
}

} // namespace moravelt
