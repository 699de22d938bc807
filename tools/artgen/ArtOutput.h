#pragma once
// Where the generator writes: files are rewritten only when their bytes change, and every
// resource is listed once in the resource list.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

class ArtOutput {
public:
    ArtOutput(const QString &artDir, const QString &runDir);

    // A picture compiled in under ":/<alias>" (for example "tifb/Tarvan.ico").
    void addResourceImage(const QString &alias, const QImage &image, const char *format = "PNG");
    // A file of the run folder (sounds, sample maps), also compiled in when `alsoResource`.
    void addRunFile(const QString &relativePath, const QByteArray &bytes, bool alsoResource = false);
    // A picture for people to look at (art/preview/...): neither compiled in nor listed.
    void addPreviewImage(const QString &relativePath, const QImage &image);
    // Writes the resource list and the manifest; the manifest changes only when a file did.
    bool finish();

private:
    void writeIfChanged(const QString &path, const QByteArray &bytes);

    QString artDir_;
    QString runDir_;
    QStringList qrcEntries_;
    bool changed_ = false;
};
