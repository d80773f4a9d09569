// orvane-plugin-host: runs one plug-in call in a process of its own, so that a plug-in that
// crashes, hangs or scribbles over memory takes only this process down, never the editor.
// The verbs and the one-line answers are described in plugins/host_protocol.h.
#include "plugins/host_protocol.h"
#include "plugins/sdk/orvane_plugin.h"
#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

int gReplyChannel = -1;

// Writes the answer on the channel kept for it and ends the process at once: whatever the
// plug-in left behind (static destructors, threads) cannot spoil an answer already given.
[[noreturn]] void Answer(const QByteArray& line)
{
    std::fflush(nullptr);
    const char* data = line.constData();
    qsizetype left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(gReplyChannel, data, size_t(left));
        if (n <= 0) _exit(2);
        data += n;
        left -= n;
    }
    _exit(0);
}

// The library's call table, or none when it cannot be loaded, has no table or was built
// for another interface version.
const OrvanePlugInInterface* LoadLibrary(const char* path)
{
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "orvane-plugin-host: %s\n", dlerror());
        return nullptr;
    }
    using Entry = const OrvanePlugInInterface* (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "orvane_plugin_interface"));
    const OrvanePlugInInterface* table = entry ? entry() : nullptr;
    if (!table || table->api_version != ORVANE_PLUGIN_API_VERSION || !table->create || !table->getname
        || !table->DisplayForm || !table->release) {
        std::fprintf(stderr, "orvane-plugin-host: %s is not an Orvane plug-in of interface version %d\n", path,
                     ORVANE_PLUGIN_API_VERSION);
        return nullptr;
    }
    return table;
}

// Keeps the plug-in's own windows (those without a parent) above the editor's frame, whose
// native window the editor names: a click on the disabled frame must not hide them.
class KeepAboveOwner : public QObject {
public:
    explicit KeepAboveOwner(QWindow* owner) : owner_(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The show event comes before the window is mapped, so the window manager learns of
        // its owner from the start.
        if (event->type() == QEvent::Show)
            if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && !w->parentWidget() && w->windowHandle())
                w->windowHandle()->setTransientParent(owner_);
        return false;
    }

private:
    QWindow* owner_;
};

} // namespace

int main(int argc, char** argv)
{
    // The answer gets the real standard output to itself; anything the plug-in prints there
    // goes to standard error instead.
    gReplyChannel = dup(STDOUT_FILENO);
    if (gReplyChannel < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) return 2;
    fcntl(gReplyChannel, F_SETFD, FD_CLOEXEC);

    if (argc < 3) {
        std::fprintf(stderr, "usage: orvane-plugin-host name|register|run <library> [<class> [<file>]]\n");
        return 2;
    }
    const char* verb = argv[1];
    const char* library = argv[2];

    if (std::strcmp(verb, orv::host_verb::kRegister) == 0) {
        if (const OrvanePlugInInterface* table = LoadLibrary(library); table && table->register_library)
            table->register_library(library);
        Answer(orv::HostRegisteredReply());
    }

    const bool run = std::strcmp(verb, orv::host_verb::kRun) == 0;
    if (!(run && (argc == 5 || argc == 6)) && !(std::strcmp(verb, orv::host_verb::kName) == 0 && argc == 4)) return 2;

    // A plug-in's window needs an application object before its library sets anything up.
    int appArgc = 1;
    std::unique_ptr<QApplication> app;
    std::unique_ptr<KeepAboveOwner> keepAbove;
    if (run) app = std::make_unique<QApplication>(appArgc, argv);
    if (run && argc == 6 && QGuiApplication::platformName() == QLatin1String("xcb"))
        if (QWindow* owner = QWindow::fromWinId(WId(std::strtoull(argv[5], nullptr, 10)))) {
            keepAbove = std::make_unique<KeepAboveOwner>(owner);
            app->installEventFilter(keepAbove.get());
        }

    const OrvanePlugInInterface* table = LoadLibrary(library);
    void* object = table ? table->create(argv[3]) : nullptr;
    if (!object) Answer(orv::HostNotCreatedReply());
    if (run) {
        const int result = table->DisplayForm(object, argv[4]);
        table->release(object);
        Answer(orv::HostResultReply(result));
    }
    const char* name = table->getname(object);
    const QByteArray copy = name ? QByteArray(name) : QByteArray();
    table->release(object);
    Answer(orv::HostNameReply(copy));
}
