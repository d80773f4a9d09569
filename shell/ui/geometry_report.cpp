#include "shell/ui/geometry_report.h"
#include "documents/ui/frmDocument.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/main_toolbar.h"
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QToolButton>
#include <QTimer>

namespace orv {

namespace {

QString Rect(const QRect& r)
{
    return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QRect OnScreen(const QWidget* w)
{
    return {w->mapToGlobal(QPoint(0, 0)), w->size()};
}

void WriteReport(frmMain* frame, const QString& path)
{
    QString text = QStringLiteral("workspace ") + Rect(OnScreen(frame->mdiArea()->viewport())) + QLatin1Char('\n');
    if (const QWidget* slide = frame->toolbarHolder()->Command1; slide->isVisible())
        text += QStringLiteral("slide ") + Rect(OnScreen(slide)) + QLatin1Char('\n');
    for (frmDocument* doc : frame->documents()) {
        const QMdiSubWindow* sw = doc->subWindow();
        if (!sw || !sw->isVisible()) continue;
        text += QStringLiteral("document ") + Rect(OnScreen(sw)) + QLatin1Char(' ') + Rect(OnScreen(doc))
                + QLatin1Char(' ') + doc->windowTitle() + QLatin1Char('\n');
    }
    const auto entries = [&text](const QWidget* menu, auto geometryOf) {
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || !a->isVisible()) continue;
            const QRect r = geometryOf(a);
            text += QStringLiteral("menu ") + Rect({menu->mapToGlobal(r.topLeft()), r.size()}) + QLatin1Char(' ')
                    + QString(a->text()).remove(QLatin1Char('&')) + QLatin1Char('\n');
        }
    };
    entries(frame->menuBar(), [frame](QAction* a) { return frame->menuBar()->actionGeometry(a); });
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible())
            entries(menu, [menu](QAction* a) { return menu->actionGeometry(a); });
    if (const QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* box = qobject_cast<const QMessageBox*>(modal)) {
            text += QStringLiteral("question ") + box->text() + QLatin1Char('\n');
            for (const QAbstractButton* b : box->buttons())
                text += QStringLiteral("button ") + Rect(OnScreen(b)) + QLatin1Char(' ') + QString(b->text()).remove(QLatin1Char('&'))
                        + QLatin1Char('\n');
        } else {
            text += QStringLiteral("dialog ") + modal->windowTitle() + QLatin1Char('\n');
            for (const QLabel* label : modal->findChildren<QLabel*>())
                if (label->isVisible()) text += QStringLiteral("label ") + label->text().simplified() + QLatin1Char('\n');
        }
    }
    if (const QMdiSubWindow* sw = frame->mdiArea()->activeSubWindow(); sw && sw->widget())
        text += QStringLiteral("active ") + sw->widget()->windowTitle() + QLatin1Char('\n');

    QSaveFile file(path);   // the reader never sees half a report
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(text.toUtf8());
    file.commit();
}

} // namespace

void StartGeometryReport(frmMain* frame)
{
    const QString path = qEnvironmentVariable("ORVANE_GEOMETRY_REPORT");
    if (path.isEmpty()) return;
    auto* timer = new QTimer(frame);
    QObject::connect(timer, &QTimer::timeout, frame, [frame, path] { WriteReport(frame, path); });
    timer->start(200);
}

} // namespace orv
