#include "support/TemporaryCatalogue.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString folderFor(const QString &keywords)
{
    return QString(keywords).replace(u'/', u'_');
}

} // namespace

void TemporaryCatalogue::addPage(const QString &keywords, int page, const QByteArray &xml)
{
    addFile(folderFor(keywords) + QStringLiteral("/page-%1.xml").arg(page), xml);
}

void TemporaryCatalogue::addFault(const QString &keywords, int page, const QByteArray &fault)
{
    addFile(folderFor(keywords) + QStringLiteral("/page-%1.fault").arg(page), fault);
}

void TemporaryCatalogue::addImage(const QString &name, const QByteArray &bytes)
{
    addFile(QStringLiteral("images/") + name, bytes);
}

void TemporaryCatalogue::addJpeg(const QString &name, const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "JPG"));
    addImage(name, bytes);
}

void TemporaryCatalogue::addFile(const QString &relativePath, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(relativePath);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}
