#include "support/TemporaryCatalogue.h"

#include "files/ImageEncoding.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QImage>
#include <gtest/gtest.h>

QByteArray itemSearchAnswer(const QStringList &items, const std::optional<QString> &totalPages)
{
    const QString total = totalPages ? QStringLiteral("<TotalPages>%1</TotalPages>").arg(*totalPages) : QString();
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                          "<ItemSearchResponse xmlns=\"http://webservices.amazon.com/AWSECommerceService/2011-08-01\">"
                          "<Items>%1%2</Items></ItemSearchResponse>")
        .arg(total, items.join(QString()))
        .toUtf8();
}

QString itemElement(const QString &asin, const QString &coverUrl)
{
    const QString cover = coverUrl.isNull() ? QString() : QStringLiteral("<LargeImage><URL>%1</URL></LargeImage>").arg(coverUrl);
    return QStringLiteral("<Item><ASIN>%1</ASIN>%2</Item>").arg(asin, cover);
}

QByteArray recordedAnswer(const char *name)
{
    return readBytes(testDataDir() + QStringLiteral("/itemsearch/") + QLatin1String(name));
}

QByteArray encodedPicture(int width, int height, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return encodedImage(image, format);
}

void TemporaryCatalogue::addFile(const QString &relativePath, const QByteArray &bytes)
{
    ASSERT_TRUE(writeBytes(m_dir.filePath(relativePath), bytes)) << relativePath.toStdString();
}
