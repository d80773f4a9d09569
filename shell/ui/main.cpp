// Start routine: the splash choice, the splash window while the frame loads, then the frame.
#include "shell/frame_placement.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmSplash.h"
#include "shell/ui/geometry_report.h"
#include "shell/settings_store.h"
#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace {

// A command that runs out of memory (a huge canvas resize, an undo of a huge picture) is
// refused with a message instead of ending the program; the pictures stay as they were.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc&) {
            QMessageBox::warning(activeWindow(), orv::kAppTitle,
                                 QStringLiteral("There is not enough memory to do this."));
            return false;
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvane.Orvane"));
    // The whole text after the program name is one path.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));

    std::unique_ptr<orv::frmSplash> splash;
    if (orv::ReadSplashChoice() != 0) {
        splash = std::make_unique<orv::frmSplash>();
        splash->show();
        splash->repaint();
        QApplication::processEvents();
    }
    orv::frmMain frame;
    frame.MDIForm_Load(commandLine);
    orv::StartGeometryReport(&frame);
    splash.reset();
    return app.exec();
}
