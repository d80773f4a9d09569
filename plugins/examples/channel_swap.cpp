// Channel swap: the red, green and blue channels trade places in one of five orders.
#include "example_window.h"
#include "orvane_plugin.h"
#include <QComboBox>
#include <cstring>

namespace {

struct Order {
    const char* caption;
    int from[3];   // for the new red, green and blue: which old channel (0 red, 1 green, 2 blue)
};

const Order kOrders[] = {
    {"Red and blue swapped (BGR)", {2, 1, 0}},
    {"Red and green swapped (GRB)", {1, 0, 2}},
    {"Green and blue swapped (RBG)", {0, 2, 1}},
    {"Rotated left (GBR)", {1, 2, 0}},
    {"Rotated right (BRG)", {2, 0, 1}},
};

struct ChannelSwap {
    int order = 0;
};

void Apply(QImage& picture, const Order& order)
{
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int old[3] = {qRed(row[x]), qGreen(row[x]), qBlue(row[x])};
            row[x] = qRgb(old[order.from[0]], old[order.from[1]], old[order.from[2]]);
        }
    }
}

void* Create(const char* className)
{
    return std::strcmp(className, "ChannelSwap.PlugInClass") == 0 ? new ChannelSwap : nullptr;
}

const char* GetName(void*)
{
    return "Channel swap...";
}

int DisplayForm(void* object, const char* path)
{
    auto* self = static_cast<ChannelSwap*>(object);
    return orvane_example::RunExampleWindow(
        path, QStringLiteral("Channel swap"),
        [self](QWidget* parent, std::function<void()> changed) {
            auto* orders = new QComboBox(parent);
            orders->setAccessibleName(QStringLiteral("Channel order"));
            for (const Order& o : kOrders) orders->addItem(QString::fromLatin1(o.caption));
            orders->setCurrentIndex(self->order);
            QObject::connect(orders, &QComboBox::currentIndexChanged, orders, [self, changed](int i) {
                self->order = i;
                changed();
            });
            return orders;
        },
        [self](QImage& picture) { Apply(picture, kOrders[self->order]); });
}

void Release(void* object)
{
    delete static_cast<ChannelSwap*>(object);
}

const OrvanePlugInInterface kInterface = {ORVANE_PLUGIN_API_VERSION, Create, GetName, DisplayForm, Release, nullptr};

} // namespace

extern "C" ORVANE_PLUGIN_EXPORT const OrvanePlugInInterface* orvane_plugin_interface(void)
{
    return &kInterface;
}
