#include "shell/ui/frmSplash.h"
#include "orvane_version.h"
#include <QLabel>
#include <QVBoxLayout>

// The resource registration must be named outside any namespace.
static void RegisterProgramResources()
{
    Q_INIT_RESOURCE(orvane);
}

namespace orv {

void LoadProgramResources()
{
    static const bool loaded = (RegisterProgramResources(), true);
    (void)loaded;
}

QLabel* AddProgramHeading(QWidget* owner, QVBoxLayout* layout, qreal titleScale)
{
    auto* logo = new QLabel(owner);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setAccessibleName(QStringLiteral("Orvane logo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/orvane-logo.png")));
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);

    auto* title = new QLabel(QStringLiteral("Orvane 3.0"), owner);
    title->setObjectName(QStringLiteral("Label1"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * titleScale);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto* version = new QLabel(QStringLiteral("Raster image editor, version " ORVANE_VERSION_TEXT), owner);
    version->setObjectName(QStringLiteral("Label2"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    return version;
}

frmSplash::frmSplash(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    LoadProgramResources();
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("About Orvane 3.0"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    layout->setSpacing(10);

    AddProgramHeading(this, layout, 1.8);
    setStyleSheet(QStringLiteral("frmSplash { border: 1px solid #555; }"));
}

} // namespace orv
