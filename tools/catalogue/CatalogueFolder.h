#pragma once

#include <QString>
#include <optional>

// The folder a catalogue is served from. An answer is named by its path below DIR without
// a suffix (its "stem"): DIR/<stem>.xml holds it and an optional DIR/<stem>.fault beside it
// makes it misbehave. Stems:
//   storefront pages        <keywords>/page-<n>
//   MusicBrainz searches    musicbrainz/search/<keywords>
//   MusicBrainz lookups     musicbrainz/release/<MBID>
//   Cover Art Archive       coverart/<MBID>  (the picture is <stem>.jpg or <stem>.png)
// Pictures are served from DIR/images/NAME and DIR/coverart/NAME. Every lookup answers only
// with an existing regular file whose real path lies inside DIR, so request text can never
// reach a file elsewhere (no "..", no symbolic link leading out).
class CatalogueFolder {
public:
    explicit CatalogueFolder(const QString &root);

    // False when the root is missing or not a directory.
    bool exists() const;

    // Stems for request values; nothing when the values cannot name a file inside DIR.
    // Every "/" in keywords becomes "_"; a page must be a plain positive decimal number.
    static std::optional<QString> pageStem(const QString &keywords, const QString &page);
    static std::optional<QString> musicBrainzSearchStem(const QString &keywords);
    // The identifier must be a plain UUID (see isMbid).
    static std::optional<QString> musicBrainzReleaseStem(const QString &mbid);
    static std::optional<QString> coverArtStem(const QString &mbid);

    // 36 characters: hexadecimal digits in groups of 8-4-4-4-12 joined by "-".
    static bool isMbid(const QString &text);

    // DIR/<stem><suffix>, e.g. answerFile(stem, ".xml").
    std::optional<QString> answerFile(const std::optional<QString> &stem, const QString &suffix) const;

    // A picture below DIR/images or DIR/coverart, by its plain file name.
    std::optional<QString> imageFile(const QString &name) const;
    std::optional<QString> coverArtImageFile(const QString &name) const;

    static QString folderNameForKeywords(const QString &keywords);

private:
    std::optional<QString> fileInside(const QString &relativePath) const;

    QString m_root;  // canonical path, empty when the root does not exist
};
