#include "internet/ui/frmOpenURL.h"
#include "internet/image_references.h"
#include "internet/transfer_texts.h"
#include "platform/background_call.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include "shell/settings_store.h"
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStatusBar>

namespace orv {

namespace {

const char* const kWorkFiles[] = {"Bitmap.tmp", "Site.tmp", "Download.tmp"};

// Writes the parts one after the other to the work file `name`.
bool WriteWorkFile(const QString& name, std::initializer_list<QByteArrayView> parts, QString* error)
{
    const QString path = WorkFile(name);
    if (!CreateWorkFile(path, error)) return false;
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    for (QByteArrayView part : parts) ok = ok && file.write(part.data(), part.size()) == part.size();
    if (ok && file.commit()) return true;
    *error = QStringLiteral("Cannot write \"%1\": %2.").arg(file.fileName(), file.errorString());
    return false;
}

// Writes a fetched page's text to "Site.tmp" followed by a line end and lists the picture
// references read back from it in place. Runs on a worker thread, so it touches no widget.
QString ReadPage(const QByteArray& body, const std::atomic<bool>& cancel, PictureReferenceList* found)
{
    QString error;
    const QByteArray text = BodyUtf8(body);
    if (!WriteWorkFile(QStringLiteral("Site.tmp"), {text, "\n"}, &error)) return error;
    QFile site(WorkFile(QStringLiteral("Site.tmp")));
    const uchar* mapped = site.open(QIODevice::ReadOnly) ? site.map(0, site.size()) : nullptr;
    if (!mapped) return QStringLiteral("Cannot read \"%1\": %2.").arg(site.fileName(), site.errorString());
    *found = PictureReferences(QByteArrayView(mapped, site.size()), cancel);
    return {};
}

} // namespace

frmOpenURL::frmOpenURL(std::function<void(const QString&)> openFile, QWidget* parent)
    : CancellableDialog(parent), openFile_(std::move(openFile))
{
    setObjectName(QStringLiteral("frmOpenURL"));
    setWindowTitle(QStringLiteral("Open URL"));
    setModal(true);

    txtURL = new QLineEdit(QStringLiteral("http://"), this);
    txtURL->setAccessibleName(QStringLiteral("Address"));
    Command2 = new QPushButton(QStringLiteral("Load"), this);
    Command2->setAccessibleName(QStringLiteral("Load"));
    List1 = new QListWidget(this);
    List1->setAccessibleName(QStringLiteral("Pictures on the page"));
    List1->setUniformItemSizes(true);
    Picture1 = new QLabel(this);
    Picture1->setAccessibleName(QStringLiteral("Preview"));
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setMinimumSize(240, 180);
    Picture1->hide();
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setAccessibleName(QStringLiteral("OK"));
    Command1->setDefault(true);
    Command3 = new QPushButton(QStringLiteral("Cancel"), this);
    Command3->setAccessibleName(QStringLiteral("Cancel"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setAccessibleName(QStringLiteral("Transfer state"));
    StatusBar1->setSizeGripEnabled(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(txtURL, 0, 0, 1, 2);
    grid->addWidget(Command2, 0, 2);
    grid->addWidget(List1, 1, 0, 1, 3);
    grid->addWidget(Picture1, 2, 0, 1, 3);
    grid->addWidget(Command1, 3, 1);
    grid->addWidget(Command3, 3, 2);
    grid->addWidget(StatusBar1, 4, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    resize(420, 320);

    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command1, &QPushButton::clicked, this, &frmOpenURL::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    connect(List1, &QListWidget::itemDoubleClicked, this, &frmOpenURL::List1_DblClick);
    connect(txtURL, &QLineEdit::textChanged, this, [this] { Fetched = false; });

    DeleteWorkFiles();
}

void frmOpenURL::DeleteWorkFiles()
{
    for (const char* name : kWorkFiles) RemoveWorkFile(WorkFile(QString::fromLatin1(name)));
}

void frmOpenURL::closing()
{
    DeleteWorkFiles();
}

void frmOpenURL::complain(const QString& message)
{
    // Messages quote addresses taken from pages: shown as they stand, never as markup.
    QMessageBox box(QMessageBox::Warning, kAppTitle, message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void frmOpenURL::Inet1_StateChanged(TransferState state)
{
    const QString text = TransferStateText(state);
    if (!text.isNull()) StatusBar1->showMessage(text);
}

HttpResult frmOpenURL::fetch(const QString& address)
{
    HttpResult got;
    runCancellable([&](const std::atomic<bool>& cancel) {
        got = HttpGet(address, [this](TransferState s) { Inet1_StateChanged(s); }, cancel);
    }, {txtURL, Command2, List1, Command1});
    return got;
}

bool frmOpenURL::Command2_Click()
{
    QString error;
    const QString typed = txtURL->text();
    const QString address = WebAddress(typed, &error);
    if (address.isEmpty()) {
        complain(error);
        return false;
    }
    return IsPictureAddress(address) ? loadPicture(address) : loadPage(address);
}

bool frmOpenURL::loadPicture(const QString& address)
{
    Picture1->show();
    List1->hide();
    const HttpResult got = fetch(address);
    if (got.cancelled) return false;
    return takePicture(address, got);
}

bool frmOpenURL::takePicture(const QString& address, const HttpResult& got)
{
    Picture1->show();
    List1->hide();
    QString error = got.error;
    if (error.isEmpty() && WriteWorkFile(QStringLiteral("Bitmap.tmp"), {got.body}, &error)) {
        // The picture's own content decides how it is read, whatever the address's ending.
        const DecodedPicture picture = DecodePictureFile(WorkFile(QStringLiteral("Bitmap.tmp")));
        if (picture.ok()) {
            Picture1->setPixmap(QPixmap::fromImage(picture.image.scaled(
                Picture1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
            Fetched = true;
            LastURL = txtURL->text();
            return true;
        }
        error = QString(picture.error).replace(WorkFile(QStringLiteral("Bitmap.tmp")), address);
        RemoveWorkFile(WorkFile(QStringLiteral("Bitmap.tmp")));
    }
    Picture1->clear();
    complain(error);
    return false;
}

bool frmOpenURL::loadPage(const QString& address)
{
    List1->show();
    List1->clear();
    Picture1->hide();
    const HttpResult got = fetch(address);
    if (got.cancelled) return false;
    // An address that names a picture by another ending (".bmp", or none) brings the picture
    // itself rather than a page: it is previewed, and OK opens it.
    if (got.ok() && !PictureFormatOf(got.body).isEmpty()) return takePicture(address, got);
    QString error = got.error;
    PictureReferenceList found;
    // A large page takes a while to read: the dialog stays painted and Cancel answers meanwhile.
    if (error.isEmpty()
        && !runCancellable([&](const std::atomic<bool>& cancel) {
               RunWhileProcessingEvents([&] { error = ReadPage(got.body, cancel, &found); });
           }, {txtURL, Command2, List1, Command1}))
        return false;
    if (!error.isEmpty()) {
        complain(error);
        return false;
    }
    List1->addItems(found.references);
    if (found.more)
        StatusBar1->showMessage(QStringLiteral("Finished: only the first %1 pictures of the page are listed.")
                                    .arg(kMaxListedReferences));
    pageAddress_ = address;
    return true;
}

void frmOpenURL::List1_DblClick()
{
    const QListWidgetItem* item = List1->currentItem();
    if (!item) return;
    txtURL->setText(ResolveReference(pageAddress_, item->text()));
    Command2_Click();
}

void frmOpenURL::Command1_Click()
{
    if ((txtURL->text() != LastURL || !Fetched) && !Command2_Click()) return;
    hide();
    const QString fetched = WorkFile(QStringLiteral("Bitmap.tmp"));
    // Only the picture at the address shown is opened, never one fetched earlier.
    if (Fetched && QFile::exists(fetched)) {
        const QString named = WorkFile(QStringLiteral("Bitmap.jpg"));
        RemoveWorkFile(named);
        if (QFile::rename(fetched, named)) {
            openFile_(named);
            RemoveWorkFile(named);
        } else {
            complain(QStringLiteral("Cannot rename \"%1\" to \"%2\".").arg(fetched, named));
        }
    }
    accept();
}

} // namespace orv
