#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

// An ItemSearch answer in the service's namespace around the given <Item> elements, with
// <TotalPages> when a total is given.
QByteArray itemSearchAnswer(const QStringList &items, const std::optional<QString> &totalPages = QStringLiteral("1"));

// An <Item> element with the ASIN and, when given, a LargeImage URL.
QString itemElement(const QString &asin, const QString &coverUrl = QString());

// A recorded answer of the service from tests/data/itemsearch/; empty when it cannot be read.
QByteArray recordedAnswer(const char *name);

// A picture of one colour in the given format ("PNG", "JPEG", "BMP").
QByteArray encodedPicture(int width, int height, const char *format);

// A catalogue folder for one test, removed afterwards: answer pages, fault files and
// pictures laid out the way tagwright-catalogue serves them.
class TemporaryCatalogue {
public:
    QString path() const { return m_dir.path(); }

    // DIR/<keywords with "/" as "_">/page-<page>.xml
    void addPage(const QString &keywords, int page, const QByteArray &xml) { addFile(pageFile(keywords, page, "xml"), xml); }
    // DIR/<keywords>/page-<page>.fault, e.g. "hang" or "status 500"
    void addFault(const QString &keywords, int page, const QByteArray &fault) { addFile(pageFile(keywords, page, "fault"), fault); }
    // DIR/images/<name>, served as {{base}}/images/<name>
    void addImage(const QString &name, const QByteArray &bytes) { addFile(QStringLiteral("images/") + name, bytes); }
    // Any file below DIR.
    void addFile(const QString &relativePath, const QByteArray &bytes);

private:
    static QString pageFile(const QString &keywords, int page, const char *suffix)
    {
        return QString(keywords).replace(u'/', u'_') + QStringLiteral("/page-%1.%2").arg(page).arg(QLatin1String(suffix));
    }
    QTemporaryDir m_dir;
};
