#include "example_window.h"
#include "orvane_plugin.h"
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace orvane_example {

int RunExampleWindow(const char* path, const QString& title,
                     const std::function<QWidget*(QWidget* parent, std::function<void()> changed)>& makeControl,
                     const std::function<void(QImage& picture)>& apply)
{
    const QString file = QString::fromUtf8(path);
    QImage picture(file);
    if (picture.isNull()) return ORVANE_PLUGIN_FALSE;
    picture = picture.convertToFormat(QImage::Format_RGB32);
    const QImage thumbnail = picture.width() > 320 || picture.height() > 240
                                 ? picture.scaled(320, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                 : picture;

    QDialog dialog;
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* preview = new QLabel(&dialog);
    preview->setAccessibleName(QStringLiteral("Preview"));
    preview->setAlignment(Qt::AlignCenter);
    preview->setMinimumSize(thumbnail.size());
    layout->addWidget(preview);
    const auto showPreview = [&] {
        QImage shown = thumbnail;
        apply(shown);
        preview->setPixmap(QPixmap::fromImage(shown));
    };
    layout->addWidget(makeControl(&dialog, showPreview));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    showPreview();
    if (dialog.exec() != QDialog::Accepted) return ORVANE_PLUGIN_FALSE;

    apply(picture);
    QSaveFile out(file);   // the editor never sees a half-written result
    if (!out.open(QIODevice::WriteOnly) || !picture.save(&out, "BMP") || !out.commit()) return ORVANE_PLUGIN_FALSE;
    return ORVANE_PLUGIN_TRUE;
}

} // namespace orvane_example
