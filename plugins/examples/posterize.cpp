// Posterize: each colour channel keeps only a few evenly spaced levels (2 to 16).
#include "example_window.h"
#include "orvane_plugin.h"
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <cstring>

namespace {

struct Posterize {
    int levels = 4;
};

// Channel value v (0-255) moved to the nearest of `levels` levels spread over 0-255.
uchar Level(int v, int levels)
{
    const int step = (v * (levels - 1) + 127) / 255;
    return uchar((step * 255 + (levels - 1) / 2) / (levels - 1));
}

void Apply(QImage& picture, int levels)
{
    uchar table[256];
    for (int v = 0; v < 256; ++v) table[v] = Level(v, levels);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            row[x] = qRgb(table[qRed(row[x])], table[qGreen(row[x])], table[qBlue(row[x])]);
    }
}

void* Create(const char* className)
{
    return std::strcmp(className, "Posterize.PlugInClass") == 0 ? new Posterize : nullptr;
}

const char* GetName(void*)
{
    return "Posterize...";
}

int DisplayForm(void* object, const char* path)
{
    auto* self = static_cast<Posterize*>(object);
    return orvane_example::RunExampleWindow(
        path, QStringLiteral("Posterize"),
        [self](QWidget* parent, std::function<void()> changed) {
            auto* box = new QWidget(parent);
            auto* layout = new QVBoxLayout(box);
            auto* label = new QLabel(box);
            auto* slider = new QSlider(Qt::Horizontal, box);
            slider->setAccessibleName(QStringLiteral("Levels per channel"));
            slider->setRange(2, 16);
            slider->setValue(self->levels);
            label->setText(QStringLiteral("Levels per channel: %1").arg(self->levels));
            QObject::connect(slider, &QSlider::valueChanged, box, [self, label, changed](int v) {
                self->levels = v;
                label->setText(QStringLiteral("Levels per channel: %1").arg(v));
                changed();
            });
            layout->addWidget(label);
            layout->addWidget(slider);
            return box;
        },
        [self](QImage& picture) { Apply(picture, self->levels); });
}

void Release(void* object)
{
    delete static_cast<Posterize*>(object);
}

const OrvanePlugInInterface kInterface = {ORVANE_PLUGIN_API_VERSION, Create, GetName, DisplayForm, Release, nullptr};

} // namespace

extern "C" ORVANE_PLUGIN_EXPORT const OrvanePlugInInterface* orvane_plugin_interface(void)
{
    return &kInterface;
}
