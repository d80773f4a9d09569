#pragma once
// The pages of a printed PDF file as pictures, and where they are inked.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

namespace orv::test {

// The pages of `pdf`, at 96 dots per inch.
inline QList<QImage> PdfPages(const QString& pdf)
{
    const QString stem = pdf + QStringLiteral("-page");
    QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "96", "-png", pdf, stem});
    QList<QImage> pages;
    const QFileInfo info(stem);
    for (const QString& name : QDir(info.path()).entryList({info.fileName() + "*.png"}, QDir::Files, QDir::Name))
        pages << QImage(info.dir().filePath(name)).convertToFormat(QImage::Format_RGB32);
    return pages;
}

// The box of the pixels darker than `paper` (grey level).
inline QRect Inked(const QImage& page, int paper = 230)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < paper) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace orv::test
