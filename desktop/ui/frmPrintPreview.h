#pragma once
// File > Print Preview: the page as Print will make it with the page setup of this run, made by
// the same page layout, shown whole in the window. "Page Setup..." changes the setup and shows
// the page again; "Print..." closes the preview and prints.
#include <QDialog>
#include <QImage>

class QPushButton;

namespace orv {

class frmPrintPreview : public QDialog {
    Q_OBJECT
public:
    // done() with this result: the user chose Print.
    static constexpr int kPrintChosen = 2;
    // Pages are drawn at the screen's 96 pixels to the inch: the picture shows at its size.
    static constexpr double kPreviewDpi = 96;

    frmPrintPreview(const QImage& picture, QWidget* owner);

    QWidget* Picture1 = nullptr;       // the page
    QPushButton* Command1 = nullptr;   // Print...
    QPushButton* Command2 = nullptr;   // Page Setup...
    QPushButton* Command3 = nullptr;   // Close

    const QImage& pageImage() const { return page_; }

private:
    void showPage();
    void Command2_Click();

    QImage picture_;
    QImage page_;
};

} // namespace orv
