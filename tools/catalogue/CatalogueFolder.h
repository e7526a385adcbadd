#pragma once

#include <QString>
#include <optional>

// The folder a catalogue is served from: DIR/<keywords>/page-<n>.xml (with an optional
// page-<n>.fault beside it) and DIR/images/NAME. Every lookup answers only with an
// existing regular file whose real path lies inside DIR, so request text can never reach
// a file elsewhere (no "..", no symbolic link leading out).
class CatalogueFolder {
public:
    explicit CatalogueFolder(const QString &root);

    // False when the root is missing or not a directory.
    bool exists() const;

    // The answer page for the received "Keywords" and "ItemPage" values; every "/" in the
    // keywords becomes "_". The page must be a plain positive decimal number.
    std::optional<QString> pageFile(const QString &keywords, const QString &page) const;
    std::optional<QString> faultFile(const QString &keywords, const QString &page) const;

    // A picture below DIR/images, by its plain file name.
    std::optional<QString> imageFile(const QString &name) const;

    static QString folderNameForKeywords(const QString &keywords);

private:
    std::optional<QString> pageSibling(const QString &keywords, const QString &page, const QString &suffix) const;
    std::optional<QString> fileInside(const QString &relativePath) const;

    QString m_root;  // canonical path, empty when the root does not exist
};
