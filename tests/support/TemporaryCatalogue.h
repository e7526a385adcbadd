#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

// A catalogue folder for one test, removed afterwards: answer pages, fault files and
// pictures laid out the way tagwright-catalogue serves them.
class TemporaryCatalogue {
public:
    QString path() const { return m_dir.path(); }

    // DIR/<keywords with "/" as "_">/page-<page>.xml
    void addPage(const QString &keywords, int page, const QByteArray &xml);
    // DIR/<keywords>/page-<page>.fault, e.g. "hang" or "status 500"
    void addFault(const QString &keywords, int page, const QByteArray &fault);
    // DIR/images/<name>, served as {{base}}/images/<name>
    void addImage(const QString &name, const QByteArray &bytes);
    void addJpeg(const QString &name, const QImage &image);
    // Any file below DIR.
    void addFile(const QString &relativePath, const QByteArray &bytes);

private:
    QTemporaryDir m_dir;
};
