// Start routine: the splash choice, the splash window while the frame loads, then the frame.
#include "shell/frame_placement.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmSplash.h"
#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    // The whole text after the program name is one path.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));

    std::unique_ptr<orv::frmSplash> splash;
    if (orv::ReadSplashChoice() != 0) {
        splash = std::make_unique<orv::frmSplash>(orv::frmSplash::Role::Splash);
        splash->show();
        splash->repaint();
        QApplication::processEvents();
    }
    orv::frmMain frame;
    frame.MDIForm_Load(commandLine);
    splash.reset();
    return app.exec();
}
