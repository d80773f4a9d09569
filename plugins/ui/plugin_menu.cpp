#include "plugins/ui/plugin_menu.h"
#include "documents/ui/frmDocument.h"
#include <QAction>
#include <QMenu>

namespace orv {

namespace {

QMenu* PlugInsMenu(const frmDocument* doc)
{
    for (QMenu* m : doc->menus())
        if (m->objectName() == QLatin1String("mnuPlugins")) return m;
    return nullptr;
}

} // namespace

QList<QAction*> PlugInItems(const frmDocument* doc)
{
    QList<QAction*> items;
    if (QMenu* menu = PlugInsMenu(doc))
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String("mnuPlugIn")) items.append(a);
    return items;
}

void BuildPlugInsMenu(frmDocument* doc, const PlugInTable& table)
{
    QMenu* menu = PlugInsMenu(doc);
    const QList<QAction*> items = PlugInItems(doc);
    if (!menu || items.isEmpty()) return;
    QObject::connect(items[0], &QAction::triggered, doc, [doc] { doc->mnuPlugIn_Click(0); });
    if (table.records.isEmpty() || PlugInFiles(PlugInFolders()).isEmpty()) return;
    for (qsizetype i = 0; i < table.records.size(); ++i) {
        const PlugInRecord& record = table.records[i];
        QAction* item = i == 0 ? items[0] : menu->addAction(QString());
        item->setObjectName(QStringLiteral("mnuPlugIn"));
        item->setText(record.Name);
        item->setData(record.ClassName);
        item->setEnabled(true);
        if (i > 0) {
            const int index = int(i);
            QObject::connect(item, &QAction::triggered, doc, [doc, index] { doc->mnuPlugIn_Click(index); });
        }
    }
}

} // namespace orv
