#include "desktop/ui/frmPrintPreview.h"
#include "desktop/print_page.h"
#include "desktop/ui/frmPageSetup.h"
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

// The page scaled to fit, on a grey desk, with a thin edge round the sheet.
class PageView : public QWidget {
public:
    PageView(const QImage* page, QWidget* parent) : QWidget(parent), page_(page)
    {
        setObjectName(QStringLiteral("Picture1"));
        setAccessibleName(QStringLiteral("Page"));
        setFocusPolicy(Qt::StrongFocus);   // a screen reader reaches it with Tab
        setMinimumSize(200, 200);
    }
    QSize sizeHint() const override { return {460, 600}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128));
        if (page_->isNull()) return;
        const QRectF room = QRectF(rect()).adjusted(12, 12, -12, -12);
        const QSizeF shown = QSizeF(page_->size()).scaled(room.size(), Qt::KeepAspectRatio);
        const QRectF sheet(room.center() - QPointF(shown.width() / 2, shown.height() / 2), shown);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(sheet, *page_);
        p.setPen(QColor(40, 40, 40));
        p.drawRect(sheet.adjusted(-0.5, -0.5, 0.5, 0.5));
    }

private:
    const QImage* page_;
};

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QString& accessible)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(accessible);
    return b;
}

} // namespace

frmPrintPreview::frmPrintPreview(const QImage& picture, QWidget* owner) : QDialog(owner), picture_(picture)
{
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    Picture1 = new PageView(&page_, this);
    layout->addWidget(Picture1, 1);
    auto* row = new QHBoxLayout;
    Command1 = Button(this, "Command1", QStringLiteral("&Print..."), QStringLiteral("Print"));
    Command2 = Button(this, "Command2", QStringLiteral("Page &Setup..."), QStringLiteral("Page Setup"));
    Command3 = Button(this, "Command3", QStringLiteral("Close"), QStringLiteral("Close"));
    Command3->setDefault(true);
    row->addWidget(Command1);
    row->addWidget(Command2);
    row->addStretch();
    row->addWidget(Command3);
    layout->addLayout(row);
    connect(Command1, &QPushButton::clicked, this, [this] { done(kPrintChosen); });
    connect(Command2, &QPushButton::clicked, this, &frmPrintPreview::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    showPage();
}

void frmPrintPreview::showPage()
{
    page_ = PrintPageImage(SessionPageLayout(), kPreviewDpi, picture_);
    Picture1->update();
}

void frmPrintPreview::Command2_Click()
{
    frmPageSetup setup(this);
    if (setup.exec() == QDialog::Accepted) showPage();
}

} // namespace orv
