#include "ArtOutput.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <cstdio>

ArtOutput::ArtOutput(const QString &artDir, const QString &runDir) : artDir_(artDir), runDir_(runDir)
{
    QDir().mkpath(artDir_);
    QDir().mkpath(runDir_);
}

void ArtOutput::writeIfChanged(const QString &path, const QByteArray &bytes)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return;
    existing.close();
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    changed_ = true;
}

namespace {

QByteArray encoded(const QString &name, const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        std::fprintf(stderr, "artgen: cannot encode %s: %s\n", qPrintable(name), qPrintable(writer.errorString()));
        std::exit(1);
    }
    return bytes;
}

} // namespace

void ArtOutput::addResourceImage(const QString &alias, const QImage &image, const char *format)
{
    writeIfChanged(QDir(artDir_).filePath(alias), encoded(alias, image, format));
    qrcEntries_.append(alias);
}

void ArtOutput::addPreviewImage(const QString &relativePath, const QImage &image)
{
    // Previews do not feed the resources, so they leave the manifest alone.
    const bool changedBefore = changed_;
    writeIfChanged(QDir(artDir_).filePath(QStringLiteral("preview/") + relativePath),
                   encoded(relativePath, image, "PNG"));
    changed_ = changedBefore;
}

void ArtOutput::addRunFile(const QString &relativePath, const QByteArray &bytes, bool alsoResource)
{
    writeIfChanged(QDir(runDir_).filePath(relativePath), bytes);
    if (alsoResource) {
        writeIfChanged(QDir(artDir_).filePath(relativePath), bytes);
        qrcEntries_.append(relativePath);
    }
}

bool ArtOutput::finish()
{
    QByteArray qrc = "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString &alias : qrcEntries_)
        qrc += "  <file>" + alias.toUtf8() + "</file>\n";
    qrc += "</qresource>\n</RCC>\n";
    writeIfChanged(QDir(artDir_).filePath("resources.qrc"), qrc);

    // The manifest names every file with its hash: it changes exactly when a file did.
    const QString manifestPath = QDir(artDir_).filePath("manifest.txt");
    if (changed_ || !QFileInfo::exists(manifestPath)) {
        QByteArray manifest;
        for (const QString &alias : qrcEntries_) {
            QFile f(QDir(artDir_).filePath(alias));
            f.open(QIODevice::ReadOnly);
            manifest += QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex()
                + ' ' + alias.toUtf8() + '\n';
        }
        QFile out(manifestPath);
        if (!out.open(QIODevice::WriteOnly))
            return false;
        out.write(manifest);
    }
    return true;
}
