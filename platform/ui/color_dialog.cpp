#include "platform/ui/color_dialog.h"
#include <QColorDialog>

namespace orv {

ColorRef ChooseColorDialog(QWidget* owner, ColorRef initial)
{
    for (int i = 0; i < QColorDialog::customCount(); ++i) QColorDialog::setCustomColor(i, Qt::white);
    QColorDialog dialog(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), owner);
    dialog.setObjectName(QStringLiteral("ColorDialog"));
    // Qt's own chooser everywhere: it always shows the custom colours and the full editor.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return 0;
    const QColor c = dialog.selectedColor();
    return RGB(c.red(), c.green(), c.blue());
}

} // namespace orv
