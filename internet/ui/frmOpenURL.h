#pragma once
// The Open URL dialog: fetches a picture from a web address, or lists the pictures a web page
// refers to, and opens the fetched picture as a new document.
#include "platform/http_client.h"
#include "shell/ui/cancellable_dialog.h"
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;

namespace orv {

class frmOpenURL : public CancellableDialog {
    Q_OBJECT
public:
    // `openFile` opens a picture file as a new document.
    frmOpenURL(std::function<void(const QString& path)> openFile, QWidget* parent = nullptr);

    QLineEdit* txtURL = nullptr;
    QPushButton* Command2 = nullptr;   // Load
    QListWidget* List1 = nullptr;      // picture references of the page
    QLabel* Picture1 = nullptr;        // preview of a fetched picture
    QPushButton* Command1 = nullptr;   // OK
    QPushButton* Command3 = nullptr;   // Cancel
    QStatusBar* StatusBar1 = nullptr;

    QString LastURL;
    bool Fetched = false;

    // Load: fetches the typed address; false (after a message) when it failed.
    bool Command2_Click();
    void Command1_Click();
    void List1_DblClick();

private:
    void Inet1_StateChanged(TransferState state);
    HttpResult fetch(const QString& address);
    void DeleteWorkFiles();
    void closing() override;
    bool loadPicture(const QString& address);
    bool loadPage(const QString& address);
    // Keeps a fetched picture in "Bitmap.tmp" and previews it; false (after a message) when
    // the fetch failed or the bytes are no picture the program reads.
    bool takePicture(const QString& address, const HttpResult& got);
    void complain(const QString& message);

    std::function<void(const QString&)> openFile_;
    QString pageAddress_;   // the page the listed references were found on
};

} // namespace orv
