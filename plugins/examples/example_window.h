// The window both example plug-ins show: a preview of the picture as the chosen setting
// would change it, the plug-in's own control and OK / Cancel. Only the plug-in kit's header
// and Qt Widgets are used; the editor's code is not.
#pragma once
#include <QImage>
#include <QString>
#include <functional>

class QWidget;

namespace orvane_example {

// Reads the hand-over picture, shows the window and, on OK, writes the picture as changed by
// `apply` back to the file. Returns ORVANE_PLUGIN_TRUE when the file holds a result.
// `makeControl` builds the plug-in's control; it calls `changed` whenever its setting moves.
// `apply` changes a picture (Format_RGB32) by the control's current setting.
int RunExampleWindow(const char* path, const QString& title,
                     const std::function<QWidget*(QWidget* parent, std::function<void()> changed)>& makeControl,
                     const std::function<void(QImage& picture)>& apply);

} // namespace orvane_example
